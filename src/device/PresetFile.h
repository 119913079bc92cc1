#pragma once

#include "core/AtomicFile.h"
#include "device/SettingBytes.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <variant>

// Preset files ("csx"): the All Settings message as text, one byte per line as two upper-case
// hexadecimal digits and CR LF, 46 lines and 184 bytes in all:
//   F0 | 00 3F 5A | 04 | 03 | format version (0A: 1.0) | the 38 setting bytes in index order | F7
//
// Reading is lenient about line ends and strict about content: lines end in LF with an optional
// CR before it, empty lines are skipped, and lines 2 to 45 must each be one or two hexadecimal
// digits (either case). Lines 1 and 46 are not checked, and anything after line 46 is ignored.
//
// Every function here but ReadPresetFile and WritePresetFile, which use the file system, is a pure
// transform. [any thread]

inline constexpr std::string_view kPresetFileExtension = "csx";
inline constexpr std::size_t kPresetFileLines = 46;
inline constexpr std::size_t kPresetFileSize = 184;   // as written: 46 x "XX\r\n"
inline constexpr std::size_t kPresetFileLimit = 1024; // files of this size or more are not read
// Why a file of kPresetFileLimit bytes or more is refused.
inline constexpr std::string_view kPresetTooLargeText = "is 1024 bytes or more: not a preset";
// Format versions up to 1.9 (byte 13) are read; version 2.0 (byte 14) and later are refused.
inline constexpr int kHighestPresetFormatMajor = 1;

// "Untitled": the preset name before any preset has been loaded or saved.
inline constexpr std::string_view kUntitledPresetName = "Untitled";
// Shown (deferred to the next idle tick) for a file that is no preset.
inline constexpr std::string_view kUnknownFileFormatText = "Unknown file format.";
// Shown at once for a preset of a later format version.
inline constexpr std::string_view kUnsupportedFileVersionText =
    "Unsupported file version. \nPlease update the Stomplet Editor \nto the latest version.";

// One byte per setting, in index order.
using PresetValues = SettingBytes;

// Why a preset file gives no settings. Nothing may change in any of these cases.
enum class PresetFileError
{
    kCannotOpen,         // the file cannot be read; nothing is shown
    kTooLarge,           // 1024 bytes or more; nothing is shown
    kUnknownFormat,      // kUnknownFileFormatText
    kUnsupportedVersion, // kUnsupportedFileVersionText
};

// What a preset file holds.
struct PresetFileContent
{
    std::uint8_t version = 0; // line 7: ten times the format version
    // Lines 8 to 45 as read, 00 to FF: not yet constrained to the settings' ranges
    // (ClampPresetValues does that).
    PresetValues values{};
};

// Why a preset file gives no settings, in words a user can act on: for kUnknownFormat the first
// line refused and why (`line 9: "-1" is not a byte in hex`, "line 3: 3E where a preset has 3F",
// "40 lines; a preset has 46"), line numbers counted as a text editor counts them.
struct PresetFileRefusal
{
    PresetFileError error;
    std::string detail;
};

// Exactly one is held: the content, or why there is none.
using PresetReadResult = std::variant<PresetFileContent, PresetFileRefusal>;

// The text of a preset holding `values`: 184 bytes, format version 0A. Each value is written as
// it is; the editor's settings are all 00 to 7F.
std::string FormatPresetFile(const PresetValues& values);

// Reads the text of a preset file. In this order: 1024 bytes or more are kTooLarge; a line among
// lines 2 to 45 that is not one or two hexadecimal digits, lines 2 to 6 other than 00 3F 5A 04 03,
// or fewer than 45 lines, are kUnknownFormat; a version byte whose tens (byte / 10) exceed 1 is
// kUnsupportedVersion. (Line numbers here count the non-empty lines.)
PresetReadResult ParsePresetFile(std::string_view text);

// The value setting `paramIdx` takes from the preset byte `value`: `value`, or the setting's
// largest value when `value` is larger (7F for "JACK 1 Mode" becomes 01, "Switches"). 0 for an
// index outside 0 to 37.
std::uint8_t ClampPresetValue(int paramIdx, std::uint8_t value);
// Every value clamped so: the settings after a load, and the bytes then sent to the box.
PresetValues ClampPresetValues(const PresetValues& values);

// The name shown for the preset at `path`: the file name without its folder (the part after the
// last "/" or "\") and without its last extension ("live.set.csx" shows "live.set").
std::string PresetDisplayName(std::string_view path);

// Reads and parses the preset file at `path`; a file that cannot be read is kCannotOpen.
PresetReadResult ReadPresetFile(const std::filesystem::path& path);

// Writes the preset holding `values` to `path` atomically: a failed write leaves a file already
// there as it was. Empty on success.
std::optional<AtomicWriteError> WritePresetFile(const std::filesystem::path& path,
                                                const PresetValues& values);
