#include "editor/AssignmentSummary.h"

#include "device/ControllerNames.h"
#include "device/FormatText.h"
#include "ui/ControlTags.h"

#include <cstdint>
#include <string>

namespace
{
constexpr std::array<SlotLineTags, kNumAssignmentSlots> kSlotLineTags{{
    {kCtrlTagJack1PedalLine1, kCtrlTagJack1PedalLine2, kCtrlTagJack1PedalValue},
    {kCtrlTagJack2PedalLine1, kCtrlTagJack2PedalLine2, kCtrlTagJack2PedalValue},
    {kCtrlTagJack1SwitchALine1, kCtrlTagJack1SwitchALine2, kCtrlTagJack1SwitchAValue},
    {kCtrlTagJack1SwitchBLine1, kCtrlTagJack1SwitchBLine2, kCtrlTagJack1SwitchBValue},
    {kCtrlTagJack2SwitchALine1, kCtrlTagJack2SwitchALine2, kCtrlTagJack2SwitchAValue},
    {kCtrlTagJack2SwitchBLine1, kCtrlTagJack2SwitchBLine2, kCtrlTagJack2SwitchBValue},
}};

MidiMessage Record(int status, int data1, int data2)
{
    MidiMessage msg;
    msg.status = static_cast<std::uint8_t>(status);
    msg.data1 = static_cast<std::uint8_t>(data1);
    msg.data2 = static_cast<std::uint8_t>(data2);
    return msg;
}

std::string ControlLine(int channelShown, int controller)
{
    return FormatText("CH %d - CC %d", channelShown, controller);
}

// Pedal slot: its line 1 and 2 and its record, then the status bytes of its jack's switches.
SlotSummary RebuildPedal(int slot, int kind, int number, int channel, SlotRecords& records)
{
    SlotSummary summary;
    const int shown = channel + 1;
    MidiMessage& own = records[static_cast<std::size_t>(slot)];
    if (kind == kPedalModeControl)
    {
        summary.line1 = ControlLine(shown, number);
        summary.line2 = std::string(ControllerName(number));
        own = Record(0xB0 + channel, number, 0);
    }
    else if (kind == kPedalModeAftertouch)
    {
        summary.line1 = FormatText("CH %d AFTERTOUCH", shown);
        own = Record(0xD0 + channel, 0, 0);
    }
    else
    {
        summary.line1 = FormatText("CH %d PITCH BEND", shown);
        own = Record(0xE0 + channel, 0, 0);
    }

    const int firstSwitch = slot == kSlotPedal1 ? kSlotSwitchA1 : kSlotSwitchA2;
    records[static_cast<std::size_t>(firstSwitch)].status = 0;
    records[static_cast<std::size_t>(firstSwitch + 1)].status = 0;
    return summary;
}

SlotSummary RebuildSwitch(int slot, int kind, int number, int channel, SlotRecords& records)
{
    SlotSummary summary;
    const int shown = channel + 1;
    MidiMessage& own = records[static_cast<std::size_t>(slot)];
    MidiMessage& pedal = records[static_cast<std::size_t>(
        PedalSlotOfJack(kAssignmentSlots[static_cast<std::size_t>(slot)].jack))];

    switch (kind)
    {
    case kSwitchFunctionControl:
    case kSwitchFunctionSpecialControl:
        summary.line1 = ControlLine(shown, number);
        summary.line2 = std::string(ControllerName(number));
        own = Record(0xB0 + channel, number, 0);
        pedal = MidiMessage{};
        break;
    case kSwitchFunctionNoteOnOff:
        summary.line1 = FormatText("CH %d NOTE %s%d", shown, std::string(NoteName(number)).c_str(),
                                   NoteOctave(number));
        own = Record(0x80 + channel, number, 0);
        pedal = MidiMessage{};
        break;
    case kSwitchFunctionStart:
    case kSwitchFunctionStop:
        summary.line1 = "START/STOP";
        own = Record(0, 0, 0);
        pedal.status = 0;
        break;
    case kSwitchFunctionProgramChange:
        summary.line1 = FormatText("CH %d PRG. CHANGE", shown);
        own = Record(0xC0 + channel, 0, 0);
        pedal = MidiMessage{};
        break;
    case kSwitchFunctionPedal:
        summary.line1 = ControlLine(shown, number);
        summary.line2 = std::string(ControllerName(number));
        summary.line3 = "PEDAL";
        own = Record(0, 0, number);
        break;
    default:
        // A function value the settings cannot hold: the slot shows and records nothing.
        own = Record(0, 0, 0);
        break;
    }
    return summary;
}
} // namespace

SlotLineTags SlotLineTagsOf(int slot)
{
    if (slot < 0 || slot >= kNumAssignmentSlots)
        return {-1, -1, -1};
    return kSlotLineTags[static_cast<std::size_t>(slot)];
}

std::optional<SlotSummary> ComposeSlotSummary(int slot, const ParamValues& values,
                                              SlotRecords& records)
{
    if (slot < 0 || slot >= kNumAssignmentSlots)
        return std::nullopt;

    const AssignmentSlot& def = kAssignmentSlots[static_cast<std::size_t>(slot)];
    const int kind = values[static_cast<std::size_t>(def.kindParam)];
    const int number = values[static_cast<std::size_t>(def.numberParam)];
    const int channel = values[static_cast<std::size_t>(def.channelParam)];

    SlotSummary summary = def.IsPedal() ? RebuildPedal(slot, kind, number, channel, records)
                                        : RebuildSwitch(slot, kind, number, channel, records);
    summary.line1 = CutText(std::move(summary.line1), kSummaryLineLength);
    summary.line2 = CutText(std::move(summary.line2), kSummaryLineLength);
    return summary;
}
