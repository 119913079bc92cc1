#include "sim/BoxMidiRules.h"

#include "device/SysExMessages.h"
#include "sim/VirtualStomplet.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;
using Jack = VirtualStomplet::Jack;
using FootSwitch = VirtualStomplet::FootSwitch;
using Setting = std::pair<int, int>;

// One step of the musician's foot: a pedal position, or a switch going down or up.
struct Step
{
    enum Kind
    {
        kPedal,
        kPress,
        kRelease,
    } kind;
    Jack jack;
    int positionOrSwitch; // 0..127, or 0 for switch A and 1 for switch B
    std::vector<Bytes> wire;
};

struct Case
{
    const char* what;
    std::vector<Setting> settings; // written to a factory box first
    std::vector<Step> steps;
};

constexpr Jack k1 = Jack::k1;
constexpr Jack k2 = Jack::k2;
constexpr int kSwitches = kJackModeSwitches;
} // namespace

TEST(BoxMidiRules, SettingsAndFootActionsGiveTheWireBytes)
{
    const Case cases[] = {
        {"factory pedals: expression on jack 1, volume on jack 2",
         {},
         {{Step::kPedal, k1, 64, {{0xB0, 0x0B, 0x40}}},
          {Step::kPedal, k2, 10, {{0xB0, 0x07, 0x0A}}}}},
        {"an unchanged output sends nothing until the settings change",
         {{kPedal1OutMaximum, 1}},
         {{Step::kPedal, k1, 10, {{0xB0, 0x0B, 0x00}}},
          {Step::kPedal, k1, 20, {}},
          {Step::kPedal, k1, 100, {{0xB0, 0x0B, 0x01}}},
          {Step::kPedal, k1, 100, {}}}},
        {"aftertouch on channel 16",
         {{kPedal2Mode, kPedalModeAftertouch}, {kPedal2Channel, 15}},
         {{Step::kPedal, k2, 100, {{0xDF, 0x64}}}}},
        {"pitch bend",
         {{kPedal1Mode, kPedalModeBend}},
         {{Step::kPedal, k1, 127, {{0xE0, 0x7F, 0x7F}}}}},
        {"a jack with switches sends no pedal and a pedal jack no switch",
         {{kJack1Mode, kSwitches}},
         {{Step::kPedal, k1, 90, {}}, {Step::kPress, k2, 0, {}}}},
        {"momentary control: on at press, off at release, once per change",
         {{kJack1Mode, kSwitches}},
         {{Step::kPress, k1, 0, {{0xB0, 80, 0x7F}}},
          {Step::kRelease, k1, 0, {{0xB0, 80, 0x00}}},
          {Step::kRelease, k1, 0, {}}}},
        {"latching note toggles on each press and ignores the release",
         {{kJack2Mode, kSwitches},
          {kSwitchA2Operation, kSwitchLatching},
          {kSwitchA2Function, kSwitchFunctionNoteOnOff},
          {kSwitchA2Channel, 9},
          {kSwitchA2Controller, 60}},
         {{Step::kPress, k2, 0, {{0x99, 60, 0x7F}}},
          {Step::kRelease, k2, 0, {}},
          {Step::kPress, k2, 0, {{0x89, 60, 0x00}}}}},
        {"special control sends its own jack's bounds",
         {{kJack1Mode, kSwitches},
          {kSwitchB1Function, kSwitchFunctionSpecialControl},
          {kSwitch1SpecialLower, 20},
          {kSwitch1SpecialUpper, 100},
          {kSwitch2SpecialUpper, 5}},
         {{Step::kPress, k1, 1, {{0xB0, 81, 100}}}, {Step::kRelease, k1, 1, {{0xB0, 81, 20}}}}},
        {"start and stop act on every press, latching or not",
         {{kJack1Mode, kSwitches},
          {kSwitchA1Function, kSwitchFunctionStart},
          {kSwitchA1Operation, kSwitchLatching},
          {kSwitchB1Function, kSwitchFunctionStop}},
         {{Step::kPress, k1, 0, {{0xFA}}},
          {Step::kRelease, k1, 0, {}},
          {Step::kPress, k1, 0, {{0xFA}}},
          {Step::kPress, k1, 1, {{0xFC}}},
          {Step::kRelease, k1, 1, {}}}},
        {"program change on press only",
         {{kJack1Mode, kSwitches},
          {kSwitchB1Function, kSwitchFunctionProgramChange},
          {kSwitchB1Channel, 3},
          {kSwitchB1Controller, 42}},
         {{Step::kPress, k1, 1, {{0xC3, 42}}}, {Step::kRelease, k1, 1, {}}}},
        {"a pedal switch takes the other jack's pedal while on",
         {{kJack2Mode, kSwitches},
          {kSwitchB2Function, kSwitchFunctionPedal},
          {kSwitchB2Channel, 4},
          {kSwitchB2Controller, 4}},
         {{Step::kPress, k2, 1, {}},
          {Step::kPedal, k1, 70, {{0xB4, 0x04, 70}}},
          {Step::kRelease, k2, 1, {}},
          {Step::kPedal, k1, 71, {{0xB0, 0x0B, 71}}}}},
    };
    for (const Case& c : cases)
    {
        VirtualStomplet box;
        for (const auto& [idx, value] : c.settings)
            box.ReceiveSysEx(BuildSingleSetting(idx, value)->bytes, 0);
        int n = 0;
        for (const Step& step : c.steps)
        {
            const FootSwitch which = step.positionOrSwitch ? FootSwitch::kB : FootSwitch::kA;
            const auto sent = step.kind == Step::kPedal
                                  ? box.SetPedalPosition(step.jack, step.positionOrSwitch)
                              : step.kind == Step::kPress ? box.PressSwitch(step.jack, which)
                                                          : box.ReleaseSwitch(step.jack, which);
            EXPECT_EQ(sent, step.wire) << c.what << ", step " << ++n;
        }
    }
}

