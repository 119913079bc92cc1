#include "device/PresetFile.h"

#include "editor/ctrlWaveStomplet.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;
using namespace std::string_literals;
using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

// 38 values 00 to 7F that differ from one another and from their index.
PresetValues SampleValues()
{
    PresetValues values{};
    for (std::size_t i = 0; i < values.size(); ++i)
        values[i] = static_cast<std::uint8_t>((i * 37 + 5) % 128);
    return values;
}

// The lines of the saved file of `values` (pinned below), with `version` on line 7.
std::vector<std::string> PresetLines(const PresetValues& values, const std::string& version = "0A")
{
    std::vector<std::string> lines;
    const std::string text = FormatPresetFile(values);
    for (std::size_t at = 0; at < text.size(); at += 4) // two digits, CR, LF
        lines.push_back(text.substr(at, 2));
    lines[6] = version;
    return lines;
}

std::string Join(const std::vector<std::string>& lines, const std::string& end = "\r\n")
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

std::optional<PresetFileError> ErrorOf(const PresetReadResult& result)
{
    if (const PresetFileRefusal* refusal = std::get_if<PresetFileRefusal>(&result))
        return refusal->error;
    return std::nullopt;
}

// The values read, or a failed expectation when the file was refused.
PresetValues ValuesOf(const PresetReadResult& result)
{
    const PresetFileContent* content = std::get_if<PresetFileContent>(&result);
    EXPECT_TRUE(content) << "refused with error " << static_cast<int>(*ErrorOf(result));
    return content ? content->values : PresetValues{};
}
} // namespace

TEST(PresetFileFormat, SettingsAreSavedAsTheFortySixLinesOfAllSettingsWithTwoUpperCaseDigits)
{
    std::string expected = "F0\r\n"             // start of SysEx
                           "00\r\n3F\r\n5A\r\n" // manufacturer
                           "04\r\n03\r\n"       // model, All Settings command
                           "0A\r\n";            // format version 1.0
    for (int i = 0; i < 38; ++i)                // parameters 0 to 37
        expected += "00\r\n";
    expected += "F7\r\n"; // end of SysEx
    EXPECT_EQ(FormatPresetFile({}), expected);

    PresetValues values{};
    values[kPedal1Controller] = 0x0B;
    values[kSwitch1SpecialUpper] = 0x7F;
    const std::string text = FormatPresetFile(values);
    EXPECT_EQ(text.substr(30 * 4, 4), "0B\r\n"); // line 31: parameter 23
    EXPECT_EQ(text.substr(44 * 4, 4), "7F\r\n"); // line 45: parameter 37
}

TEST(PresetFileParse, LineEndsBlankLinesUncheckedLinesAndVersionsUpToThirteenRead)
{
    const PresetValues values = SampleValues();
    std::vector<std::string> lines = PresetLines(values);
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines, "\n"))), values);
    lines.insert(lines.begin() + 3, "");
    lines.insert(lines.begin() + 20, "");
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines))), values);
    EXPECT_EQ(ValuesOf(ParsePresetFile("\n\n" + Join(lines, "\n"))), values);
    const PresetReadResult thirteen = ParsePresetFile(Join(PresetLines({}, "13")));
    EXPECT_EQ(std::get<PresetFileContent>(thirteen).version, 0x13);

    lines = PresetLines({}); // first, last and extra lines unchecked; values kept as read
    lines.front() = "preset";
    lines[7] = "1";               // parameter 0: one digit
    lines[7 + kJack1Mode] = "7f"; // lower case, beyond the setting's range
    lines[7 + kPedal1Controller] = "FF";
    lines.back() = "end of it";
    lines.emplace_back("ZZ");
    PresetValues expected{};
    expected[kJack2Mode] = 0x01;
    expected[kJack1Mode] = 0x7F;
    expected[kPedal1Controller] = 0xFF;
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines))), expected);
    lines.resize(45);
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines))), expected);
}

