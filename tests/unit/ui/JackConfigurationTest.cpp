#include "ui/JackConfiguration.h"

#include "support/EditorBench.h"

#include <gtest/gtest.h>
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

TEST(JackConfiguration, SwitchesOnAJackSwapItsDisplayAndGreyOutItsPolarityOnly)
{
    RuleBench bench;
    bench.Set(kJack1Mode, kJackModeSwitches);
    EXPECT_EQ(bench.GroupState("jack1switchcontrols"), "shown");
    EXPECT_EQ(bench.GroupState("jack1pedalcontrols"), "hidden");
    EXPECT_EQ(bench.BoundState(kJack1Polarity), "disabled");
    EXPECT_EQ(bench.GroupState("jack2pedalcontrols"), "shown");

    bench.Set(kJack1Mode, kJackModePedal);
    EXPECT_EQ(bench.GroupState("jack1switchcontrols"), "hidden");
    EXPECT_EQ(bench.GroupState("jack1pedalcontrols"), "shown");
    EXPECT_EQ(bench.BoundState(kJack1Polarity), "enabled");
}

TEST(JackConfiguration, AftertouchOrBendGreysOutThePedalsControllerAndControlBringsItBack)
{
    RuleBench bench;
    bench.Set(kPedal1Mode, kPedalModeAftertouch);
    EXPECT_EQ(bench.BoundState(kPedal1Controller), "disabled");
    bench.Set(kPedal2Mode, kPedalModeBend);
    EXPECT_EQ(bench.BoundState(kPedal2Controller), "disabled");
    bench.Set(kPedal1Mode, kPedalModeControl);
    EXPECT_EQ(bench.BoundState(kPedal1Controller), "enabled");
}

TEST(JackConfiguration, StartOrStopGreysOutTheSwitchsChannelAndController)
{
    for (int function : {kSwitchFunctionStart, kSwitchFunctionStop})
    {
        RuleBench bench;
        bench.Set(kSwitchA1Function, function);
        EXPECT_EQ(bench.BoundState(kSwitchA1Channel), "disabled");
        EXPECT_EQ(bench.BoundState(kSwitchA1Controller), "disabled");
        EXPECT_EQ(bench.BoundState(kSwitchB1Channel), "enabled");
        bench.Set(kSwitchA1Function, kSwitchFunctionNoteOnOff);
        EXPECT_EQ(bench.BoundState(kSwitchA1Channel), "enabled");
    }
}

TEST(JackConfiguration, SpecialControlEnablesTheJacksBoundsWhileEitherSwitchUsesIt)
{
    RuleBench bench;
    // The first screen greys them out while no switch uses them.
    for (int idx :
         {kSwitch1SpecialLower, kSwitch1SpecialUpper, kSwitch2SpecialLower, kSwitch2SpecialUpper})
        EXPECT_EQ(bench.BoundState(idx), "disabled") << "setting " << idx;
    bench.Set(kSwitchB2Function, kSwitchFunctionSpecialControl);
    EXPECT_EQ(bench.BoundState(kSwitch2SpecialUpper), "enabled");
    EXPECT_EQ(bench.BoundState(kSwitch1SpecialLower), "disabled");

    bench.Set(kSwitchB1Function, kSwitchFunctionSpecialControl);
    bench.Set(kSwitchA1Function, kSwitchFunctionSpecialControl);
    bench.Set(kSwitchA1Function, kSwitchFunctionControl);
    EXPECT_EQ(bench.BoundState(kSwitch1SpecialLower), "enabled");
    bench.Set(kSwitchB1Function, kSwitchFunctionPedal);
    EXPECT_EQ(bench.BoundState(kSwitch1SpecialLower), "disabled");
    EXPECT_EQ(bench.BoundState(kSwitch1SpecialUpper), "disabled");
}

TEST(JackConfiguration, OtherSettingsAndIndicesOutsideTheTableChangeNothing)
{
    RuleBench bench;
    bench.editor.GetParam(kJack1Mode)->Set(kJackModeSwitches);
    for (int idx :
         std::vector<int>{-1, kJack1Polarity, kPedal1Controller, kSwitchA1Channel, kNumParams, 500})
        ApplyJackConfiguration(bench.graphics, bench.editor, idx);
    EXPECT_EQ(bench.GroupState("jack1pedalcontrols"), "shown");
}

TEST(JackConfiguration, ApplyingEveryRuleDependsOnlyOnTheValues)
{
    RuleBench bench;
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
}
