#include "editor/MidiMonitor.h"

#include "ui/ControlTags.h"

#include <gtest/gtest.h>

namespace midi_monitor_test
{
MidiMessage Msg(int status, int data1 = 0, int data2 = 0)
{
    return {0, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1),
            static_cast<std::uint8_t>(data2)};
}

using Texts = std::vector<MonitorText>;
} // namespace midi_monitor_test

using namespace midi_monitor_test;

TEST(MidiMonitor, PedalShowsItsOwnMessagesValueAndRewritesItsLines)
{
    SlotRecords records{};
    records[kSlotPedal1] = Msg(0xB0, 0x0B, 0x00);
    records[kSlotPedal2] = Msg(0xE2);
    const ParamValues values{};
    EXPECT_EQ(MonitorTexts(Msg(0xB0, 0x0B, 0x40), records, values),
              (Texts{{kCtrlTagJack1PedalValue, "64"},
                     {kCtrlTagJack1PedalLine1, "CH 1 - CC 11"},
                     {kCtrlTagJack1PedalLine2, "Expression Pedal"}}));
    EXPECT_TRUE(MonitorTexts(Msg(0xB0, 0x07, 0x40), records, values).empty()); // other controller
    EXPECT_TRUE(MonitorTexts(Msg(0xB1, 0x0B, 0x40), records, values).empty()); // other channel
    EXPECT_EQ(MonitorTexts(Msg(0xE2, 0x7F, 0x40), records, values),
              (Texts{{kCtrlTagJack2PedalValue, "64"},
                     {kCtrlTagJack2PedalLine1, "CH 3 PITCH BEND"},
                     {kCtrlTagJack2PedalLine2, ""}}));
}

TEST(MidiMonitor, SwitchesShowOnOffAndProgramOnTheirValueLine)
{
    SlotRecords records{};
    records[kSlotSwitchA1] = Msg(0x80, 0x3C, 0x00);
    records[kSlotSwitchB2] = Msg(0xC4);
    const ParamValues values{};
    const Texts on{{kCtrlTagJack1SwitchAValue, "ON"}};
    EXPECT_EQ(MonitorTexts(Msg(0x90, 0x3C, 0x7F), records, values), on);
    EXPECT_EQ(MonitorTexts(Msg(0x90, 0x11, 0x00), records, values), on); // any note, velocity 0
    EXPECT_EQ(MonitorTexts(Msg(0x80, 0x3C, 0x00), records, values),
              (Texts{{kCtrlTagJack1SwitchAValue, "OFF"}}));
    EXPECT_EQ(MonitorTexts(Msg(0xC4, 0x05), records, values),
              (Texts{{kCtrlTagJack2SwitchBValue, "5"}}));
}

TEST(MidiMonitor, OnlyARealPedalSwitchRoutesItsControllerToTheOtherJacksPedal)
{
    SlotRecords records{};
    ParamValues values{};
    // Fresh records are zero and a Start switch records zeros: no claim on controller 0.
    values[kSwitchA1Function] = kSwitchFunctionStart;
    EXPECT_TRUE(MonitorTexts(Msg(0xB0, 0x00, 0x05), records, values).empty());

    records[kSlotSwitchB2] = Msg(0, 0, 70);
    values[kSwitchB2Function] = kSwitchFunctionPedal;
    EXPECT_EQ(MonitorTexts(Msg(0xB5, 70, 0x21), records, values),
              (Texts{{kCtrlTagJack1PedalLine1, "CH 6 - CC 70"},
                     {kCtrlTagJack1PedalLine2, "Sound Controller 1"}, // not cut
                     {kCtrlTagJack1PedalValue, "33"}}));
}

TEST(MidiMonitor, TransportTextsFollowFunctionAndOperation)
{
    const SlotRecords records{};
    ParamValues values{};
    values[kSwitchA1Function] = kSwitchFunctionStop;
    EXPECT_TRUE(MonitorTexts(Msg(0xFA), records, values).empty()); // "Stop", momentary

    values[kSwitchA1Operation] = kSwitchLatching;
    values[kSwitchB1Function] = kSwitchFunctionStart;
    values[kSwitchA2Function] = kSwitchFunctionStart;
    EXPECT_EQ(MonitorTexts(Msg(0xFA), records, values),
              (Texts{{kCtrlTagJack1SwitchAValue, "START"},
                     {kCtrlTagJack2SwitchAValue, "START"},
                     {kCtrlTagJack1SwitchBValue, "START"}}));
    EXPECT_EQ(MonitorTexts(Msg(0xFC), records, values),
              (Texts{{kCtrlTagJack1SwitchAValue, "STOP"}}));
}
