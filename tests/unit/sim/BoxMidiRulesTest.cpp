#include "sim/BoxMidiRules.h"

#include "device/SysExMessages.h"
#include "sim/VirtualStomplet.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;
using Sent = std::vector<VirtualStomplet::WireMessage>;
using Jack = VirtualStomplet::Jack;
using FootSwitch = VirtualStomplet::FootSwitch;

void Write(VirtualStomplet& box, int paramIdx, int value)
{
    box.ReceiveSysEx(BuildSingleSetting(paramIdx, value)->bytes, 0);
}

Sent One(const Bytes& msg)
{
    return Sent{msg};
}
} // namespace

TEST(PedalScaling, FullCalibrationAndRangeMapPositionToItself)
{
    for (int position : {0, 1, 63, 64, 126, 127})
        EXPECT_EQ(ScalePedalPosition(position, 0, 127, 0, 127), position);
}

TEST(PedalScaling, PositionsBeyondTheCalibrationEndsGiveTheRangeEnds)
{
    EXPECT_EQ(ScalePedalPosition(5, 20, 100, 10, 90), 10);
    EXPECT_EQ(ScalePedalPosition(20, 20, 100, 10, 90), 10);
    EXPECT_EQ(ScalePedalPosition(100, 20, 100, 10, 90), 90);
    EXPECT_EQ(ScalePedalPosition(127, 20, 100, 10, 90), 90);
    EXPECT_EQ(ScalePedalPosition(60, 20, 100, 10, 90), 50);
}

TEST(PedalScaling, HalfStepsRoundAwayFromZero)
{
    EXPECT_EQ(ScalePedalPosition(1, 0, 2, 0, 1), 1);  // 0.5 -> 1
    EXPECT_EQ(ScalePedalPosition(1, 0, 2, 1, 0), 0);  // 1 - 0.5 -> 0 (inverted range)
    EXPECT_EQ(ScalePedalPosition(1, 0, 2, 10, 7), 8); // 10 - 1.5 -> 8
}

TEST(PedalScaling, ReversedCalibrationAndInvertedRangeBothWork)
{
    EXPECT_EQ(ScalePedalPosition(127, 127, 0, 0, 127), 0);
    EXPECT_EQ(ScalePedalPosition(0, 127, 0, 0, 127), 127);
    EXPECT_EQ(ScalePedalPosition(127, 0, 127, 127, 0), 0);
    EXPECT_EQ(ScalePedalPosition(0, 0, 127, 127, 0), 127);
}

TEST(PedalScaling, EqualCalibrationEndsSwitchAtThatPoint)
{
    EXPECT_EQ(ScalePedalPosition(39, 40, 40, 5, 99), 5);
    EXPECT_EQ(ScalePedalPosition(40, 40, 40, 5, 99), 99);
}

TEST(PitchBend, CentreIsNoBendAndEndsAreFullBend)
{
    EXPECT_EQ(PitchBendFromValue(0), 0);
    EXPECT_EQ(PitchBendFromValue(64), 8192);
    EXPECT_EQ(PitchBendFromValue(127), 16383);
    EXPECT_EQ(PitchBendFromValue(32), 4096);
}

TEST(VirtualStompletPedal, FactoryPedal1SendsExpressionOnChannel1)
{
    VirtualStomplet box;
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 64), One({0xB0, 0x0B, 0x40}));
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 127), One({0xB0, 0x0B, 0x7F}));
    EXPECT_EQ(box.SetPedalPosition(Jack::k2, 10), One({0xB0, 0x07, 0x0A}));
}

TEST(VirtualStompletPedal, UnchangedOutputSendsNothing)
{
    VirtualStomplet box;
    Write(box, kPedal1OutMaximum, 1); // output 0 to 1
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 10), One({0xB0, 0x0B, 0x00}));
    EXPECT_TRUE(box.SetPedalPosition(Jack::k1, 20).empty());
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 100), One({0xB0, 0x0B, 0x01}));
    EXPECT_TRUE(box.SetPedalPosition(Jack::k1, 100).empty());
}

