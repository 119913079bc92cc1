#pragma once

#include <array>
#include <span>
#include <string_view>

// The 38 settings of the box, by index. The index is a setting's identity everywhere: the control
// that edits it, the address byte of its Single Setting, its byte in All Settings, in the Status
// Reply and in a preset file. Jack 2 comes before jack 1; within a jack the order is pedal (7),
// switch A (4), switch B (4), the special-control bounds both switches share (2).
enum EParams : int
{
    kJack2Mode = 0,
    kJack2Polarity,
    kJack1Mode,
    kJack1Polarity,

    kPedal2Channel,
    kPedal2Mode,
    kPedal2Controller,
    kPedal2OutMinimum,
    kPedal2OutMaximum,
    kPedal2CalibrationLow,
    kPedal2CalibrationHigh,
    kSwitchA2Channel,
    kSwitchA2Operation,
    kSwitchA2Function,
    kSwitchA2Controller,
    kSwitchB2Channel,
    kSwitchB2Operation,
    kSwitchB2Function,
    kSwitchB2Controller,
    kSwitch2SpecialLower,
    kSwitch2SpecialUpper,

    kPedal1Channel,
    kPedal1Mode,
    kPedal1Controller,
    kPedal1OutMinimum,
    kPedal1OutMaximum,
    kPedal1CalibrationLow,
    kPedal1CalibrationHigh,
    kSwitchA1Channel,
    kSwitchA1Operation,
    kSwitchA1Function,
    kSwitchA1Controller,
    kSwitchB1Channel,
    kSwitchB1Operation,
    kSwitchB1Function,
    kSwitchB1Controller,
    kSwitch1SpecialLower,
    kSwitch1SpecialUpper,

    kNumParams
};

static_assert(kNumParams == 38);
static_assert(kPedal1Channel - kPedal2Channel == 17, "jack 1 mirrors jack 2, 17 places later");

// Values of the enumerated settings: the position in the setting's label list.
enum EJackMode : int
{
    kJackModePedal = 0,
    kJackModeSwitches = 1,
};

enum EPedalMode : int
{
    kPedalModeControl = 0,
    kPedalModeAftertouch = 1,
    kPedalModeBend = 2,
};

enum ESwitchOperation : int
{
    kSwitchMomentary = 0,
    kSwitchLatching = 1,
};

enum ESwitchFunction : int
{
    kSwitchFunctionControl = 0,
    kSwitchFunctionNoteOnOff = 1,
    kSwitchFunctionStart = 2,
    kSwitchFunctionStop = 3,
    kSwitchFunctionProgramChange = 4,
    kSwitchFunctionSpecialControl = 5,
    kSwitchFunctionPedal = 6,
};

// Label lists of the enumerated settings.
inline constexpr std::array<std::string_view, 2> kJackModeLabels{"Pedal", "Switches"};
inline constexpr std::array<std::string_view, 2> kPolarityLabels{"Tip", "Ring"};
inline constexpr std::array<std::string_view, 16> kMidiChannelLabels{
    "1", "2", "3", "4", "5", "6", "7", "8", "9", "10", "11", "12", "13", "14", "15", "16"};
inline constexpr std::array<std::string_view, 3> kPedalModeLabels{"Control", "Aftertouch", "Bend"};
inline constexpr std::array<std::string_view, 2> kSwitchOperationLabels{"Momentary", "Latching"};
inline constexpr std::array<std::string_view, 7> kSwitchFunctionLabels{
    "Control", "Note On/Off", "Start", "Stop", "Program Change", "Special Control", "Pedal"};

// Largest value of an Integer setting; every setting's smallest value is 0.
inline constexpr int kIntegerParamMax = 127;

// One setting as the editor declares it. A setting with labels is Enumerated (values 0 to
// labels.size() - 1); one without is Integer (0 to 127). Every setting defaults to 0 and has no
// unit label and no group.
struct ParamDefinition
{
    std::string_view name;
    std::span<const std::string_view> labels;

    constexpr bool IsEnumerated() const { return !labels.empty(); }
    constexpr int MaxValue() const
    {
        return IsEnumerated() ? static_cast<int>(labels.size()) - 1 : kIntegerParamMax;
    }
};

// The settings in index order. The names are exact texts; mind the spacing: no space in
// "JACK2 Mode", a space in "JACK 2 Polarity", "JACK 1 Mode" and "JACK 1 Polarity".
inline constexpr std::array<ParamDefinition, kNumParams> kParamDefinitions{{
    {"JACK2 Mode", kJackModeLabels},
    {"JACK 2 Polarity", kPolarityLabels},
    {"JACK 1 Mode", kJackModeLabels},
    {"JACK 1 Polarity", kPolarityLabels},

    {"PEDAL2 Midi Channel", kMidiChannelLabels},
    {"PEDAL2 Mode", kPedalModeLabels},
    {"PEDAL2 Controller", {}},
    {"PEDAL2 Out Minimum", {}},
    {"PEDAL2 Out Maximum", {}},
    {"PEDAL2 Calibration Low End", {}},
    {"PEDAL2 Calibration High End", {}},
    {"SWITCHA2 Midi Channel", kMidiChannelLabels},
    {"SWITCHA2 Operation", kSwitchOperationLabels},
    {"SWITCHA2 Function Mode", kSwitchFunctionLabels},
    {"SWITCHA2 Controller", {}},
    {"SWITCHB2 Midi Channel", kMidiChannelLabels},
    {"SWITCHB2 Operation", kSwitchOperationLabels},
    {"SWITCHB2 Function Mode", kSwitchFunctionLabels},
    {"SWITCHB2 Controller", {}},
    {"SWITCH2 Special Ctrl Lower", {}},
    {"SWITCH2 Special Ctrl Upper", {}},

    {"PEDAL1 Midi Channel", kMidiChannelLabels},
    {"PEDAL1 Mode", kPedalModeLabels},
    {"PEDAL1 Controller", {}},
    {"PEDAL1 Out Minimum", {}},
    {"PEDAL1 Out Maximum", {}},
    {"PEDAL1 Calibration Low End", {}},
    {"PEDAL1 Calibration High End", {}},
    {"SWITCHA1 Midi Channel", kMidiChannelLabels},
    {"SWITCHA1 Operation", kSwitchOperationLabels},
    {"SWITCHA1 Function Mode", kSwitchFunctionLabels},
    {"SWITCHA1 Controller", {}},
    {"SWITCHB1 Midi Channel", kMidiChannelLabels},
    {"SWITCHB1 Operation", kSwitchOperationLabels},
    {"SWITCHB1 Function Mode", kSwitchFunctionLabels},
    {"SWITCHB1 Controller", {}},
    {"SWITCH1 Special Ctrl Lower", {}},
    {"SWITCH1 Special Ctrl Upper", {}},
}};

// The value of every setting as an integer (truncated toward zero), in index order: the snapshot
// that the editor's pure rules (summaries, jack configuration, monitor) read.
using ParamValues = std::array<int, kNumParams>;

// The largest value of setting `paramIdx`, or -1 when the index is not 0 to 37.
constexpr int ParamMaxValue(int paramIdx)
{
    if (paramIdx < 0 || paramIdx >= kNumParams)
        return -1;
    return kParamDefinitions[static_cast<std::size_t>(paramIdx)].MaxValue();
}
