#include "sim/BoxMidiRules.h"

#include "device/SysExMessages.h"
#include "sim/VirtualStomplet.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <utility>
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

TEST(PedalScaling, PositionMapsFromTheCalibrationToTheRangeRoundingHalfStepsAwayFromZero)
{
    struct Case
    {
        int position, calibrationLow, calibrationHigh, outMinimum, outMaximum;
        int expected;
    };
    const Case cases[] = {
        {5, 20, 100, 10, 90, 10}, // beyond the calibration ends: the range ends
        {127, 20, 100, 10, 90, 90}, {60, 20, 100, 10, 90, 50}, {1, 0, 2, 0, 1, 1}, // 0.5 -> 1
        {1, 0, 2, 10, 7, 8},      // inverted range: 10 - 1.5 -> 8
        {127, 127, 0, 0, 127, 0}, // reversed calibration
        {39, 40, 40, 5, 99, 5},   // equal calibration ends switch at that point
        {40, 40, 40, 5, 99, 99},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ScalePedalPosition(c.position, c.calibrationLow, c.calibrationHigh, c.outMinimum,
                                     c.outMaximum),
                  c.expected)
            << c.position << " in " << c.calibrationLow << ".." << c.calibrationHigh << " to "
            << c.outMinimum << ".." << c.outMaximum;
}

TEST(PitchBend, CentreIsNoBendAndEndsAreFullBend)
{
    const std::pair<int, int> cases[] = {{0, 0}, {64, 8192}, {127, 16383}, {32, 4096}};
    for (const auto& [value, bend] : cases)
        EXPECT_EQ(PitchBendFromValue(value), bend) << value;
}

TEST(VirtualStompletPedal, FactoryPedal1SendsExpressionOnChannel1)
{
    VirtualStomplet box;
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 64), One({0xB0, 0x0B, 0x40}));
    EXPECT_EQ(box.SetPedalPosition(Jack::k2, 10), One({0xB0, 0x07, 0x0A}));
}

TEST(VirtualStompletPedal, UnchangedOutputSendsNothingUntilTheSettingsChange)
{
    VirtualStomplet box;
    Write(box, kPedal1OutMaximum, 1); // output 0 to 1
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 10), One({0xB0, 0x0B, 0x00}));
    EXPECT_TRUE(box.SetPedalPosition(Jack::k1, 20).empty());
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 100), One({0xB0, 0x0B, 0x01}));
    EXPECT_TRUE(box.SetPedalPosition(Jack::k1, 100).empty());
    Write(box, kPedal1Channel, 2); // a settings change makes the pedal send again
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 100), One({0xB2, 0x0B, 0x01}));
}

TEST(VirtualStompletPedal, AftertouchAndBendModes)
{
    VirtualStomplet box;
    Write(box, kPedal2Mode, kPedalModeAftertouch);
    Write(box, kPedal2Channel, 15);
    EXPECT_EQ(box.SetPedalPosition(Jack::k2, 100), One({0xDF, 0x64}));

    Write(box, kPedal1Mode, kPedalModeBend);
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 127), One({0xE0, 0x7F, 0x7F}));
}

TEST(VirtualStompletPedal, JackWithSwitchesSendsNoPedalMessages)
{
    VirtualStomplet box;
    Write(box, kJack1Mode, kJackModeSwitches);
    EXPECT_TRUE(box.SetPedalPosition(Jack::k1, 90).empty());
}

TEST(VirtualStompletSwitch, MomentaryControlSendsOnPressAndOffReleaseOncePerChange)
{
    VirtualStomplet box;
    Write(box, kJack1Mode, kJackModeSwitches);
    EXPECT_EQ(box.PressSwitch(Jack::k1, FootSwitch::kA), One({0xB0, 80, 0x7F}));
    EXPECT_TRUE(box.SwitchOn(Jack::k1, FootSwitch::kA));
    EXPECT_EQ(box.ReleaseSwitch(Jack::k1, FootSwitch::kA), One({0xB0, 80, 0x00}));
    EXPECT_FALSE(box.SwitchOn(Jack::k1, FootSwitch::kA));

    EXPECT_TRUE(box.ReleaseSwitch(Jack::k1, FootSwitch::kA).empty()); // repeated: nothing
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
    box.ReleaseSwitch(Jack::k1, FootSwitch::kA);
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
