#include "sim/DemoPerformer.h"

#include "device/ParamTable.h"

#include <gtest/gtest.h>

namespace
{
using Action = DemoPerformer::Action;
using Jack = VirtualStomplet::Jack;
using enum Action::Kind;
using enum Jack;
using enum VirtualStomplet::FootSwitch;

// Every action from `fromMs` to `untilMs` in 100 ms steps.
std::vector<Action> Play(DemoPerformer& performer, const VirtualStomplet::Settings& settings,
                         std::int64_t fromMs, std::int64_t untilMs)
{
    std::vector<Action> all;
    for (std::int64_t t = fromMs; t <= untilMs; t += 100)
    {
        const std::vector<Action> due = performer.Due(t, settings);
        all.insert(all.end(), due.begin(), due.end());
    }
    return all;
}
} // namespace

TEST(DemoPerformer, InItsHalfOfTheCycleASwitchJackTapsAThenBAndAPedalJackSweepsToToeAndBack)
{
    EXPECT_EQ(DemoPerformer::PedalPositionAt(1500), 127);

    VirtualStomplet::Settings settings = VirtualStomplet::FactorySettings();
    settings[kJack1Mode] = kJackModeSwitches;
    DemoPerformer performer;
    EXPECT_EQ(Play(performer, settings, 0, 3900), (std::vector<Action>{{kPress, k1, kA, 0},
                                                                       {kRelease, k1, kA, 0},
                                                                       {kPress, k1, kB, 0},
                                                                       {kRelease, k1, kB, 0}}));
    const std::vector<Action> sweep = Play(performer, settings, 4000, 7900);
    ASSERT_FALSE(sweep.empty());
    for (const Action& action : sweep)
        EXPECT_EQ(action.jack, k2);
    EXPECT_EQ(sweep.back(), (Action{kPedal, k2, kA, 0}));
    // Resting at the heel sends nothing more.
    EXPECT_TRUE(Play(performer, settings, 12000 + 3100, 12000 + 3900).empty());
}
