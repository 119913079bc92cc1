#include "editor/MidiMonitor.h"

#include "device/ControllerNames.h"
#include "device/FormatText.h"

#include <array>
#include <cstddef>

namespace
{
constexpr int kKindNoteOff = 0x8;
constexpr int kKindNoteOn = 0x9;
constexpr int kKindControlChange = 0xB;
constexpr int kKindProgramChange = 0xC;
constexpr int kKindAftertouch = 0xD;
constexpr int kKindPitchBend = 0xE;

constexpr std::uint8_t kStatusStart = 0xFA;
constexpr std::uint8_t kStatusStop = 0xFC;

// The message kind: the status's high four bits for the channel messages 8 to E, else 0.
int KindOf(std::uint8_t status)
{
    const int high = status >> 4;
    return high >= 0x8 && high <= 0xE ? high : 0;
}

int Value(const ParamValues& values, int paramIdx)
{
    return values[static_cast<std::size_t>(paramIdx)];
}

void Add(std::vector<MonitorText>& texts, int tag, std::string text)
{
    texts.push_back({tag, std::move(text)});
}

// A message whose status equals the slot's record.
void AddOwnMatch(std::vector<MonitorText>& texts, int slot, int kind, const MidiMessage& msg,
                 const MidiMessage& record)
{
    const SlotLineTags tags = SlotLineTagsOf(slot);
    const bool pedal = kAssignmentSlots[static_cast<std::size_t>(slot)].IsPedal();
    const int shownChannel = msg.Channel() + 1;
    switch (kind)
    {
    case kKindControlChange:
        if (msg.data1 != record.data1)
            return;
        Add(texts, tags.line3, FormatText("%d", msg.data2));
        if (pedal)
        {
            Add(texts, tags.line1, FormatText("CH %d - CC %d", shownChannel, msg.data1));
            Add(texts, tags.line2, std::string(ControllerName(msg.data1)));
        }
        return;
    case kKindProgramChange:
    case kKindAftertouch:
        Add(texts, tags.line3, FormatText("%d", msg.data1));
        if (pedal)
        {
            Add(texts, tags.line1, FormatText("CH %d AFTERTOUCH", shownChannel));
            Add(texts, tags.line2, std::string());
        }
        return;
    case kKindPitchBend:
        Add(texts, tags.line3, FormatText("%d", msg.data2));
        if (pedal)
        {
            Add(texts, tags.line1, FormatText("CH %d PITCH BEND", shownChannel));
            Add(texts, tags.line2, std::string());
        }
        return;
    default:
        return;
    }
}

// A control change of a "Pedal" switch of one jack, shown on the other jack's pedal display.
void AddPedalSwitchMatch(std::vector<MonitorText>& texts, int slot, const MidiMessage& msg)
{
    const int jack = kAssignmentSlots[static_cast<std::size_t>(slot)].jack;
    const SlotLineTags tags = SlotLineTagsOf(jack == 1 ? kSlotPedal2 : kSlotPedal1);
    Add(texts, tags.line1, FormatText("CH %d - CC %d", msg.Channel() + 1, msg.data1));
    Add(texts, tags.line2, std::string(ControllerName(msg.data1)));
    Add(texts, tags.line3, FormatText("%d", msg.data2));
}

void AddSlotTexts(std::vector<MonitorText>& texts, const MidiMessage& msg,
                  const SlotRecords& records, const ParamValues& values)
{
    const int kind = KindOf(msg.status);
    const int status = msg.status;
    for (int slot = 0; slot < kNumAssignmentSlots; ++slot)
    {
        const MidiMessage& record = records[static_cast<std::size_t>(slot)];
        const int recordStatus = record.status;
        const SlotLineTags tags = SlotLineTagsOf(slot);
        if (kind == kKindNoteOn)
        {
            if (status == recordStatus + 0x10)
                Add(texts, tags.line3, "ON");
        }
        else if (kind == kKindNoteOff)
        {
            if (status == recordStatus)
                Add(texts, tags.line3, "OFF");
        }
        else if (status == recordStatus)
        {
            AddOwnMatch(texts, slot, kind, msg, record);
        }
        else if (recordStatus == 0 && msg.data1 == record.data2 && kind == kKindControlChange)
        {
            const AssignmentSlot& def = kAssignmentSlots[static_cast<std::size_t>(slot)];
            if (!def.IsPedal() && Value(values, def.kindParam) == kSwitchFunctionPedal)
                AddPedalSwitchMatch(texts, slot, msg);
        }
    }
}

void AddTransportTexts(std::vector<MonitorText>& texts, const MidiMessage& msg,
                       const ParamValues& values)
{
    const bool start = msg.status == kStatusStart;
    if (!start && msg.status != kStatusStop)
        return;

    // The order in which the switches show it: A 1, A 2, B 1, B 2.
    constexpr std::array<int, 4> kOrder{kSlotSwitchA1, kSlotSwitchA2, kSlotSwitchB1, kSlotSwitchB2};
    const int own = start ? kSwitchFunctionStart : kSwitchFunctionStop;
    const int other = start ? kSwitchFunctionStop : kSwitchFunctionStart;
    for (int slot : kOrder)
    {
        const AssignmentSlot& def = kAssignmentSlots[static_cast<std::size_t>(slot)];
        const int function = Value(values, def.kindParam);
        const bool latching = Value(values, def.operationParam) == kSwitchLatching;
        if (function == own || (function == other && latching))
            Add(texts, SlotLineTagsOf(slot).line3, start ? "START" : "STOP");
    }
}
} // namespace

std::vector<MonitorText> MonitorTexts(const MidiMessage& msg, const SlotRecords& records,
                                      const ParamValues& values)
{
    std::vector<MonitorText> texts;
    AddSlotTexts(texts, msg, records, values);
    AddTransportTexts(texts, msg, values);
    return texts;
}