TEST(PresetFileParse, WrongHeaderLinesOrValuesAreUnknownLaterVersionsAndLongTextsRefused)
{
    std::vector<std::string> bad[] = {PresetLines({}), PresetLines({}), PresetLines({}),
                                      PresetLines({})};
    bad[0][1] = "01"; // lines 2 and 6 of the header
    bad[1][5] = "01";
    bad[2].resize(44);
    for (const std::string& value :
         {"G0"s, "100"s, "7F "s, "0x7"s, "-1"s, "7\0"s}) // "\0": no digit
    {
        bad[3][30] = value;
        EXPECT_EQ(ErrorOf(ParsePresetFile(Join(bad[3]))), PresetFileError::kUnknownFormat) << value;
    }
    for (std::size_t i = 0; i < 3; ++i)
        EXPECT_EQ(ErrorOf(ParsePresetFile(Join(bad[i]))), PresetFileError::kUnknownFormat) << i;
    for (const char* end : {"\r\r\n", "\r"})
        EXPECT_EQ(ErrorOf(ParsePresetFile(Join(PresetLines({}), end))),
                  PresetFileError::kUnknownFormat);
    EXPECT_EQ(ErrorOf(ParsePresetFile("")), PresetFileError::kUnknownFormat);
    for (const char* version : {"14", "FF"})
        EXPECT_EQ(ErrorOf(ParsePresetFile(Join(PresetLines({}, version)))),
                  PresetFileError::kUnsupportedVersion);

    std::string text = FormatPresetFile(SampleValues());
    text.resize(1023, '\n');
    EXPECT_FALSE(ErrorOf(ParsePresetFile(text)));
    text += '\n';
    EXPECT_EQ(ErrorOf(ParsePresetFile(text)), PresetFileError::kTooLarge);
}

TEST(PresetClamp, AgreesWithWhatEachSettingMakesOfTheNormalizedValue)
{
    ctrlWaveStomplet editor;
    for (int idx = 0; idx < kNumParams; ++idx)
        for (int v = 0; v <= 0xFF; ++v)
            ASSERT_EQ(static_cast<int>(editor.GetParam(idx)->FromNormalized(
                          v / static_cast<double>(ParamMaxValue(idx)))),
                      ClampPresetValue(idx, static_cast<std::uint8_t>(v)))
                << "parameter " << idx << ", value " << v;
    PresetValues wide;
    wide.fill(0xFF);
    for (int idx = 0; idx < kNumParams; ++idx)
        EXPECT_EQ(ClampPresetValues(wide)[static_cast<std::size_t>(idx)],
                  ClampPresetValue(idx, 0xFF));
    EXPECT_EQ(ClampPresetValue(-1, 5), 0);
    EXPECT_EQ(ClampPresetValue(kNumParams, 5), 0);
}

TEST(PresetFileOnDisk, WrittenPresetReadsBackAndMissingOrBigFilesAreRefused)
{
    EXPECT_EQ(PresetDisplayName("/home/me/presets/live.set.csx"), "live.set");
    EXPECT_EQ(PresetDisplayName("C:\\Presets\\live.set.csx"), "live.set");
    EXPECT_EQ(PresetDisplayName("/home/me/my.presets/live"), "live");

    TempFolder folder;
    const fs::path path = folder.Path() / "live.set.csx";
    ASSERT_FALSE(WritePresetFile(path, SampleValues()));
    EXPECT_EQ(ReadBytes(path), FormatPresetFile(SampleValues()));
    EXPECT_EQ(ValuesOf(ReadPresetFile(path)), SampleValues());

    EXPECT_EQ(ErrorOf(ReadPresetFile(folder.Path() / "none.csx")), PresetFileError::kCannotOpen);
    EXPECT_EQ(ErrorOf(ReadPresetFile(folder.Path())), PresetFileError::kCannotOpen);
    std::string text = FormatPresetFile(SampleValues());
    text.resize(1024, '\n');
    WriteBytes(path, text);
    EXPECT_EQ(ErrorOf(ReadPresetFile(path)), PresetFileError::kTooLarge);
}
