#include "device/PresetFile.h"

#include "device/ParameterBytes.h"
#include "device/SysExMessages.h"
#include "editor/ctrlWaveStomplet.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <random>
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

// The lines of a preset file: F0 00 3F 5A 04 03, `version`, the values, F7.
std::vector<std::string> PresetLines(const PresetValues& values, const std::string& version = "0A")
{
    std::vector<std::string> lines{"F0", "00", "3F", "5A", "04", "03", version};
    for (std::uint8_t v : values)
    {
        char text[3];
        std::snprintf(text, sizeof text, "%02X", static_cast<unsigned>(v));
        lines.emplace_back(text);
    }
    lines.emplace_back("F7");
    return lines;
}

std::string Join(const std::vector<std::string>& lines, const std::string& end)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + end;
    return text;
}

std::optional<PresetFileError> ErrorOf(const PresetReadResult& result)
{
    if (const PresetFileError* error = std::get_if<PresetFileError>(&result))
        return *error;
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

TEST(PresetFileFormat, FreshEditorSavesTheFortySixLinesOfAllSettingsWithTwoUpperCaseDigits)
{
    ctrlWaveStomplet editor;
    const auto bytes = ParameterBytes(editor);
    ASSERT_TRUE(bytes);
    std::string expected = "F0\r\n"             // start of SysEx
                           "00\r\n3F\r\n5A\r\n" // manufacturer
                           "04\r\n03\r\n"       // model, All Settings command
                           "0A\r\n";            // format version 1.0
    for (int i = 0; i < 38; ++i)                // parameters 0 to 37
        expected += "00\r\n";
    expected += "F7\r\n"; // end of SysEx
    EXPECT_EQ(FormatPresetFile(*bytes), expected);

    PresetValues values{};
    values[kPedal1Controller] = 0x0B;
    values[kSwitch1SpecialUpper] = 0x7F;
    const std::string text = FormatPresetFile(values);
    EXPECT_EQ(text.substr(30 * 4, 4), "0B\r\n"); // line 31: parameter 23
    EXPECT_EQ(text.substr(44 * 4, 4), "7F\r\n"); // line 45: parameter 37
}

TEST(PresetFileParse, SavedFileReadsBackAndSendsTheIdenticalMessage)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round)
    {
        PresetValues values{};
        for (int idx = 0; idx < kNumParams; ++idx)
            values[static_cast<std::size_t>(idx)] = static_cast<std::uint8_t>(
                std::uniform_int_distribution<int>(0, ParamMaxValue(idx))(random));
        const PresetReadResult result = ParsePresetFile(FormatPresetFile(values));
        ASSERT_EQ(ValuesOf(result), values);
        EXPECT_EQ(std::get<PresetFileContent>(result).version, 0x0A);
        const auto sent = BuildAllSettings(ClampPresetValues(ValuesOf(result)));
        ASSERT_TRUE(sent);
        EXPECT_EQ(sent->bytes, BuildAllSettings(values)->bytes);
    }
}

TEST(PresetFileParse, LineFeedsWithOrWithoutOneCarriageReturnAndBlankLinesReadAlike)
{
    const PresetValues values = SampleValues();
    std::vector<std::string> lines = PresetLines(values);
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines, "\n"))), values);
    EXPECT_EQ(ErrorOf(ParsePresetFile(Join(lines, "\r\r\n"))), PresetFileError::kUnknownFormat);
    EXPECT_EQ(ErrorOf(ParsePresetFile(Join(lines, "\r"))), PresetFileError::kUnknownFormat);
    lines.insert(lines.begin() + 3, "");
    lines.insert(lines.begin() + 20, "");
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines, "\r\n"))), values);
    EXPECT_EQ(ValuesOf(ParsePresetFile("\n\n" + Join(lines, "\n"))), values);
}

