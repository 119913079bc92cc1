#include "CliFormat.h"

#include "core/IParam.h"
#include "device/ControllerNames.h"
#include "device/DeviceStatus.h"
#include "device/FormatText.h"
#include "device/ParamTable.h"
#include "device/SettingNames.h"
#include "device/SettingsExchange.h"
#include "device/SysExMessages.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <cmath>
#include <memory>

namespace
{
// The settings set up as the editor sets them up, for their display texts and typed values.
const std::array<IParam, kNumParams>& DeviceParams()
{
    static const std::unique_ptr<std::array<IParam, kNumParams>> params = []
    {
        auto made = std::make_unique<std::array<IParam, kNumParams>>();
        for (int idx = 0; idx < kNumParams; ++idx)
        {
            const ParamDefinition& definition = kParamDefinitions[static_cast<std::size_t>(idx)];
            IParam& param = (*made)[static_cast<std::size_t>(idx)];
            if (definition.IsEnumerated())
            {
                const int count = static_cast<int>(definition.labels.size());
                param.InitEnumerated(definition.name, 0, count);
                for (int value = 0; value < count; ++value)
                    param.SetDisplayText(value, definition.labels[static_cast<std::size_t>(value)]);
            }
            else
                param.InitInteger(definition.name, 0, 0, kIntegerParamMax, "",
                                  IParam::kFlagStepped);
        }
        return made;
    }();
    return *params;
}

const IParam& Param(int paramIdx)
{
    return DeviceParams()[static_cast<std::size_t>(paramIdx)];
}

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y)
                      {
                          return std::tolower(static_cast<unsigned char>(x)) ==
                                 std::tolower(static_cast<unsigned char>(y));
                      });
}

