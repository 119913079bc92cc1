#include "sim/DemoPerformer.h"

#include "device/ParamTable.h"

#include <gtest/gtest.h>

namespace demoperformer
{
using Action = DemoPerformer::Action;
using Jack = VirtualStomplet::Jack;
using FootSwitch = VirtualStomplet::FootSwitch;

// Every action from 0 to `untilMs` in 100 ms steps.
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
} // namespace demoperformer

using demoperformer::Action;
using demoperformer::FootSwitch;
using demoperformer::Jack;

TEST(DemoPerformer, APedalJackSweepsHeelToToeAndBackInItsHalfOfTheCycle)
{
    EXPECT_EQ(DemoPerformer::PedalPositionAt(1500), 127);
    EXPECT_EQ(DemoPerformer::PedalPositionAt(3000), 0);

    DemoPerformer performer;
    const VirtualStomplet::Settings pedals = VirtualStomplet::FactorySettings();
    const std::vector<Action> first = demoperformer::Play(performer, pedals, 0, 3900);
    ASSERT_FALSE(first.empty());
    for (const Action& action : first)
        EXPECT_EQ(action.jack, Jack::k1);
    EXPECT_EQ(first.back(), (Action{Action::Kind::kPedal, Jack::k1, FootSwitch::kA, 0}));
    const std::vector<Action> second = demoperformer::Play(performer, pedals, 4000, 7900);
    ASSERT_FALSE(second.empty());
    for (const Action& action : second)
        EXPECT_EQ(action.jack, Jack::k2);
    // Resting at the heel sends nothing more.
    EXPECT_TRUE(demoperformer::Play(performer, pedals, 8000 + 3100, 8000 + 3900).empty());
}

TEST(DemoPerformer, ASwitchJackTapsAThenBAndTheBoxSendsWhatItsSettingsSay)
{
    VirtualStomplet box;
    VirtualStomplet::Settings settings = box.CurrentSettings();
    settings[kJack1Mode] = kJackModeSwitches;
    std::vector<std::uint8_t> all(settings.begin(), settings.end());
    std::vector<std::uint8_t> message{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x03, 0x0A};
    message.insert(message.end(), all.begin(), all.end());
    message.push_back(0xF7);
    box.ReceiveSysEx(message, 0);

    DemoPerformer performer;
    const std::vector<Action> actions =
        demoperformer::Play(performer, box.CurrentSettings(), 0, 3900);
    ASSERT_EQ(actions.size(), 4u);
    EXPECT_EQ(actions[0], (Action{Action::Kind::kPress, Jack::k1, FootSwitch::kA, 0}));
    EXPECT_EQ(actions[1], (Action{Action::Kind::kRelease, Jack::k1, FootSwitch::kA, 0}));
    EXPECT_EQ(actions[2], (Action{Action::Kind::kPress, Jack::k1, FootSwitch::kB, 0}));
    EXPECT_EQ(actions[3], (Action{Action::Kind::kRelease, Jack::k1, FootSwitch::kB, 0}));
    // Factory switch A1: "Control" on controller 80, channel 1: on 7F, off 00.
    const auto sent = DemoPerformer::Perform(box, {actions[0], actions[1]});
    EXPECT_EQ(sent,
              (std::vector<VirtualStomplet::WireMessage>{{0xB0, 80, 0x7F}, {0xB0, 80, 0x00}}));
}