TEST(PresetFileParse, VersionUpToThirteenHexLoadsAndFourteenIsRefused)
{
    EXPECT_FALSE(ErrorOf(ParsePresetFile(Join(PresetLines({}, "13"), "\r\n"))));
    for (const char* version : {"14", "FF"})
        EXPECT_EQ(ErrorOf(ParsePresetFile(Join(PresetLines({}, version), "\r\n"))),
                  PresetFileError::kUnsupportedVersion)
            << version;
}

TEST(PresetFileParse, WrongHeaderTooFewLinesOrABadValueLineIsUnknownFormat)
{
    std::vector<std::vector<std::string>> bad;
    for (std::size_t line : {1u, 5u}) // lines 2 and 6 of the header
    {
        bad.push_back(PresetLines({}));
        bad.back()[line] = "01";
    }
    bad.push_back(PresetLines(SampleValues()));
    bad.back().resize(44);
    for (const std::string& value :
         {"G0"s, "100"s, "7F "s, "0x7"s, "-1"s, "7\0"s}) // "\0": no digit
    {
        bad.push_back(PresetLines(SampleValues()));
        bad.back()[30] = value;
    }
    for (const std::vector<std::string>& lines : bad)
        EXPECT_EQ(ErrorOf(ParsePresetFile(Join(lines, "\r\n"))), PresetFileError::kUnknownFormat)
            << lines.size() << " lines, header " << lines[1] << " " << lines[5];
    EXPECT_EQ(ErrorOf(ParsePresetFile("")), PresetFileError::kUnknownFormat);
}

TEST(PresetFileParse, FirstLastAndExtraLinesAreNotCheckedAndValuesAreKeptAsRead)
{
    std::vector<std::string> lines = PresetLines({});
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
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines, "\r\n"))), expected);
    lines.resize(45);
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines, "\r\n"))), expected);
}

TEST(PresetFileParse, TextOf1024BytesOrMoreIsTooLarge)
{
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
    {
        const IParam& param = *editor.GetParam(idx);
        for (int v = 0; v <= 0xFF; ++v)
        {
            const double normalized = v / static_cast<double>(ParamMaxValue(idx));
            ASSERT_EQ(static_cast<int>(param.FromNormalized(normalized)),
                      ClampPresetValue(idx, static_cast<std::uint8_t>(v)))
                << "parameter " << idx << ", value " << v;
        }
    }
    EXPECT_EQ(ClampPresetValue(-1, 5), 0);
    EXPECT_EQ(ClampPresetValue(kNumParams, 5), 0);
}

TEST(PresetDisplayName, OnlyTheLastExtensionAndTheFolderAreRemoved)
{
    EXPECT_EQ(PresetDisplayName("/home/me/presets/live.set.csx"), "live.set");
    EXPECT_EQ(PresetDisplayName("C:\\Presets\\live.set.csx"), "live.set");
    EXPECT_EQ(PresetDisplayName("live.csx"), "live");
    EXPECT_EQ(PresetDisplayName("/home/me/my.presets/live"), "live");
}

TEST(PresetFileOnDisk, WrittenPresetIs184BytesAndReadsBack)
{
    TempFolder folder;
    const fs::path path = folder.Path() / "live.set.csx";
    const PresetValues values = SampleValues();
    ASSERT_FALSE(WritePresetFile(path, values));
    EXPECT_EQ(ReadBytes(path), FormatPresetFile(values));
    EXPECT_EQ(ValuesOf(ReadPresetFile(path)), values);
}

TEST(PresetFileOnDisk, MissingFileOrFolderCannotBeOpenedAndABigFileIsTooLarge)
{
    TempFolder folder;
    EXPECT_EQ(ErrorOf(ReadPresetFile(folder.Path() / "none.csx")), PresetFileError::kCannotOpen);
    EXPECT_EQ(ErrorOf(ReadPresetFile(folder.Path())), PresetFileError::kCannotOpen);

    const fs::path big = folder.Path() / "big.csx";
    std::string text = FormatPresetFile(SampleValues());
    text.resize(1024, '\n');
    WriteBytes(big, text);
    EXPECT_EQ(ErrorOf(ReadPresetFile(big)), PresetFileError::kTooLarge);
}
