#include "editor/PresetFile.h"

#include "device/SysExMessages.h"
#include "editor/ParameterBytes.h"
#include "editor/ctrlWaveStomplet.h"
#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <cstdio>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{
namespace fs = std::filesystem;
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

TEST(PresetFileFormat, FreshEditorSavesTheFortySixLinesOfAllSettingsWithZeroValues)
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
    EXPECT_EQ(FormatPresetFile(*bytes).size(), 184u);
}

TEST(PresetFileFormat, EachValueIsTwoUpperCaseDigitsOnItsParametersLine)
{
    PresetValues values{};
    values[kJack2Mode] = 0x01;
    values[kPedal1Controller] = 0x0B;
    values[kSwitch1SpecialUpper] = 0x7F;
    const std::string text = FormatPresetFile(values);
    EXPECT_EQ(text.substr(7 * 4, 4), "01\r\n");  // line 8: parameter 0
    EXPECT_EQ(text.substr(30 * 4, 4), "0B\r\n"); // line 31: parameter 23
    EXPECT_EQ(text.substr(44 * 4, 4), "7F\r\n"); // line 45: parameter 37
}

TEST(PresetFileParse, SavedFileReadsBackAndSendsTheIdenticalMessage)
{
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round)
    {
        PresetValues values{};
        for (int idx = 0; idx < kNumParams; ++idx)
        {
            const int max = ParamMaxValue(idx);
            values[static_cast<std::size_t>(idx)] =
                static_cast<std::uint8_t>(std::uniform_int_distribution<int>(0, max)(random));
        }
        const PresetReadResult result = ParsePresetFile(FormatPresetFile(values));
        ASSERT_EQ(ValuesOf(result), values);
        EXPECT_EQ(std::get<PresetFileContent>(result).version, 0x0A);

        const auto sent = BuildAllSettings(ClampPresetValues(ValuesOf(result)));
        const auto original = BuildAllSettings(values);
        ASSERT_TRUE(sent && original);
        EXPECT_EQ(sent->bytes, original->bytes);
    }
}

TEST(PresetFileParse, BareLineFeedEndingsReadLikeCarriageReturnLineFeed)
{
    const PresetValues values = SampleValues();
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(PresetLines(values), "\n"))), values);
}

TEST(PresetFileParse, BlankLinesOfEitherEndingShiftNoValue)
{
    const PresetValues values = SampleValues();
    std::vector<std::string> lines = PresetLines(values);
    lines.insert(lines.begin() + 3, "");
    lines.insert(lines.begin() + 20, "");
    lines.insert(lines.begin() + 21, "");
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines, "\r\n"))), values);
    EXPECT_EQ(ValuesOf(ParsePresetFile("\n\n" + Join(lines, "\n"))), values);
}

TEST(PresetFileParse, OnlyOneCarriageReturnBeforeTheLineFeedIsDropped)
{
    const std::vector<std::string> lines = PresetLines(SampleValues());
    EXPECT_EQ(ErrorOf(ParsePresetFile(Join(lines, "\r\r\n"))), PresetFileError::kUnknownFormat);
    EXPECT_EQ(ErrorOf(ParsePresetFile(Join(lines, "\r"))), PresetFileError::kUnknownFormat);
}

TEST(PresetFileParse, VersionUpToThirteenHexLoadsAndFourteenIsRefused)
{
    for (const char* version : {"00", "0A", "13"})
        EXPECT_FALSE(ErrorOf(ParsePresetFile(Join(PresetLines({}, version), "\r\n")))) << version;
    for (const char* version : {"14", "7F", "FF"})
    {
        EXPECT_EQ(ErrorOf(ParsePresetFile(Join(PresetLines({}, version), "\r\n"))),
                  PresetFileError::kUnsupportedVersion)
            << version;
    }
}

TEST(PresetFileParse, WrongHeaderByteIsUnknownFormat)
{
    for (std::size_t line = 1; line <= 5; ++line) // lines 2 to 6
    {
        std::vector<std::string> lines = PresetLines({});
        lines[line] = "01";
        EXPECT_EQ(ErrorOf(ParsePresetFile(Join(lines, "\r\n"))), PresetFileError::kUnknownFormat)
            << "line " << line + 1;
    }
}

TEST(PresetFileParse, FirstAndLastLinesAreNotChecked)
{
    const PresetValues values = SampleValues();
    std::vector<std::string> lines = PresetLines(values);
    lines.front() = "preset";
    lines.back() = "end of it";
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines, "\r\n"))), values);
    lines.pop_back(); // 45 lines
    EXPECT_EQ(ValuesOf(ParsePresetFile(Join(lines, "\r\n"))), values);
}

