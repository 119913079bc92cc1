#include "ui/JackConfiguration.h"

#include "support/EditorBench.h"

#include <gtest/gtest.h>
#include <tuple>
#include <utility>
#include <vector>

namespace
{
using editor_bench::EditorBench;

// The screen built with every setting at 0; settings then change without going through the
// editor's change handling, so that only the rules under test act.
struct RuleBench : EditorBench
{
    void Set(int idx, int value)
    {
        editor.GetParam(idx)->Set(value);
        ApplyJackConfiguration(graphics, editor, idx);
    }
};
} // namespace

TEST(JackConfiguration, SettingsGreyOutWhatTheyLeaveUnused)
{
    // What the case shows, the settings applied in order, the states of bound controls after.
    using Case = std::tuple<const char*, std::vector<std::pair<int, int>>,
                            std::vector<std::pair<int, const char*>>>;
    const int special = kSwitchFunctionSpecialControl;
    const Case cases[] = {
        {"aftertouch and bend take no controller",
         {{kPedal1Mode, kPedalModeAftertouch}, {kPedal2Mode, kPedalModeBend}},
         {{kPedal1Controller, "disabled"}, {kPedal2Controller, "disabled"}}},
        {"control takes one again",
         {{kPedal1Mode, kPedalModeAftertouch}, {kPedal1Mode, kPedalModeControl}},
         {{kPedal1Controller, "enabled"}}},
        {"start sends on no channel or controller",
         {{kSwitchA1Function, kSwitchFunctionStart}},
         {{kSwitchA1Channel, "disabled"},
          {kSwitchA1Controller, "disabled"},
          {kSwitchB1Channel, "enabled"}}},
        {"nor does stop, until the switch sends notes",
         {{kSwitchA1Function, kSwitchFunctionStop}, {kSwitchA1Function, kSwitchFunctionNoteOnOff}},
         {{kSwitchA1Channel, "enabled"}}},
        {"no switch uses the special bounds",
         {},
         {{kSwitch1SpecialUpper, "disabled"}, {kSwitch2SpecialLower, "disabled"}}},
        {"a switch of jack 2 uses its jack's bounds",
         {{kSwitchB2Function, special}},
         {{kSwitch2SpecialUpper, "enabled"}, {kSwitch1SpecialLower, "disabled"}}},
        {"either switch of a jack keeps them",
         {{kSwitchB1Function, special}, {kSwitchA1Function, special}, {kSwitchA1Function, 0}},
         {{kSwitch1SpecialLower, "enabled"}}},
        {"until neither uses them",
         {{kSwitchB1Function, special}, {kSwitchB1Function, kSwitchFunctionPedal}},
         {{kSwitch1SpecialLower, "disabled"}, {kSwitch1SpecialUpper, "disabled"}}},
    };
    for (const auto& [what, settings, bound] : cases)
    {
        RuleBench bench;
        for (const auto& [idx, value] : settings)
            bench.Set(idx, value);
        for (const auto& [idx, state] : bound)
            EXPECT_EQ(bench.BoundState(idx), state) << what << ": setting " << idx;
    }
}

TEST(JackConfiguration, ApplyingEveryRuleDependsOnlyOnTheValuesAndOtherSettingsChangeNothing)
{
    RuleBench bench;
    bench.editor.GetParam(kJack1Mode)->Set(kJackModeSwitches);
    for (int idx : {-1, int(kJack1Polarity), int(kPedal1Controller), int(kSwitchA1Channel),
                    int(kNumParams), 500})
        ApplyJackConfiguration(bench.graphics, bench.editor, idx);
    EXPECT_EQ(bench.GroupState("jack1pedalcontrols"), "shown");

    bench.editor.GetParam(kSwitchA2Function)->Set(kSwitchFunctionControl);
    bench.editor.GetParam(kSwitchB2Function)->Set(kSwitchFunctionSpecialControl);
    bench.editor.GetParam(kJack2Mode)->Set(kJackModeSwitches);
    // Whatever the screen showed before.
    bench.graphics.ForAllControls([](IControl& control) { control.SetDisabled(true); });
    bench.graphics.HideGroup("jack2switchcontrols", true);

    ApplyJackConfiguration(bench.graphics, bench.editor);
    EXPECT_EQ(bench.BoundState(kSwitch2SpecialLower), "enabled");
    EXPECT_EQ(bench.BoundState(kSwitchA2Channel), "enabled");
    EXPECT_EQ(bench.BoundState(kSwitch1SpecialLower), "disabled");
    EXPECT_EQ(bench.GroupState("jack2switchcontrols"), "shown");
    EXPECT_EQ(bench.GroupState("jack1pedalcontrols"), "hidden");
}
