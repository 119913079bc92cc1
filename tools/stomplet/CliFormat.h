#pragma once

#include "device/FirmwareImage.h"
#include "device/PresetFile.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The pure parts of `stomplet`: finding a setting by name, reading and showing its values as the
// editor does, the texts the commands print, and the raw SysEx file. [any thread]

// The index of a setting given by its name or by its index "0" to "37"; empty for anything else.
// Case, blanks and the word "Midi" do not matter in a name ("jack 2 mode", "PEDAL1 Channel").
std::optional<int> FindSetting(std::string_view nameOrIndex);

// The error for a name no setting has, naming the three nearest: "no setting is called \"x\"; the
// nearest are \"A\", \"B\" or \"C\" (or give an index 0 to 37; see stomplet dump)".
std::string UnknownSettingError(std::string_view name);

// A setting's value from the text typed for it, or why it cannot be taken (one line, no newline).
struct SettingValueResult
{
    std::optional<int> value;
    std::string error;
};

// `text` is one of the setting's display texts ("Switches"; "10" for MIDI channel 10, value 9)
// or its value as a whole number within its range; anything else is an error naming the range or
// the texts. The four calibration settings are refused with a pointer to calibrate.
SettingValueResult ParseSettingValue(int paramIdx, std::string_view text);

// The editor's display text of `value` for setting `paramIdx`: a label or the number.
std::string SettingText(int paramIdx, int value);

// The text dump and diff show for a setting's value: SettingText, and for the four calibration
// settings the raw value with the editor's percentage beside it ("64 (50.4%)").
std::string DumpText(int paramIdx, int value);

// The dump: one line per setting ("%2d  %-28s %s"), or with `json` one JSON object holding the
// firmware version ("1.2") and every setting's index, name, value and text.
std::string FormatDump(std::uint8_t versionByte, const PresetValues& values, bool json);

// One line per setting whose value in `received` differs from `sent`:
// "PEDAL1 Controller: sent 11, the box holds 12".
std::vector<std::string> SettingDifferences(const PresetValues& sent, const PresetValues& received);

// One line per setting whose value on the box differs from the file's, texts as DumpText gives
// them: "JACK2 Mode: box Switches, file Pedal".
std::vector<std::string> BoxFileDifferences(const PresetValues& box, const PresetValues& file);

// True for a port of a running editor or of another run of this program, which detect leaves
// alone: its client's name (the part before ':') begins with "RtMidi" (the editor's clients,
// RtMidi's default names) or "stomplet". The same name with JACK's "-01" or ALSA's client and
// port numbers after it is still theirs.
bool IsEditorOrToolPort(std::string_view portName);

// One incoming MIDI message, decoded: "Control Change ch 1  #11 = 64  (Expression Pedal)" (the
// controller's name as the LCD shows it, when it has one), "Note On        ch 1  #80 vel 127",
// "Status Reply  version 1.2", ... With `hex` the bytes follow in hex.
std::string DescribeMidiMessage(std::span<const std::uint8_t> bytes, bool hex);

// The kinds of MIDI message monitor tells apart, one bit each.
enum MessageKind : unsigned
{
    kKindControlChange = 1u << 0, // "cc"
    kKindNote = 1u << 1,          // "note": Note On and Note Off
    kKindPolyPressure = 1u << 2,  // "pat": polyphonic aftertouch
    kKindProgramChange = 1u << 3, // "pc"
    kKindAftertouch = 1u << 4,    // "at": channel aftertouch
    kKindPitchBend = 1u << 5,     // "pb"
    kKindSysEx = 1u << 6,         // "sysex"
    kKindSystem = 1u << 7,        // "system": every other system message (clock, start, ...)
};
using MessageKinds = unsigned;
inline constexpr MessageKinds kAllMessageKinds = (1u << 8) - 1;

// The kind of one message (0 for none: an empty message or a lone data byte).
MessageKinds KindOfMessage(std::span<const std::uint8_t> bytes);

// The kinds a comma-separated list names ("cc,note"), or why it cannot be taken (one line).
struct MessageKindsResult
{
    MessageKinds kinds = 0;
    std::string error;
};
MessageKindsResult ParseMessageKinds(std::string_view list);

// "[#####.....]  50 % (128/256 blocks)", `width` marks between the brackets.
std::string FirmwareProgressBar(int blocksSent, int blockCount, int width = 40);

// The 38 setting bytes of a raw All Settings message (exactly 46 bytes: F0 00 3F 5A 04 03, a
// format version, 38 bytes below 80, F7), or why the bytes are not one (no newline).
struct SyxReadResult
{
    std::optional<PresetValues> values;
    std::string error;
};
SyxReadResult ParseAllSettingsSyx(std::span<const std::uint8_t> bytes);

// The one-line reason of a refused firmware image.
std::string FirmwareProblem(FirmwareImageError error);
