// stomplet-sim's command line, standard-input commands and traffic lines, as pure transforms.

#include "LineSplitter.h"
#include "SimCommand.h"
#include "SimOptions.h"
#include "TrafficLine.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <gtest/gtest.h>
#include <string_view>
#include <vector>

namespace
{
using Jack = VirtualStomplet::Jack;
using FootSwitch = VirtualStomplet::FootSwitch;

SimArgumentsResult Parse(std::vector<std::string_view> args)
{
    return ParseSimArguments(args);
}
} // namespace

TEST(SimArguments, NoArgumentsRunAFactoryBoxAndEveryOptionTakesItsValueApartOrAfterEquals)
{
    const SimOptions defaults = Parse({}).arguments->options;
    EXPECT_FALSE(defaults.midiApi);
    EXPECT_FALSE(defaults.standalone);
    EXPECT_EQ(defaults.versionByte, 0x0C);
    EXPECT_FALSE(defaults.firmwareOut);
    EXPECT_TRUE(defaults.readStdin);

    const SimArgumentsResult result = Parse({"--midi-api=jack", "--standalone", "--version-byte",
                                             "0x11", "--firmware-out", "image.bin", "--no-stdin"});
    ASSERT_TRUE(result.arguments) << result.error;
    const SimOptions& options = result.arguments->options;
    EXPECT_EQ(options.midiApi, MidiSystem::kJack);
    EXPECT_TRUE(options.standalone);
    EXPECT_EQ(options.versionByte, 0x11);
    EXPECT_EQ(options.firmwareOut, "image.bin");
    EXPECT_FALSE(options.readStdin);

    const SimArgumentsResult alsa = Parse({"--midi-api", "alsa", "--version-byte=127"});
    ASSERT_TRUE(alsa.arguments) << alsa.error;
    EXPECT_EQ(alsa.arguments->options.midiApi, MidiSystem::kAlsa);
    EXPECT_EQ(alsa.arguments->options.versionByte, 127);
}

TEST(SimArguments, HelpAndVersionWinOverOtherOptionsAndBadArgumentsGiveOneLineNamingThem)
{
    EXPECT_EQ(Parse({"--standalone", "--help"}).arguments->action, SimAction::kHelp);
    EXPECT_EQ(Parse({"-h"}).arguments->action, SimAction::kHelp);
    EXPECT_EQ(Parse({"--version", "--no-stdin"}).arguments->action, SimAction::kVersion);
    EXPECT_FALSE(Parse({"--help", "--bogus"}).arguments);
    const std::vector<std::vector<std::string_view>> bad{
        {"--midi-api", "coreaudio"}, {"--midi-api"}, {"--version-byte", "128"},
        {"--firmware-out="},         {"--bogus"},    {"image.bin"},
        {"--standalone=yes"}};
    for (const auto& args : bad)
    {
        const SimArgumentsResult result = Parse(args);
        EXPECT_FALSE(result.arguments) << args.front();
        EXPECT_FALSE(result.error.empty()) << args.front();
        EXPECT_EQ(result.error.find('\n'), std::string::npos) << result.error;
    }
    EXPECT_NE(Parse({"--version-byte", "128"}).error.find("\"128\""), std::string::npos);
}

TEST(SimArguments, VersionByteIsDecimalOrHexUpTo127)
{
    EXPECT_EQ(ParseVersionByte("12"), 12);
    EXPECT_EQ(ParseVersionByte("0x7F"), 0x7F);
    EXPECT_EQ(ParseVersionByte("0X0c"), 0x0C);
    EXPECT_FALSE(ParseVersionByte("0x80"));
    EXPECT_FALSE(ParseVersionByte(" 12"));
}

TEST(SimArguments, UsageDocumentsEveryOptionAndEveryCommand)
{
    const std::string usage = SimUsage();
    for (std::string_view word :
         {"--midi-api alsa|jack", "--standalone", "--version-byte N", "--firmware-out FILE",
          "--no-stdin", "--help", "--version", "pedal J P", "press S", "release S", "quit",
          "Korvo-Audio ctrlWave Stomplet", "MIDI In", "MIDI Out", "Exit status"})
        EXPECT_NE(usage.find(word), std::string::npos) << word;
    EXPECT_TRUE(usage.ends_with('\n'));
}

