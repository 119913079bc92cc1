#include "sim/BoxMidiRules.h"

#include "device/SysExMessages.h"
#include "sim/DemoPerformer.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;
using Jack = VirtualStomplet::Jack;
using FootSwitch = VirtualStomplet::FootSwitch;
using Setting = std::pair<int, int>;
using Action = DemoPerformer::Action;

// One step of the musician's foot (a pedal position, or a switch going down or up) and what the
// box sends for it.
using Step = std::pair<Action, std::vector<Bytes>>;

struct Case
{
    const char* what;
    std::vector<Setting> settings; // written to a factory box first
    std::vector<Step> steps;
};

using enum Jack;
using enum FootSwitch;
using enum Action::Kind;
constexpr int kSwitches = kJackModeSwitches;
} // namespace

TEST(BoxMidiRules, SettingsAndFootActionsGiveTheWireBytes)
{
    const Case cases[] = {
        {"factory pedals: expression on jack 1, volume on jack 2",
         {},
         {{{kPedal, k1, kA, 64}, {{0xB0, 0x0B, 0x40}}},
          {{kPedal, k2, kA, 10}, {{0xB0, 0x07, 0x0A}}}}},
        {"an unchanged output sends nothing until the settings change",
         {{kPedal1OutMaximum, 1}},
         {{{kPedal, k1, kA, 10}, {{0xB0, 0x0B, 0x00}}},
          {{kPedal, k1, kA, 20}, {}},
          {{kPedal, k1, kA, 100}, {{0xB0, 0x0B, 0x01}}}}},
        {"aftertouch on channel 16",
         {{kPedal2Mode, kPedalModeAftertouch}, {kPedal2Channel, 15}},
         {{{kPedal, k2, kA, 100}, {{0xDF, 0x64}}}}},
        {"pitch bend",
         {{kPedal1Mode, kPedalModeBend}},
         {{{kPedal, k1, kA, 127}, {{0xE0, 0x7F, 0x7F}}}}},
        {"a jack with switches sends no pedal and a pedal jack no switch",
         {{kJack1Mode, kSwitches}},
         {{{kPedal, k1, kA, 90}, {}}, {{kPress, k2, kA}, {}}}},
        {"momentary control: on at press, off at release, once per change",
         {{kJack1Mode, kSwitches}},
         {{{kPress, k1, kA}, {{0xB0, 80, 0x7F}}},
          {{kRelease, k1, kA}, {{0xB0, 80, 0x00}}},
          {{kRelease, k1, kA}, {}}}},
        {"latching note toggles on each press and ignores the release",
         {{kJack2Mode, kSwitches},
          {kSwitchA2Operation, kSwitchLatching},
          {kSwitchA2Function, kSwitchFunctionNoteOnOff},
          {kSwitchA2Channel, 9},
          {kSwitchA2Controller, 60}},
         {{{kPress, k2, kA}, {{0x99, 60, 0x7F}}},
          {{kRelease, k2, kA}, {}},
          {{kPress, k2, kA}, {{0x89, 60, 0x00}}}}},
        {"special control sends its own jack's bounds",
         {{kJack1Mode, kSwitches},
          {kSwitchB1Function, kSwitchFunctionSpecialControl},
          {kSwitch1SpecialLower, 20},
          {kSwitch1SpecialUpper, 100},
          {kSwitch2SpecialUpper, 5}},
         {{{kPress, k1, kB}, {{0xB0, 81, 100}}}, {{kRelease, k1, kB}, {{0xB0, 81, 20}}}}},
        {"start and stop act on every press, latching or not",
         {{kJack1Mode, kSwitches},
          {kSwitchA1Function, kSwitchFunctionStart},
          {kSwitchA1Operation, kSwitchLatching},
          {kSwitchB1Function, kSwitchFunctionStop}},
         {{{kPress, k1, kA}, {{0xFA}}},
          {{kRelease, k1, kA}, {}},
          {{kPress, k1, kA}, {{0xFA}}},
          {{kPress, k1, kB}, {{0xFC}}}}},
        {"program change on press only",
         {{kJack1Mode, kSwitches},
          {kSwitchB1Function, kSwitchFunctionProgramChange},
          {kSwitchB1Channel, 3},
          {kSwitchB1Controller, 42}},
         {{{kPress, k1, kB}, {{0xC3, 42}}}, {{kRelease, k1, kB}, {}}}},
        {"a pedal switch takes the other jack's pedal while on",
         {{kJack2Mode, kSwitches},
          {kSwitchB2Function, kSwitchFunctionPedal},
          {kSwitchB2Channel, 4},
          {kSwitchB2Controller, 4}},
         {{{kPress, k2, kB}, {}},
          {{kPedal, k1, kA, 70}, {{0xB4, 0x04, 70}}},
          {{kRelease, k2, kB}, {}},
          {{kPedal, k1, kA, 71}, {{0xB0, 0x0B, 71}}}}},
    };
    for (const Case& c : cases)
    {
        VirtualStomplet box;
        for (const auto& [idx, value] : c.settings)
            box.ReceiveSysEx(BuildSingleSetting(idx, value)->bytes, 0);
        int n = 0;
        for (const auto& [action, wire] : c.steps)
            EXPECT_EQ(DemoPerformer::Perform(box, {action}), wire) << c.what << ", step " << ++n;
    }
}

TEST(BoxMidiRules, ASettingsChangeOrResetRestartsThePedalAndLatchedSwitches)
{
    VirtualStomplet box;
    box.ReceiveSysEx(BuildSingleSetting(kPedal1OutMaximum, 1)->bytes, 0);
    box.SetPedalPosition(k1, 100);
    box.ReceiveSysEx(BuildSingleSetting(kPedal1Channel, 2)->bytes, 0);
    EXPECT_EQ(box.SetPedalPosition(k1, 100), (std::vector<Bytes>{{0xB2, 0x0B, 0x01}}));

    box.ReceiveSysEx(BuildSingleSetting(kJack1Mode, kJackModeSwitches)->bytes, 0);
    box.ReceiveSysEx(BuildSingleSetting(kSwitchA1Operation, kSwitchLatching)->bytes, 0);
    box.PressSwitch(k1, kA);
    ASSERT_TRUE(box.SwitchOn(k1, kA));
    box.ReceiveSysEx(BuildResetAllRequest().bytes, 0);
    EXPECT_FALSE(box.SwitchOn(k1, kA));
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
