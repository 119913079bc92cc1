#include "device/ControllerNames.h"
#include "editor/AssignmentSummary.h"

#include <gtest/gtest.h>
#include <string>

namespace summary_text_test
{
// A fresh editor's zeros with `settings` on top.
ParamValues With(std::initializer_list<std::pair<int, int>> settings)
{
    ParamValues values{};
    for (const auto& [idx, value] : settings)
        values[static_cast<std::size_t>(idx)] = value;
    return values;
}

MidiMessage Msg(int status, int data1, int data2)
{
    return {0, static_cast<std::uint8_t>(status), static_cast<std::uint8_t>(data1),
            static_cast<std::uint8_t>(data2)};
}

std::string Note(int note)
{
    return std::string(NoteName(note)) + std::to_string(NoteOctave(note));
}
} // namespace summary_text_test

using namespace summary_text_test;

TEST(NameTables, NamesKeepTheirSpellingAndElevenAreLongerThanALine)
{
    EXPECT_EQ(ControllerName(1), "Modulation Wheel");
    EXPECT_EQ(ControllerName(33), "Mod. Wheel (LSB)");
    EXPECT_EQ(ControllerName(7), "MIDI Volume");
    EXPECT_EQ(ControllerName(39), "Volume (LSB)");
    EXPECT_EQ(ControllerName(128), "");
    EXPECT_EQ(Note(0) + Note(1) + Note(60) + Note(127), "C-2C#-2C3G8");
}

TEST(SlotSummary, PedalShowsItsModeAndClearsOnlyTheStatusOfItsJacksSwitches)
{
    SlotRecords records{};
    records[kSlotSwitchA1] = Msg(0x80, 60, 0);
    auto summary = ComposeSlotSummary(kSlotPedal1, With({{kPedal1Controller, 11}}), records);
    EXPECT_EQ(summary->line1, "CH 1 - CC 11");
    EXPECT_EQ(summary->line2, "Expression Pedal");
    EXPECT_EQ(records[kSlotPedal1], Msg(0xB0, 0x0B, 0x00));
    EXPECT_EQ(records[kSlotSwitchA1], Msg(0, 60, 0));

    summary =
        ComposeSlotSummary(kSlotPedal2, With({{kPedal2Channel, 15}, {kPedal2Mode, 1}}), records);
    EXPECT_EQ(summary->line1 + "|" + summary->line2, "CH 16 AFTERTOUCH|");
    EXPECT_EQ(records[kSlotPedal2], Msg(0xDF, 0, 0));
    summary = ComposeSlotSummary(kSlotPedal2, With({{kPedal2Mode, 2}}), records);
    EXPECT_EQ(summary->line1, "CH 1 PITCH BEND");
}

TEST(SlotSummary, SwitchLinesAreCutToSixteenCharacters)
{
    SlotRecords records{};
    const int note = kSwitchFunctionNoteOnOff;
    const int program = kSwitchFunctionProgramChange;
    struct Case
    {
        ParamValues values;
        const char* line1;
        const char* line2;
        MidiMessage record;
    };
    const Case cases[] = {
        {With({{kSwitchA2Function, note}, {kSwitchA2Channel, 9}, {kSwitchA2Controller, 60}}),
         "CH 10 NOTE C3", "", Msg(0x89, 0x3C, 0x00)},
        {With({{kSwitchA2Controller, 16}}), "CH 1 - CC 16", "Slider, Knob or ", Msg(0xB0, 16, 0)},
        {With({{kSwitchA2Controller, 3}}), "CH 1 - CC 3", "", Msg(0xB0, 3, 0)},
        {With({{kSwitchA2Function, program}, {kSwitchA2Channel, 8}}), "CH 9 PRG. CHANGE", "",
         Msg(0xC8, 0, 0)},
        {With({{kSwitchA2Function, program}, {kSwitchA2Channel, 9}}), "CH 10 PRG. CHANG", "",
         Msg(0xC9, 0, 0)},
        {With({{kSwitchA2Function, kSwitchFunctionStop}, {kSwitchA2Channel, 3}}), "START/STOP", "",
         Msg(0, 0, 0)},
    };
    for (const Case& c : cases)
    {
        SCOPED_TRACE(c.line1);
        const auto summary = ComposeSlotSummary(kSlotSwitchA2, c.values, records);
        EXPECT_EQ(summary->line1, c.line1);
        EXPECT_EQ(summary->line2, c.line2);
        EXPECT_EQ(records[kSlotSwitchA2], c.record);
    }
}

TEST(SlotSummary, SwitchClearsItsJacksPedalRecordExceptAsAPedalSwitch)
{
    SlotRecords records{};
    records[kSlotPedal1] = Msg(0xB0, 11, 0);
    records[kSlotPedal2] = Msg(0xB0, 7, 0);
    const auto pedal = ComposeSlotSummary(
        kSlotSwitchB1, With({{kSwitchB1Function, kSwitchFunctionPedal}, {kSwitchB1Controller, 4}}),
        records);
    EXPECT_EQ(pedal->line2 + "|" + pedal->line3, "Foot Pedal|PEDAL");
    EXPECT_EQ(records[kSlotSwitchB1], Msg(0, 0, 4));
    EXPECT_EQ(records[kSlotPedal1], Msg(0xB0, 11, 0));

    ComposeSlotSummary(kSlotSwitchA1, With({{kSwitchA1Function, kSwitchFunctionStart}}), records);
    EXPECT_EQ(records[kSlotPedal1], Msg(0, 11, 0));
    ComposeSlotSummary(kSlotSwitchA1, With({}), records);
    EXPECT_EQ(records[kSlotPedal1], MidiMessage{});
    EXPECT_EQ(records[kSlotPedal2], Msg(0xB0, 7, 0)); // the other jack is untouched

    const SlotRecords before = records;
    EXPECT_FALSE(ComposeSlotSummary(6, With({}), records));
    EXPECT_EQ(records, before);
    EXPECT_EQ(SlotLineTagsOf(6).line1, -1); // no slot, no display lines
}
