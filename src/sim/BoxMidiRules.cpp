#include "sim/BoxMidiRules.h"

#include "device/ParamTable.h"

#include <algorithm>

namespace
{
constexpr std::uint8_t kControlChange = 0xB0;
constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kProgramChange = 0xC0;
constexpr std::uint8_t kChannelPressure = 0xD0;
constexpr std::uint8_t kPitchBend = 0xE0;
constexpr std::uint8_t kStart = 0xFA;
constexpr std::uint8_t kStop = 0xFC;
constexpr int kDataMax = 0x7F;
constexpr int kBendCentre = 8192;
constexpr int kBendMax = 16383;

// numerator / denominator rounded half away from zero; denominator above 0.
int RoundedDiv(int numerator, int denominator)
{
    const int twice = 2 * (numerator < 0 ? -numerator : numerator) + denominator;
    const int magnitude = twice / (2 * denominator);
    return numerator < 0 ? -magnitude : magnitude;
}

std::uint8_t DataByte(int value)
{
    return static_cast<std::uint8_t>(std::clamp(value, 0, kDataMax));
}

std::uint8_t ChannelStatus(std::uint8_t kind, int channel)
{
    return static_cast<std::uint8_t>(kind | (channel & 0x0F));
}

MidiMessage Message(std::uint8_t status, int data1, int data2 = 0)
{
    MidiMessage msg;
    msg.status = status;
    msg.data1 = DataByte(data1);
    msg.data2 = DataByte(data2);
    return msg;
}
} // namespace

int ScalePedalPosition(int position, int calLow, int calHigh, int outMin, int outMax)
{
    position = std::clamp(position, 0, kDataMax);
    if (calLow == calHigh)
        return position >= calHigh ? outMax : outMin;

    int travelled = position - calLow;
    int travel = calHigh - calLow;
    if (travel < 0)
    {
        travelled = -travelled;
        travel = -travel;
    }
    travelled = std::clamp(travelled, 0, travel);
    return outMin + RoundedDiv((outMax - outMin) * travelled, travel);
}

int PitchBendFromValue(int value)
{
    value = std::clamp(value, 0, kDataMax);
    const int centre = 64;
    if (value <= centre)
        return value * (kBendCentre / centre);
    return kBendCentre + RoundedDiv((value - centre) * (kBendMax - kBendCentre), kDataMax - centre);
}

MidiMessage PedalMessage(int pedalMode, int channel, int controller, int value)
{
    switch (pedalMode)
    {
    case kPedalModeControl:
        return Message(ChannelStatus(kControlChange, channel), controller, value);
    case kPedalModeAftertouch:
        return Message(ChannelStatus(kChannelPressure, channel), value);
    default:
    {
        const int bend = PitchBendFromValue(value);
        return Message(ChannelStatus(kPitchBend, channel), bend & 0x7F, bend >> 7);
    }
    }
}

bool IsPressOnlyFunction(int switchFunction)
{
    return switchFunction == kSwitchFunctionStart || switchFunction == kSwitchFunctionStop ||
           switchFunction == kSwitchFunctionProgramChange;
}

std::optional<MidiMessage> SwitchMessage(int switchFunction, int channel, int number, int lower,
                                         int upper, bool on)
{
    switch (switchFunction)
    {
    case kSwitchFunctionControl:
        return Message(ChannelStatus(kControlChange, channel), number, on ? kDataMax : 0);
    case kSwitchFunctionNoteOnOff:
        if (on)
            return Message(ChannelStatus(kNoteOn, channel), number, kDataMax);
        return Message(ChannelStatus(kNoteOff, channel), number, 0);
    case kSwitchFunctionSpecialControl:
        return Message(ChannelStatus(kControlChange, channel), number, on ? upper : lower);
    case kSwitchFunctionStart:
        return on ? std::optional(Message(kStart, 0)) : std::nullopt;
    case kSwitchFunctionStop:
        return on ? std::optional(Message(kStop, 0)) : std::nullopt;
    case kSwitchFunctionProgramChange:
        return on ? std::optional(Message(ChannelStatus(kProgramChange, channel), number))
                  : std::nullopt;
    default:
        return std::nullopt;
    }
}