TEST(VirtualStompletPedal, SettingsChangeMakesThePedalSendAgain)
{
    VirtualStomplet box;
    box.SetPedalPosition(Jack::k1, 64);
    Write(box, kPedal1Channel, 2);
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 64), One({0xB2, 0x0B, 0x40}));
}

TEST(VirtualStompletPedal, AftertouchAndBendModes)
{
    VirtualStomplet box;
    Write(box, kPedal2Mode, kPedalModeAftertouch);
    Write(box, kPedal2Channel, 15);
    EXPECT_EQ(box.SetPedalPosition(Jack::k2, 100), One({0xDF, 0x64}));

    Write(box, kPedal1Mode, kPedalModeBend);
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 64), One({0xE0, 0x00, 0x40}));
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 127), One({0xE0, 0x7F, 0x7F}));
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 0), One({0xE0, 0x00, 0x00}));
}

TEST(VirtualStompletPedal, CalibrationAndOutputRangeScaleTheMessage)
{
    VirtualStomplet box;
    box.SetPedalPosition(Jack::k1, 20);
    box.ReceiveSysEx(BuildCalibrationRequest(kPedal1CalibrationLow)->bytes, 0);
    box.SetPedalPosition(Jack::k1, 100);
    box.ReceiveSysEx(BuildCalibrationRequest(kPedal1CalibrationHigh)->bytes, 0);
    Write(box, kPedal1OutMinimum, 10);
    Write(box, kPedal1OutMaximum, 90);
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 60), One({0xB0, 0x0B, 50}));
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 5), One({0xB0, 0x0B, 10}));
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 127), One({0xB0, 0x0B, 90}));
}

TEST(VirtualStompletPedal, JackWithSwitchesSendsNoPedalMessages)
{
    VirtualStomplet box;
    Write(box, kJack1Mode, kJackModeSwitches);
    EXPECT_TRUE(box.SetPedalPosition(Jack::k1, 90).empty());
    EXPECT_EQ(box.PedalPosition(Jack::k1), 90);
}

TEST(VirtualStompletSwitch, MomentaryControlSendsOnPressAndOffRelease)
{
    VirtualStomplet box;
    Write(box, kJack1Mode, kJackModeSwitches);
    EXPECT_EQ(box.PressSwitch(Jack::k1, FootSwitch::kA), One({0xB0, 80, 0x7F}));
    EXPECT_TRUE(box.SwitchOn(Jack::k1, FootSwitch::kA));
    EXPECT_EQ(box.ReleaseSwitch(Jack::k1, FootSwitch::kA), One({0xB0, 80, 0x00}));
    EXPECT_FALSE(box.SwitchOn(Jack::k1, FootSwitch::kA));
}

TEST(VirtualStompletSwitch, RepeatedPressOrReleaseChangesNothing)
{
    VirtualStomplet box;
    Write(box, kJack2Mode, kJackModeSwitches);
    EXPECT_TRUE(box.ReleaseSwitch(Jack::k2, FootSwitch::kB).empty());
    EXPECT_EQ(box.PressSwitch(Jack::k2, FootSwitch::kB).size(), 1u);
    EXPECT_TRUE(box.PressSwitch(Jack::k2, FootSwitch::kB).empty());
}

TEST(VirtualStompletSwitch, LatchingTogglesOnEachPressAndIgnoresRelease)
{
    VirtualStomplet box;
    Write(box, kJack2Mode, kJackModeSwitches);
    Write(box, kSwitchA2Operation, kSwitchLatching);
    Write(box, kSwitchA2Function, kSwitchFunctionNoteOnOff);
    Write(box, kSwitchA2Channel, 9);
    Write(box, kSwitchA2Controller, 60);
    EXPECT_EQ(box.PressSwitch(Jack::k2, FootSwitch::kA), One({0x99, 60, 0x7F}));
    EXPECT_TRUE(box.ReleaseSwitch(Jack::k2, FootSwitch::kA).empty());
    EXPECT_EQ(box.PressSwitch(Jack::k2, FootSwitch::kA), One({0x89, 60, 0x00}));
    EXPECT_TRUE(box.ReleaseSwitch(Jack::k2, FootSwitch::kA).empty());
    EXPECT_FALSE(box.SwitchOn(Jack::k2, FootSwitch::kA));
}

