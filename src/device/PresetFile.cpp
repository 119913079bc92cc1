#include "device/PresetFile.h"

#include "core/BoundedFileRead.h"
#include "device/FormatText.h"
#include "device/SysExMessages.h"

#include <algorithm>
#include <cstdio>

namespace
{
static_assert(kPresetFileLines == kAllSettingsSize);
static_assert(kPresetFileSize == 4 * kPresetFileLines);

// Lines 2 to 45 (value indices 1 to 44) must be bytes; lines 1 and 46 are not checked.
constexpr std::size_t kFirstCheckedLine = 1;
constexpr std::size_t kLastCheckedLine = kPresetFileLines - 2;
constexpr std::size_t kFewestLines = kLastCheckedLine + 1;

// Lines 1 to 6: the start of an All Settings message up to its command.
constexpr std::array<std::uint8_t, kAllSettingsFormatOffset> kHeader{
    kSysExStart,        kManufacturerId[0],  kManufacturerId[1],
    kManufacturerId[2], kModelConfiguration, kCommandAllSettings};

std::optional<unsigned> HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return static_cast<unsigned>(c - '0');
    if (c >= 'A' && c <= 'F')
        return static_cast<unsigned>(c - 'A' + 10);
    if (c >= 'a' && c <= 'f')
        return static_cast<unsigned>(c - 'a' + 10);
    return std::nullopt;
}

// A line of one or two hexadecimal digits as a byte.
std::optional<std::uint8_t> HexByte(std::string_view line)
{
    if (line.empty() || line.size() > 2)
        return std::nullopt;
    unsigned value = 0;
    for (char c : line)
    {
        const std::optional<unsigned> digit = HexDigit(c);
        if (!digit)
            return std::nullopt;
        value = value * 16 + *digit;
    }
    return static_cast<std::uint8_t>(value);
}

// The next non-empty line of `text`, without its LF and one CR before it; `text` moves past it
// and `lineNumber` counts every line passed, empty ones included. Empty when no such line is left.
std::optional<std::string_view> NextLine(std::string_view& text, std::size_t& lineNumber)
{
    while (!text.empty())
    {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty())
            return line;
    }
    return std::nullopt;
}

PresetFileRefusal TooLarge()
{
    return {PresetFileError::kTooLarge, std::string(kPresetTooLargeText)};
}

PresetFileRefusal UnknownFormat(std::string detail)
{
    return {PresetFileError::kUnknownFormat, std::move(detail)};
}
} // namespace

std::string FormatPresetFile(const PresetValues& values)
{
    std::array<std::uint8_t, kPresetFileLines> message{};
    std::copy(kHeader.begin(), kHeader.end(), message.begin());
    message[kAllSettingsFormatOffset] = kAllSettingsFormatVersion;
    std::copy(values.begin(), values.end(), message.begin() + kAllSettingsValuesOffset);
    message.back() = kSysExEnd;

    std::string text;
    text.reserve(kPresetFileSize);
    for (std::uint8_t byte : message)
    {
        char line[8];
        std::snprintf(line, sizeof line, "%02X\r\n", static_cast<unsigned>(byte));
        text += line;
    }
    return text;
}

PresetReadResult ParsePresetFile(std::string_view text)
{
    if (text.size() >= kPresetFileLimit)
        return TooLarge();

    std::array<std::uint8_t, kPresetFileLines> bytes{};
    std::size_t count = 0;
    std::size_t lineNumber = 0;
    std::size_t versionLine = 0;
    while (count < kPresetFileLines)
    {
        const std::optional<std::string_view> line = NextLine(text, lineNumber);
        if (!line)
            break;
        const std::optional<std::uint8_t> byte = HexByte(*line);
        const bool checked = count >= kFirstCheckedLine && count <= kLastCheckedLine;
        if (!byte && checked)
            return UnknownFormat(FormatText("line %zu: \"", lineNumber) + PrintableText(*line, 16) +
                                 "\" is not a byte in hex");
        // Line 1 is not checked; lines 2 to 6 are the message's start.
        if (count >= 1 && count < kHeader.size() && *byte != kHeader[count])
            return UnknownFormat(FormatText("line %zu: %02X where a preset has %02X", lineNumber,
                                            *byte, kHeader[count]));
        if (count == kAllSettingsFormatOffset)
            versionLine = lineNumber;
        bytes[count++] = byte.value_or(0);
    }
    if (count < kFewestLines)
        return UnknownFormat(FormatText("%zu lines; a preset has %zu", count, kPresetFileLines));

    PresetFileContent content;
    content.version = bytes[kAllSettingsFormatOffset];
    if (content.version / 10 > kHighestPresetFormatMajor)
        return PresetFileRefusal{
            PresetFileError::kUnsupportedVersion,
            FormatText("line %zu: a later format version; please update the Stomplet Editor",
                       versionLine)};
    std::copy_n(bytes.begin() + kAllSettingsValuesOffset, kNumParams, content.values.begin());
    return content;
}

std::uint8_t ClampPresetValue(int paramIdx, std::uint8_t value)
{
    const int max = ParamMaxValue(paramIdx);
    if (max < 0)
        return 0;
    return value > max ? static_cast<std::uint8_t>(max) : value;
}

PresetValues ClampPresetValues(const PresetValues& values)
{
    PresetValues clamped{};
    for (int idx = 0; idx < kNumParams; ++idx)
    {
        const auto at = static_cast<std::size_t>(idx);
        clamped[at] = ClampPresetValue(idx, values[at]);
    }
    return clamped;
}

std::string PresetDisplayName(std::string_view path)
{
    const std::size_t slash = path.find_last_of("/\\");
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    const std::size_t dot = name.rfind('.');
    if (dot != std::string_view::npos)
        name = name.substr(0, dot);
    return std::string(name);
}

PresetReadResult ReadPresetFile(const std::filesystem::path& path)
{
    const std::variant<std::string, FileReadError> text = ReadFileBelow(path, kPresetFileLimit);
    if (const FileReadError* error = std::get_if<FileReadError>(&text))
    {
        if (*error == FileReadError::kTooLarge)
            return TooLarge();
        return PresetFileRefusal{PresetFileError::kCannotOpen, "cannot be read"};
    }
    return ParsePresetFile(*std::get_if<std::string>(&text));
}

std::optional<AtomicWriteError> WritePresetFile(const std::filesystem::path& path,
                                                const PresetValues& values)
{
    return WriteFileAtomically(path, FormatPresetFile(values));
}