TEST(BoxMidiRules, ASettingsChangeOrResetRestartsThePedalAndLatchedSwitches)
{
    VirtualStomplet box;
    box.ReceiveSysEx(BuildSingleSetting(kPedal1OutMaximum, 1)->bytes, 0);
    box.SetPedalPosition(Jack::k1, 100);
    box.ReceiveSysEx(BuildSingleSetting(kPedal1Channel, 2)->bytes, 0);
    EXPECT_EQ(box.SetPedalPosition(Jack::k1, 100), (std::vector<Bytes>{{0xB2, 0x0B, 0x01}}));

    box.ReceiveSysEx(BuildSingleSetting(kJack1Mode, kJackModeSwitches)->bytes, 0);
    box.ReceiveSysEx(BuildSingleSetting(kSwitchA1Operation, kSwitchLatching)->bytes, 0);
    box.PressSwitch(Jack::k1, FootSwitch::kA);
    ASSERT_TRUE(box.SwitchOn(Jack::k1, FootSwitch::kA));
    box.ReceiveSysEx(BuildResetAllRequest().bytes, 0);
    EXPECT_FALSE(box.SwitchOn(Jack::k1, FootSwitch::kA));
}

TEST(PedalScaling, PositionMapsFromTheCalibrationToTheRangeRoundingHalfStepsAwayFromZero)
{
    // position, calibration low, high, output minimum, maximum: expected
    const int cases[][6] = {
        {5, 20, 100, 10, 90, 10}, // beyond the calibration ends: the range ends
        {127, 20, 100, 10, 90, 90}, {60, 20, 100, 10, 90, 50}, {1, 0, 2, 0, 1, 1}, // 0.5 -> 1
        {1, 0, 2, 10, 7, 8},      // inverted range: 10 - 1.5 -> 8
        {127, 127, 0, 0, 127, 0}, // reversed calibration
        {39, 40, 40, 5, 99, 5},   // equal calibration ends switch at that point
        {40, 40, 40, 5, 99, 99},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ScalePedalPosition(c[0], c[1], c[2], c[3], c[4]), c[5]) << c[0] << " " << c[1];
    for (const auto& [value, bend] : {std::pair{0, 0}, {64, 8192}, {127, 16383}, {32, 4096}})
        EXPECT_EQ(PitchBendFromValue(value), bend) << value;
}