std::string_view TrimBlanks(std::string_view text)
{
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// A number in plain decimal: digits only (leading zeros allowed), no sign, point or exponent.
std::optional<int> PlainDecimal(std::string_view text)
{
    if (text.empty() || text.size() > 9 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    int value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// True when every display text of the setting is a number (the MIDI channels "1" to "16").
bool HasNumberedTexts(const ParamDefinition& definition)
{
    return definition.IsEnumerated() &&
           std::all_of(definition.labels.begin(), definition.labels.end(),
                       [](std::string_view label) { return PlainDecimal(label).has_value(); });
}

// What a setting takes, for the error lines: "\"Pedal\", \"Switches\" or 0 to 1".
std::string AcceptedValues(const ParamDefinition& definition)
{
    if (HasNumberedTexts(definition))
        return "\"" + std::string(definition.labels.front()) + "\" to \"" +
               std::string(definition.labels.back()) + "\"";
    std::string accepted;
    for (const std::string_view label : definition.labels)
        accepted += (accepted.empty() ? "\"" : ", \"") + std::string(label) + "\"";
    if (!accepted.empty())
        accepted += " or ";
    return accepted + "0 to " + std::to_string(definition.MaxValue());
}

std::string Hex(std::span<const std::uint8_t> bytes)
{
    std::string text;
    for (const std::uint8_t byte : bytes)
        text += FormatText(text.empty() ? "%02X" : " %02X", byte);
    return text;
}

std::string JsonString(std::string_view text)
{
    std::string quoted = "\"";
    for (const char c : text)
    {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + "\"";
}

struct KindWord
{
    MessageKind kind;
    std::string_view word;
};
constexpr std::array<KindWord, 8> kKindWords{{
    {kKindControlChange, "cc"},
    {kKindNote, "note"},
    {kKindPolyPressure, "pat"},
    {kKindProgramChange, "pc"},
    {kKindAftertouch, "at"},
    {kKindPitchBend, "pb"},
    {kKindSysEx, "sysex"},
    {kKindSystem, "system"},
}};

std::string DescribeSysEx(std::span<const std::uint8_t> bytes)
{
    if (const std::optional<StatusReply> reply = RecogniseStatusReply(bytes))
        return FormatText("Status Reply  version %.1f", reply->version / 10.0);
    return FormatText("SysEx  %zu bytes", bytes.size());
}
} // namespace

std::optional<int> FindSetting(std::string_view nameOrIndex)
{
    nameOrIndex = TrimBlanks(nameOrIndex);
    if (const std::optional<int> index = PlainDecimal(nameOrIndex))
    {
        if (*index < kNumParams)
            return index;
        return std::nullopt;
    }
    return FindSettingByName(nameOrIndex);
}

std::string UnknownSettingError(std::string_view name)
{
    std::string nearest;
    const std::vector<std::string_view> names = NearestSettingNames(name);
    for (std::size_t i = 0; i < names.size(); ++i)
        nearest += (i == 0                  ? "\""
                    : i + 1 == names.size() ? "\" or \""
                                            : "\", \"") +
                   std::string(names[i]);
    return "no setting is called \"" + PrintableText(name, 80) + "\"; the nearest are " + nearest +
           "\" (or give an index 0 to 37; see stomplet dump)";
}

SettingValueResult ParseSettingValue(int paramIdx, std::string_view text)
{
    if (paramIdx < 0 || paramIdx >= kNumParams)
        return {std::nullopt, "no setting has the index " + std::to_string(paramIdx)};
    const ParamDefinition& definition = kParamDefinitions[static_cast<std::size_t>(paramIdx)];
    const std::string name = "\"" + std::string(definition.name) + "\"";
    if (IsCalibrationParam(paramIdx))
        return {std::nullopt,
                name +
                    " is set by the box itself: use \"stomplet calibrate pedal1|pedal2 low|high\""};

    const std::string_view typed = TrimBlanks(text);
    for (std::size_t i = 0; i < definition.labels.size(); ++i)
        if (EqualIgnoringCase(definition.labels[i], typed))
            return {static_cast<int>(i), {}};
    const bool numbered = HasNumberedTexts(definition);
    const std::string_view digits = typed.starts_with('-') ? typed.substr(1) : typed;
    if (const std::optional<int> number = PlainDecimal(digits))
    {
        if (!numbered && digits.size() == typed.size() && *number <= definition.MaxValue())
            return {*number, {}};
        if (numbered && digits.size() == typed.size())
            for (std::size_t i = 0; i < definition.labels.size(); ++i)
                if (PlainDecimal(definition.labels[i]) == number)
                    return {static_cast<int>(i), {}};
        return {std::nullopt, name + " takes " + AcceptedValues(definition) + ": \"" +
                                  std::string(typed) + "\" is out of range"};
    }
    return {std::nullopt, name + " takes " + AcceptedValues(definition) +
                              " (numbers in plain decimal digits), not \"" +
                              PrintableText(text, 80) + "\""};
}

std::string SettingText(int paramIdx, int value)
{
    if (paramIdx < 0 || paramIdx >= kNumParams)
        return {};
    return Param(paramIdx).GetDisplay(static_cast<double>(value));
}

std::string DumpText(int paramIdx, int value)
{
    const std::optional<std::string> label =
        CalibrationLabel(paramIdx, static_cast<std::uint8_t>(value));
    if (!label)
        return SettingText(paramIdx, value);
    return std::to_string(value) + " (" + label->substr(label->rfind(' ') + 1) + ")";
}

std::string FormatDump(std::uint8_t versionByte, const PresetValues& values, bool json)
{
    std::string text;
    if (json)
        text = FormatText("{\"version\": \"%.1f\", \"settings\": [", versionByte / 10.0);
    for (int idx = 0; idx < kNumParams; ++idx)
    {
        const std::size_t i = static_cast<std::size_t>(idx);
        const std::string name(kParamDefinitions[i].name);
        const int value = std::min<int>(values[i], ParamMaxValue(idx));
        if (json)
            text += FormatText("%s\n  {\"index\": %d, \"name\": ", idx == 0 ? "" : ",", idx) +
                    JsonString(name) + FormatText(", \"value\": %d, \"text\": ", value) +
                    JsonString(DumpText(idx, value)) + "}";
        else
            text += FormatText("%2d  %-28s %s\n", idx, name.c_str(), DumpText(idx, value).c_str());
    }
    if (json)
        text += "\n]}\n";
    return text;
}

std::vector<std::string> SettingDifferences(const PresetValues& sent, const PresetValues& received)
{
    std::vector<std::string> lines;
    for (std::size_t i = 0; i < sent.size(); ++i)
        if (sent[i] != received[i])
            lines.push_back(std::string(kParamDefinitions[i].name) +
                            FormatText(": sent %d, the box holds %d", sent[i], received[i]));
    return lines;
}

std::vector<std::string> BoxFileDifferences(const PresetValues& box, const PresetValues& file)
{
    std::vector<std::string> lines;
    for (int idx = 0; idx < kNumParams; ++idx)
    {
        const std::size_t i = static_cast<std::size_t>(idx);
        if (box[i] != file[i])
            lines.push_back(std::string(kParamDefinitions[i].name) + ": box " +
                            DumpText(idx, box[i]) + ", file " + DumpText(idx, file[i]));
    }
    return lines;
}

bool IsEditorOrToolPort(std::string_view portName)
{
    const std::string_view client = portName.substr(0, portName.find(':'));
    return client.starts_with("RtMidi") || client.starts_with("stomplet");
}

std::string DescribeMidiMessage(std::span<const std::uint8_t> bytes, bool hex)
{
    std::string text;
    if (bytes.empty())
        return text;
    const std::uint8_t status = bytes[0];
    const int channel = (status & 0x0F) + 1;
    const int data1 = bytes.size() > 1 ? bytes[1] : 0;
    const int data2 = bytes.size() > 2 ? bytes[2] : 0;
    switch (status >> 4)
    {
    case 0x8:
        text = FormatText("Note Off       ch %-2d #%d vel %d", channel, data1, data2);
        break;
    case 0x9:
        text = FormatText("Note On        ch %-2d #%d vel %d", channel, data1, data2);
        break;
    case 0xA:
        text = FormatText("Poly Pressure  ch %-2d #%d = %d", channel, data1, data2);
        break;
    case 0xB:
        text = FormatText("Control Change ch %-2d #%d = %d", channel, data1, data2);
        if (const std::string_view name = ControllerName(data1); !name.empty())
            text += "  (" + std::string(name) + ")";
        break;
    case 0xC:
        text = FormatText("Program Change ch %-2d %d", channel, data1);
        break;
    case 0xD:
        text = FormatText("Aftertouch     ch %-2d %d", channel, data1);
        break;
    case 0xE:
        text = FormatText("Pitch Bend     ch %-2d %d", channel, ((data2 << 7) | data1) - 8192);
        break;
    default:
        if (status == kSysExStart)
            text = DescribeSysEx(bytes);
        else if (status == 0xFA)
            text = "Start";
        else if (status == 0xFB)
            text = "Continue";
        else if (status == 0xFC)
            text = "Stop";
        else
            text = FormatText("System %02X", status);
    }
    if (hex)
        text += "  [" + Hex(bytes) + "]";
    return text;
}

MessageKinds KindOfMessage(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty() || bytes[0] < 0x80)
        return 0;
    switch (bytes[0] >> 4)
    {
    case 0x8:
    case 0x9:
        return kKindNote;
    case 0xA:
        return kKindPolyPressure;
    case 0xB:
        return kKindControlChange;
    case 0xC:
        return kKindProgramChange;
    case 0xD:
        return kKindAftertouch;
    case 0xE:
        return kKindPitchBend;
    default:
        return bytes[0] == kSysExStart ? kKindSysEx : kKindSystem;
    }
}

MessageKindsResult ParseMessageKinds(std::string_view list)
{
    MessageKindsResult result;
    std::string words;
    for (const KindWord& entry : kKindWords)
        words += (words.empty() ? "" : ", ") + std::string(entry.word);
    while (true)
    {
        const std::size_t comma = list.find(',');
        const std::string_view word = TrimBlanks(list.substr(0, comma));
        const auto found = std::find_if(kKindWords.begin(), kKindWords.end(),
                                        [word](const KindWord& entry)
                                        { return EqualIgnoringCase(entry.word, word); });
        if (found == kKindWords.end())
            return {0, "--filter takes kinds of message separated by commas (" + words +
                           "), not \"" + PrintableText(word, 80) + "\""};
        result.kinds |= found->kind;
        if (comma == std::string_view::npos)
            return result;
        list.remove_prefix(comma + 1);
    }
}

std::string FirmwareProgressBar(int blocksSent, int blockCount, int width)
{
    const int percent = FirmwareProgressPercent(blocksSent, blockCount);
    const int marks =
        blockCount > 0 ? width * std::clamp(blocksSent, 0, blockCount) / blockCount : width;
    return "[" + std::string(static_cast<std::size_t>(marks), '#') +
           std::string(static_cast<std::size_t>(width - marks), '.') + "] " +
           FormatText("%3d %% (%d/%d blocks)", percent, blocksSent, blockCount);
}

SyxReadResult ParseAllSettingsSyx(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != kAllSettingsSize)
        return {std::nullopt, FormatText("%zu bytes; an All Settings message has %zu", bytes.size(),
                                         kAllSettingsSize)};
    constexpr std::array<std::uint8_t, 6> kHeader{
        kSysExStart, 0x00, 0x3F, 0x5A, kModelConfiguration, kCommandAllSettings};
    for (std::size_t i = 0; i < kHeader.size(); ++i)
        if (bytes[i] != kHeader[i])
            return {std::nullopt, FormatText("byte %zu is %02X, not %02X: not an All Settings "
                                             "message (F0 00 3F 5A 04 03 ...)",
                                             i, bytes[i], kHeader[i])};
    if (bytes[kAllSettingsFormatOffset] / 10 > kHighestPresetFormatMajor)
        return {std::nullopt, FormatText("format version %.1f is newer than this program reads",
                                         bytes[kAllSettingsFormatOffset] / 10.0)};
    if (bytes.back() != kSysExEnd)
        return {std::nullopt, FormatText("the last byte is %02X, not F7", bytes.back())};
    PresetValues values{};
    for (std::size_t i = 0; i < values.size(); ++i)
    {
        const std::uint8_t byte = bytes[kAllSettingsValuesOffset + i];
        if (byte > 0x7F)
            return {std::nullopt, FormatText("byte %zu is %02X, not a data byte (00 to 7F)",
                                             kAllSettingsValuesOffset + i, byte)};
        values[i] = byte;
    }
    return {values, {}};
}

std::string FirmwareProblem(FirmwareImageError error)
{
    switch (error)
    {
    case FirmwareImageError::kCannotOpen:
        return "cannot be read";
    case FirmwareImageError::kNotAFile:
        return "is not a regular file";
    case FirmwareImageError::kEmpty:
        return "is empty: nothing to send";
    case FirmwareImageError::kTooLarge:
        return FormatText("is %zu bytes or more: too large for the box", kFirmwareImageLimit);
    }
    return {};
}