TEST(VirtualStompletSwitch, SpecialControlSendsTheJacksBounds)
{
    VirtualStomplet box;
    Write(box, kJack1Mode, kJackModeSwitches);
    Write(box, kSwitchB1Function, kSwitchFunctionSpecialControl);
    Write(box, kSwitch1SpecialLower, 20);
    Write(box, kSwitch1SpecialUpper, 100);
    Write(box, kSwitch2SpecialUpper, 5); // the other jack's bounds do not apply
    EXPECT_EQ(box.PressSwitch(Jack::k1, FootSwitch::kB), One({0xB0, 81, 100}));
    EXPECT_EQ(box.ReleaseSwitch(Jack::k1, FootSwitch::kB), One({0xB0, 81, 20}));
}

TEST(VirtualStompletSwitch, StartStopAndProgramChangeActOnEveryPress)
{
    VirtualStomplet box;
    Write(box, kJack1Mode, kJackModeSwitches);
    Write(box, kSwitchA1Function, kSwitchFunctionStart);
    Write(box, kSwitchA1Operation, kSwitchLatching);
    Write(box, kSwitchB1Function, kSwitchFunctionStop);
    EXPECT_EQ(box.PressSwitch(Jack::k1, FootSwitch::kA), One({0xFA}));
    EXPECT_TRUE(box.ReleaseSwitch(Jack::k1, FootSwitch::kA).empty());
    EXPECT_EQ(box.PressSwitch(Jack::k1, FootSwitch::kA), One({0xFA}));
    EXPECT_EQ(box.PressSwitch(Jack::k1, FootSwitch::kB), One({0xFC}));
    EXPECT_TRUE(box.ReleaseSwitch(Jack::k1, FootSwitch::kB).empty());

    Write(box, kSwitchB1Function, kSwitchFunctionProgramChange);
    Write(box, kSwitchB1Channel, 3);
    Write(box, kSwitchB1Controller, 42);
    EXPECT_EQ(box.PressSwitch(Jack::k1, FootSwitch::kB), One({0xC3, 42}));
    EXPECT_TRUE(box.ReleaseSwitch(Jack::k1, FootSwitch::kB).empty());
}

TEST(VirtualStompletSwitch, PedalFunctionRedirectsTheOtherJacksPedalWhileOn)
{
    VirtualStomplet box;
    Write(box, kJack2Mode, kJackModeSwitches);
    Write(box, kSwitchB2Function, kSwitchFunctionPedal);
    Write(box, kSwitchB2Channel, 4);
    Write(box, kSwitchB2Controller, 4);

    EXPECT_TRUE(box.PressSwitch(Jack::k2, FootSwitch::kB).empty());
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 70), One({0xB4, 0x04, 70}));
    EXPECT_TRUE(box.ReleaseSwitch(Jack::k2, FootSwitch::kB).empty());
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 71), One({0xB0, 0x0B, 71}));
}

TEST(VirtualStompletSwitch, JackWithAPedalIgnoresSwitchPresses)
{
    VirtualStomplet box;
    EXPECT_TRUE(box.PressSwitch(Jack::k1, FootSwitch::kA).empty());
    EXPECT_TRUE(box.ReleaseSwitch(Jack::k1, FootSwitch::kA).empty());
    EXPECT_FALSE(box.SwitchOn(Jack::k1, FootSwitch::kA));
}

TEST(VirtualStompletSwitch, ResetAllClearsLatchedSwitches)
{
    VirtualStomplet box;
    Write(box, kJack1Mode, kJackModeSwitches);
    Write(box, kSwitchA1Operation, kSwitchLatching);
    box.PressSwitch(Jack::k1, FootSwitch::kA);
    ASSERT_TRUE(box.SwitchOn(Jack::k1, FootSwitch::kA));
    box.ReceiveSysEx(BuildResetAllRequest().bytes, 0);
    EXPECT_FALSE(box.SwitchOn(Jack::k1, FootSwitch::kA));
}
