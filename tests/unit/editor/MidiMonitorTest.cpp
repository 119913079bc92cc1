#include "editor/MidiMonitor.h"

#include "ui/ControlTags.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace
{
MidiMessage Msg(int status, int data1 = 0, int data2 = 0)
{
    return {0, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1),
            static_cast<std::uint8_t>(data2)};
}
} // namespace

// Settings and what the slots last composed, plus a message from the box: the LCD texts.
TEST(MidiMonitor, SettingsAndAnIncomingMessageGiveTheLcdTexts)
{
    struct Case
    {
        const char* what;
        std::vector<std::pair<int, MidiMessage>> records; // slot: record
        std::vector<std::pair<int, int>> settings;
        MidiMessage message;
        std::vector<MonitorText> texts;
    };
    const int latching = kSwitchLatching;
    const int start = kSwitchFunctionStart;
    const Case cases[] = {
        {"pedal 1's own controller: value, and its lines rewritten",
         {{kSlotPedal1, Msg(0xB0, 0x0B)}},
         {},
         Msg(0xB0, 0x0B, 0x40),
         {{kCtrlTagJack1PedalValue, "64"},
          {kCtrlTagJack1PedalLine1, "CH 1 - CC 11"},
          {kCtrlTagJack1PedalLine2, "Expression Pedal"}}},
        {"another controller", {{kSlotPedal1, Msg(0xB0, 0x0B)}}, {}, Msg(0xB0, 0x07, 0x40), {}},
        {"another channel", {{kSlotPedal1, Msg(0xB0, 0x0B)}}, {}, Msg(0xB1, 0x0B, 0x40), {}},
        {"pitch bend shows its high byte",
         {{kSlotPedal2, Msg(0xE2)}},
         {},
         Msg(0xE2, 0x7F, 0x40),
         {{kCtrlTagJack2PedalValue, "64"},
          {kCtrlTagJack2PedalLine1, "CH 3 PITCH BEND"},
          {kCtrlTagJack2PedalLine2, ""}}},
        {"note on",
         {{kSlotSwitchA1, Msg(0x80, 0x3C)}},
         {},
         Msg(0x90, 0x3C, 0x7F),
         {{kCtrlTagJack1SwitchAValue, "ON"}}},
        {"any note at velocity 0 is on",
         {{kSlotSwitchA1, Msg(0x80, 0x3C)}},
         {},
         Msg(0x90, 0x11, 0x00),
         {{kCtrlTagJack1SwitchAValue, "ON"}}},
        {"note off",
         {{kSlotSwitchA1, Msg(0x80, 0x3C)}},
         {},
         Msg(0x80, 0x3C, 0x00),
         {{kCtrlTagJack1SwitchAValue, "OFF"}}},
        {"program",
         {{kSlotSwitchB2, Msg(0xC4)}},
         {},
         Msg(0xC4, 0x05),
         {{kCtrlTagJack2SwitchBValue, "5"}}},
        // Fresh records are zero and a Start switch records zeros: no claim on controller 0.
        {"no claim on controller 0", {}, {{kSwitchA1Function, start}}, Msg(0xB0, 0x00, 0x05), {}},
        {"a real pedal switch routes its controller to the other jack's pedal",
         {{kSlotSwitchB2, Msg(0, 0, 70)}},
         {{kSwitchB2Function, kSwitchFunctionPedal}},
         Msg(0xB5, 70, 0x21),
         {{kCtrlTagJack1PedalLine1, "CH 6 - CC 70"},
          {kCtrlTagJack1PedalLine2, "Sound Controller 1"}, // not cut
          {kCtrlTagJack1PedalValue, "33"}}},
        {"but only its own",
         {{kSlotSwitchB2, Msg(0, 0, 70)}},
         {{kSwitchB2Function, kSwitchFunctionPedal}},
         Msg(0xB5, 71, 0x21),
         {}},
        {"momentary stop shows no start",
         {},
         {{kSwitchA1Function, kSwitchFunctionStop}},
         Msg(0xFA),
         {}},
        {"latching start and stop switches",
         {},
         {{kSwitchA1Function, kSwitchFunctionStop},
          {kSwitchA1Operation, latching},
          {kSwitchB1Function, start},
          {kSwitchA2Function, start}},
         Msg(0xFA),
         {{kCtrlTagJack1SwitchAValue, "START"},
          {kCtrlTagJack2SwitchAValue, "START"},
          {kCtrlTagJack1SwitchBValue, "START"}}},
        {"stop",
         {},
         {{kSwitchA1Function, kSwitchFunctionStop}, {kSwitchA1Operation, latching}},
         Msg(0xFC),
         {{kCtrlTagJack1SwitchAValue, "STOP"}}},
    };
    for (const Case& c : cases)
    {
        SlotRecords records{};
        for (const auto& [slot, record] : c.records)
            records[static_cast<std::size_t>(slot)] = record;
        ParamValues values{};
        for (const auto& [idx, value] : c.settings)
            values[static_cast<std::size_t>(idx)] = value;
        EXPECT_EQ(MonitorTexts(c.message, records, values), c.texts) << c.what;
    }
}