TEST(PresetFileParse, FewerThanFortyFiveLinesIsUnknownFormat)
{
    std::vector<std::string> lines = PresetLines(SampleValues());
    lines.resize(44);
    EXPECT_EQ(ErrorOf(ParsePresetFile(Join(lines, "\r\n"))), PresetFileError::kUnknownFormat);
    EXPECT_EQ(ErrorOf(ParsePresetFile("")), PresetFileError::kUnknownFormat);
    EXPECT_EQ(ErrorOf(ParsePresetFile("\r\n\r\n")), PresetFileError::kUnknownFormat);
}

TEST(PresetFileParse, ValueLineThatIsNotOneOrTwoHexDigitsIsUnknownFormat)
{
    for (const char* bad : {"G0", "100", "7F ", " 7F", "0x7", "-1", "+1", "7\t"})
    {
        std::vector<std::string> lines = PresetLines(SampleValues());
        lines[30] = bad;
        EXPECT_EQ(ErrorOf(ParsePresetFile(Join(lines, "\r\n"))), PresetFileError::kUnknownFormat)
            << '"' << bad << '"';
    }
    std::vector<std::string> lines = PresetLines(SampleValues());
    lines[30] = std::string("7\0", 2); // a zero byte is no digit either
    EXPECT_EQ(ErrorOf(ParsePresetFile(Join(lines, "\r\n"))), PresetFileError::kUnknownFormat);
}

TEST(PresetFileParse, OneDigitAndLowerCaseValuesAreRead)
{
    std::vector<std::string> lines = PresetLines({});
    lines[7] = "1";   // parameter 0
    lines[30] = "7f"; // parameter 23
    lines[44] = "0b"; // parameter 37
    const PresetValues values = ValuesOf(ParsePresetFile(Join(lines, "\n")));
    EXPECT_EQ(values[kJack2Mode], 0x01);
    EXPECT_EQ(values[kPedal1Controller], 0x7F);
    EXPECT_EQ(values[kSwitch1SpecialUpper], 0x0B);
}

TEST(PresetFileParse, LinesAfterTheFortySixthAreIgnored)
{
    const PresetValues values = SampleValues();
    EXPECT_EQ(ValuesOf(ParsePresetFile(FormatPresetFile(values) + "not a byte\r\nZZ\r\n")), values);
}

TEST(PresetFileParse, ValuesBeyondTheirRangeAreKeptAsRead)
{
    std::vector<std::string> lines = PresetLines({});
    lines[7 + kJack1Mode] = "7F";
    lines[7 + kPedal1Controller] = "FF";
    const PresetValues values = ValuesOf(ParsePresetFile(Join(lines, "\r\n")));
    EXPECT_EQ(values[kJack1Mode], 0x7F);
    EXPECT_EQ(values[kPedal1Controller], 0xFF);
}

TEST(PresetFileParse, TextOf1024BytesOrMoreIsTooLarge)
{
    std::string text = FormatPresetFile(SampleValues());
    text.resize(1023, '\n');
    EXPECT_FALSE(ErrorOf(ParsePresetFile(text)));
    text += '\n';
    EXPECT_EQ(ErrorOf(ParsePresetFile(text)), PresetFileError::kTooLarge);
}

TEST(PresetClamp, Jack1Mode7FClampsToSwitchesAndIsSentAs01)
{
    PresetValues values{};
    values[kJack1Mode] = 0x7F;
    const PresetValues clamped = ClampPresetValues(values);
    EXPECT_EQ(clamped[kJack1Mode], kJackModeSwitches);
    const auto sent = BuildAllSettings(clamped);
    ASSERT_TRUE(sent);
    EXPECT_EQ(sent->bytes[7 + kJack1Mode], 0x01);
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
}

TEST(PresetClamp, IndexOutsideTheTableGivesZero)
{
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

#if defined(__unix__)
TEST(PresetFileOnDisk, FailedSaveKeepsTheExistingPresetWhole)
{
    TempFolder folder;
    const fs::path path = folder.Path() / "live.csx";
    const std::string old = FormatPresetFile(SampleValues());
    WriteBytes(path, old);

    std::optional<AtomicWriteError> error;
    {
        const testfiles::FileSizeLimit limit(100); // so the 184-byte save fails part-way
        ASSERT_TRUE(limit.Active());
        error = WritePresetFile(path, PresetValues{});
    }

    ASSERT_TRUE(error);
    EXPECT_EQ(ReadBytes(path), old);
    EXPECT_NE(error->Describe().find("live.csx"), std::string::npos);
}
#endif