TEST(SimCommands, PedalTakesAJackAndAPositionBlankAndCommentLinesDoNothingAndQuitEnds)
{
    const SimCommandResult result = ParseSimCommand("pedal 2 127");
    ASSERT_TRUE(result.command) << result.error;
    EXPECT_EQ(result.command->kind, SimCommand::Kind::kPedal);
    EXPECT_EQ(result.command->jack, Jack::k2);
    EXPECT_EQ(result.command->position, 127);

    const SimCommandResult spaced = ParseSimCommand("  pedal\t1   0 \r");
    ASSERT_TRUE(spaced.command) << spaced.error;
    EXPECT_EQ(spaced.command->jack, Jack::k1);
    EXPECT_EQ(spaced.command->position, 0);
    for (std::string_view line : {"", "\r", "  #pedal 1 2"})
        EXPECT_EQ(ParseSimCommand(line).command->kind, SimCommand::Kind::kNothing) << line;
    EXPECT_EQ(ParseSimCommand("quit").command->kind, SimCommand::Kind::kQuit);
}

TEST(SimCommands, PressAndReleaseNameASwitchByLetterAndJack)
{
    struct Case
    {
        std::string_view line;
        SimCommand::Kind kind;
        Jack jack;
        FootSwitch footSwitch;
    };
    for (const Case& c : {Case{"press a1", SimCommand::Kind::kPress, Jack::k1, FootSwitch::kA},
                          Case{"release b2", SimCommand::Kind::kRelease, Jack::k2, FootSwitch::kB}})
    {
        const SimCommandResult result = ParseSimCommand(c.line);
        ASSERT_TRUE(result.command) << c.line << ": " << result.error;
        EXPECT_EQ(result.command->kind, c.kind) << c.line;
        EXPECT_EQ(result.command->jack, c.jack) << c.line;
        EXPECT_EQ(result.command->footSwitch, c.footSwitch) << c.line;
    }
}

TEST(SimCommands, MalformedCommandsGiveOneLineAndNoCommand)
{
    for (std::string_view line :
         {"pedal 1", "pedal 3 64", "pedal 0 64", "pedal 1 128", "pedal 1 64 5", "pedal 1 6x",
          "press c1", "press a3", "release A1", "quit now", "jump"})
    {
        const SimCommandResult result = ParseSimCommand(line);
        EXPECT_FALSE(result.command) << line;
        EXPECT_FALSE(result.error.empty()) << line;
        EXPECT_EQ(result.error.find('\n'), std::string::npos) << line;
    }
    // An unknown word is shown with control bytes escaped and cut after 80 bytes.
    const std::string error =
        ParseSimCommand(std::string("j\0\x1B", 3) + std::string(500, 'x')).error;
    EXPECT_NE(error.find("\"j\\x00\\x1B" + std::string(77, 'x') + "...\""), std::string::npos)
        << error;
}

// Mended: standard input was searched from its start for every chunk (quadratic in a long line)
// and a huge line was kept whole and echoed whole.
TEST(SimCommands, InputIsCutIntoLinesOfBoundedLengthWhateverTheChunks)
{
    LineSplitter splitter(8);
    std::vector<LineSplitter::Line> lines = splitter.Take("pedal");
    EXPECT_TRUE(lines.empty());
    lines = splitter.Take(" 1\nquit\n\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].text, "pedal 1");
    EXPECT_EQ(lines[1].text, "quit");
    EXPECT_EQ(lines[2].length, 0u);

    // 200 MB without a line end, in 64 KiB chunks: only the first 80 bytes are ever kept.
    const std::string chunk(65536, 'z');
    for (int i = 0; i < 200 * 16; ++i)
        ASSERT_TRUE(splitter.Take(chunk).empty());
    lines = splitter.Take("z\nrelease a1");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].tooLong);
    EXPECT_EQ(lines[0].length, 200u * 1024u * 1024u + 1u);
    EXPECT_EQ(lines[0].text, std::string(80, 'z'));
    const std::optional<LineSplitter::Line> last = splitter.Finish();
    ASSERT_TRUE(last);
    EXPECT_EQ(last->text, "release a1");
    EXPECT_TRUE(last->tooLong); // longer than 8
    EXPECT_FALSE(splitter.Finish());
}

TEST(TrafficLines, StampDirectionAndUpperCaseHexInFixedColumns)
{
    using std::chrono::microseconds;
    const std::array<std::uint8_t, 9> request{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x71, 0x00, 0xF7};
    EXPECT_EQ(FormatTrafficLine(microseconds(123456), TrafficDirection::kIn, request),
              "   123.456 in  F0 00 3F 5A 04 02 71 00 F7");
    const std::array<std::uint8_t, 3> control{0xB0, 0x0B, 0x40};
    EXPECT_EQ(FormatTrafficLine(microseconds(5), TrafficDirection::kOut, control),
              "     0.005 out B0 0B 40");
    EXPECT_EQ(FormatTrafficLine(microseconds(12345678901), TrafficDirection::kOut, control),
              "12345678.901 out B0 0B 40");
    EXPECT_EQ(FormatTrafficLine(microseconds(-3), TrafficDirection::kIn, control),
              "     0.000 in  B0 0B 40");
}
