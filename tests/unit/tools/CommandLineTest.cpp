// The command-line programs' pure parts: stomplet-sim's arguments, standard-input commands, input
// lines and traffic lines; stomplet's arguments, setting texts, output and raw SysEx files.

#include "CliArguments.h"
#include "CliFormat.h"
#include "LineSplitter.h"
#include "SimCommand.h"
#include "SimOptions.h"
#include "TrafficLine.h"

#include <array>
#include <chrono>
#include <gtest/gtest.h>

namespace
{
using Jack = VirtualStomplet::Jack;
using Kind = SimCommand::Kind;

SimArgumentsResult Sim(std::vector<std::string_view> args)
{
    return ParseSimArguments(args);
}
CliArgumentsResult Cli(std::vector<std::string_view> args)
{
    return ParseCliArguments(args);
}
} // namespace

TEST(SimCommands, EachLineIsACommandOrOneLineOfErrorWithControlBytesEscaped)
{
    using Switch = VirtualStomplet::FootSwitch;
    const std::pair<std::string_view, SimCommand> taken[] = {
        {"pedal 2 127", {Kind::kPedal, Jack::k2, Switch::kA, 127}},
        {"  pedal\t1   0 \r", {Kind::kPedal}},
        {"press a1", {Kind::kPress}},
        {"release b2", {Kind::kRelease, Jack::k2, Switch::kB}},
        {"  #pedal 1 2", {}},
        {"\r", {}},
        {"quit", {Kind::kQuit}},
    };
    for (const auto& [line, expected] : taken)
    {
        const SimCommandResult result = ParseSimCommand(line);
        EXPECT_TRUE(result.command && result.command->kind == expected.kind &&
                    result.command->jack == expected.jack &&
                    result.command->footSwitch == expected.footSwitch &&
                    result.command->position == expected.position)
            << line << ": " << result.error;
    }
    for (std::string_view line :
         {"pedal 1", "pedal 3 64", "pedal 0 64", "pedal 1 128", "pedal 1 64 5", "pedal 1 6x",
          "press c1", "press a3", "release A1", "quit now", "jump"})
    {
        const SimCommandResult result = ParseSimCommand(line);
        EXPECT_FALSE(result.command) << line;
        EXPECT_TRUE(!result.error.empty() && result.error.find('\n') == std::string::npos);
    }
    // An unknown word is shown with control bytes escaped and cut after 80 bytes.
    EXPECT_NE(ParseSimCommand(std::string("j\0\x1B", 3) + std::string(500, 'x'))
                  .error.find("\"j\\x00\\x1B" + std::string(77, 'x') + "...\""),
              std::string::npos);
}

// Mended: standard input was searched from its start for every chunk (quadratic in a long line)
// and a huge line was kept whole and echoed whole.
TEST(SimCommands, InputIsCutIntoLinesOfBoundedLengthWhateverTheChunks)
{
    LineSplitter splitter(8);
    EXPECT_TRUE(splitter.Take("pedal").empty());
    std::vector<LineSplitter::Line> lines = splitter.Take(" 1\nquit\n\n");
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_TRUE(lines[0].text == "pedal 1" && lines[1].text == "quit" && lines[2].length == 0);
    // 200 MB without a line end, in 64 KiB chunks: only the first 80 bytes are ever kept.
    const std::string chunk(65536, 'z');
    for (int i = 0; i < 200 * 16; ++i)
        ASSERT_TRUE(splitter.Take(chunk).empty());
    lines = splitter.Take("z\nrelease a1");
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].tooLong && lines[0].length == 200u * 1024u * 1024u + 1u);
    EXPECT_EQ(lines[0].text, std::string(80, 'z'));
    EXPECT_EQ(splitter.Finish().value().text, "release a1"); // the last line without an end
}

TEST(TrafficLines, StampDirectionAndUpperCaseHexInFixedColumns)
{
    const std::array<std::uint8_t, 3> control{0xB0, 0x0B, 0x4F};
    const std::tuple<std::int64_t, TrafficDirection, std::string_view> lines[] = {
        {12345678901, TrafficDirection::kOut, "12345678.901 out B0 0B 4F"},
        {-3, TrafficDirection::kIn, "     0.000 in  B0 0B 4F"}, // a clock behind the start
    };
    for (const auto& [microseconds, direction, text] : lines)
        EXPECT_EQ(FormatTrafficLine(std::chrono::microseconds(microseconds), direction, control),
                  text);
}

// Both programs take options anywhere, their value apart or after '=', and refuse a bad command
// line with one line that names the fault: the whole line, or the part that says which.
TEST(CommandLines, OptionsComeAnywhereAndABadLineIsRefusedWithOneLineNamingItsFault)
{
    const SimOptions options = Sim({"--midi-api=jack", "--standalone", "--version-byte", "0X7f",
                                    "--firmware-out", "image.bin", "--no-stdin"})
                                   .arguments->options;
    EXPECT_TRUE(options.midiApi == MidiSystem::kJack && options.versionByte == 127);
    EXPECT_EQ(Sim({"--standalone", "--help"}).arguments->action, SimAction::kHelp);
    EXPECT_EQ(Sim({"--version", "--no-stdin"}).arguments->action, SimAction::kVersion);
    const CliArguments set = *Cli({"--port=My Box", "set", "--timeout", "250", "PEDAL1 Controller",
                                   "--midi-api", "jack", "64", "--demo"})
                                  .arguments;
    EXPECT_EQ(set.operands, (std::vector<std::string>{"PEDAL1 Controller", "64"}));
    EXPECT_TRUE(set.command == CliCommand::kSet && set.options.portPrefix == "My Box" &&
                set.options.timeoutMs == 250 && set.options.midiApi == MidiSystem::kJack &&
                set.options.demo);
    EXPECT_EQ(Cli({"diff", "a.csx", "--in", "X:y 128:0"}).arguments->options.inputName,
              "X:y 128:0");
    EXPECT_TRUE(Cli({"monitor", "--hex"}).arguments->options.hex);
    // Mended: a negative value was reported as an unknown option.
    EXPECT_EQ(Cli({"set", "23", "-1"}).arguments->operands[1], "-1");
    // stomplet-sim's or stomplet's, the arguments, the part of the line that names the fault.
    const std::tuple<bool, std::vector<std::string_view>, std::string_view> refused[] = {
        {true, {"--help", "--bogus"}, "unknown option \"--bogus\""},
        {true, {"--midi-api", "coreaudio"}, "\"coreaudio\""},
        {true, {"--midi-api"}, "--midi-api"},
        {true, {"--version-byte", "0x80"}, "not \"0x80\""},
        {true, {"--version-byte", " 12"}, "not \" 12\""},
        {true, {"--version-byte", "128"}, "not \"128\""},
        {true, {"--firmware-out="}, "--firmware-out needs a file name"},
        {true, {"image.bin"}, "unexpected argument \"image.bin\""},
        {true, {"--standalone=yes"}, "unknown option \"--standalone=yes\""},
        {false, {}, "no command given (see --help)"},
        {false, {"flash"}, "unknown command \"flash\" (see --help)"},
        {false, {"status", "--loud"}, "unknown option \"--loud\" (see --help)"},
        {false, {"save"}, "save takes exactly 1 operand: stomplet save FILE.csx|-"},
        {false, {"status", "extra"}, "status takes no operand: stomplet status"},
        {false, {"calibrate", "pedal3", "low"}, "calibrate takes pedal1 or pedal2, not \"pedal3\""},
        {false, {"calibrate", "pedal1", "middle"}, "calibrate takes low or high, not \"middle\""},
        {false, {"status", "--json"}, "--json goes with dump only"},
        {false, {"dump", "--hex"}, "--hex goes with monitor only"},
        {false, {"status", "--in="}, "--in needs a port's name (see stomplet ports)"},
        {false, {"detect", "--out", "x"}, "--port, --in and --out do not go with it"},
        {false, {"monitor", "--filter", "cc,notes"}, "sysex, system), not \"notes\""},
        {false, {"status", "--midi-api", "oss"}, "--midi-api takes alsa or jack, not \"oss\""},
        {false, {"status", "--port"}, "--port needs a port name prefix"},
        {false, {"status", "--help", "--timeout", "0"}, "--timeout"},
        {false, {"status", "--timeout", "600001"}, "--timeout"},
    };
    for (const auto& [sim, args, error] : refused)
    {
        const std::string text = sim ? Sim(args).error : Cli(args).error; // set only when refused
        EXPECT_FALSE(text.empty() || text.find('\n') != std::string::npos) << text;
        EXPECT_NE(text.find(error), std::string::npos) << text;
    }
}

// Mended: a value that was not exactly a display text was read as a raw number in any notation,
// so "01" set MIDI channel 2, "switches" was refused and "-1" was taken for an option.
TEST(StompletSettings, NamesInAnyCaseOrIndexesAndValuesAsTextsOrPlainDecimalsInRange)
{
    EXPECT_EQ(FindSetting(" pedal1 CONTROLLER "), kPedal1Controller);
    EXPECT_EQ(FindSetting("0"), kJack2Mode);
    EXPECT_EQ(FindSetting("37"), kSwitch1SpecialUpper);
    for (std::string_view name : {"38", "-0", "midi"})
        EXPECT_FALSE(FindSetting(name)) << name;
    // Leniently: case, spaces and "Midi"/"MIDI" do not matter.
    EXPECT_EQ(FindSetting("JACK1 Mode"), kJack1Mode);  // the name is "JACK 1 Mode"
    EXPECT_EQ(FindSetting("JACK 2 Mode"), kJack2Mode); // and this one "JACK2 Mode"
    EXPECT_EQ(FindSetting("pedal1 MIDI channel"), kPedal1Channel);
    EXPECT_EQ(UnknownSettingError("PEDL1 Controler"),
              "no setting is called \"PEDL1 Controler\"; the nearest are \"PEDAL1 Controller\", "
              "\"PEDAL2 Controller\" or \"PEDAL1 Midi Channel\" (or give an index 0 to 37; see "
              "stomplet dump)");
    const struct
    {
        int idx;
        std::string_view text;
        int value;
    } taken[] = {
        {kJack1Mode, " switches ", 1}, {kJack1Mode, "1", 1},
        {kSwitchA1Channel, "10", 9}, // channel 10 is value 9
        {kSwitchA1Channel, "01", 0},   {kSwitchA1Channel, "16", 15},
        {kPedal1Controller, "007", 7}, {kSwitchA1Function, "program change", 4},
    };
    for (const auto& [idx, text, value] : taken)
        EXPECT_EQ(ParseSettingValue(idx, text).value, value) << text;
    EXPECT_EQ(ParseSettingValue(kJack1Mode, "2").error,
              "\"JACK 1 Mode\" takes \"Pedal\", \"Switches\" or 0 to 1: \"2\" is out of range");
    EXPECT_EQ(ParseSettingValue(kPedal1Controller, "-1").error,
              "\"PEDAL1 Controller\" takes 0 to 127: \"-1\" is out of range");
    EXPECT_EQ(ParseSettingValue(kSwitchA1Channel, "0").error,
              "\"SWITCHA1 Midi Channel\" takes \"1\" to \"16\": \"0\" is out of range");
    EXPECT_EQ(ParseSettingValue(kSwitchA1Channel, "1.0").error,
              "\"SWITCHA1 Midi Channel\" takes \"1\" to \"16\" (numbers in plain decimal "
              "digits), not \"1.0\"");
    for (std::string_view text : {"1e0", "+1", "0x1", "1 2", "", "6.5", "1E2"})
        EXPECT_FALSE(ParseSettingValue(kSwitchA1Channel, text).value) << text;
    EXPECT_FALSE(ParseSettingValue(kPedal1Controller, "1e1").value);
    for (int idx : {kPedal1CalibrationLow, kPedal1CalibrationHigh, kPedal2CalibrationLow,
                    kPedal2CalibrationHigh})
        EXPECT_NE(ParseSettingValue(idx, "10").error.find("stomplet calibrate"), std::string::npos);
    EXPECT_EQ(SettingText(kPedal1Channel, 15), "16");
}

TEST(StompletOutput, DumpLinesJsonMonitorLinesAndProgress)
{
    PresetValues values{};
    values[kJack1Mode] = 1;
    const std::string lines = FormatDump(0x0C, values, false);
    EXPECT_NE(lines.find(" 2  JACK 1 Mode                  Switches\n"), std::string::npos);
    const std::string json = FormatDump(0x0C, values, true);
    EXPECT_TRUE(json.starts_with("{\"version\": \"1.2\", \"settings\": [\n"));
    EXPECT_NE(json.find("{\"index\": 2, \"name\": \"JACK 1 Mode\", \"value\": 1, \"text\": "
                        "\"Switches\"},\n"),
              std::string::npos);
    EXPECT_TRUE(json.ends_with("\"text\": \"0\"}\n]}\n"));

    const auto reply = BuildStatusReply(std::array<std::uint8_t, 4>{}, 0x0C, values)->bytes;
    const std::pair<std::vector<std::uint8_t>, std::string_view> described[] = {
        {{0xB0, 0x0B, 0x40}, "Control Change ch 1  #11 = 64  (Expression Pedal)"},
        {{0xB0, 0x03, 0x40}, "Control Change ch 1  #3 = 64"}, // a number without a name
        {{0xE1, 0x00, 0x40}, "Pitch Bend     ch 2  0"},
        {{0xC0, 0x05}, "Program Change ch 1  5"},
        {{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x71, 0x00, 0xF7}, "SysEx  9 bytes"},
        {{reply.begin(), reply.end()}, "Status Reply  version 1.2"},
    };
    for (const auto& [bytes, text] : described)
        EXPECT_EQ(DescribeMidiMessage(bytes, false), text);
    EXPECT_EQ(DescribeMidiMessage(std::vector<std::uint8_t>{0x9F, 0x50, 0x7F}, true),
              "Note On        ch 16 #80 vel 127  [9F 50 7F]");
    EXPECT_EQ(FirmwareProgressBar(1, 16, 8), "[........]   6 % (1/16 blocks)");
    EXPECT_EQ(FirmwareProgressBar(8, 16, 8), "[####....]  50 % (8/16 blocks)");
}

TEST(StompletBoxes, DiffNamesEachDifferenceAndDetectLeavesEditorsAndItselfAlone)
{
    PresetValues box{};
    box[kJack1Mode] = 1;
    PresetValues file{};
    file[kPedal2CalibrationHigh] = 64;
    EXPECT_EQ(
        BoxFileDifferences(box, file),
        (std::vector<std::string>{"JACK 1 Mode: box Switches, file Pedal",
                                  "PEDAL2 Calibration High End: box 0 (0.0%), file 64 (50.4%)"}));
    for (std::string_view name :
         {"RtMidi Input Client:ctrlWave Stomplet In 129:0", "stomplet Output Client-02:stomplet"})
        EXPECT_TRUE(IsEditorOrToolPort(name)) << name;
    for (std::string_view name : {"Generic USB MIDI:MIDI In", "a2j:RtMidi bridge [20] (playback)"})
        EXPECT_FALSE(IsEditorOrToolPort(name)) << name;
    const std::pair<std::vector<std::uint8_t>, std::string_view> kinds[] = {{{0xB0, 1, 2}, "cc"},
                                                                            {{0x9F, 1, 2}, "NOTE"},
                                                                            {{0xF0, 0xF7}, "sysex"},
                                                                            {{0xFA}, "pc, system"}};
    for (const auto& [bytes, filter] : kinds)
        EXPECT_NE(KindOfMessage(bytes) & ParseMessageKinds(filter).kinds, 0u) << filter;
    EXPECT_EQ(KindOfMessage(std::vector<std::uint8_t>{0xB0}) & ParseMessageKinds("note,pc").kinds,
              0u);
}

TEST(StompletFiles, ARawAllSettingsMessageIsReadAndARefusedFileNamesItsFault)
{
    std::vector<std::uint8_t> syx{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x03, 0x0A}; // version 1.0
    for (int i = 0; i < 38; ++i)
        syx.push_back(static_cast<std::uint8_t>(i)); // setting i holds i
    syx.push_back(0xF7);
    EXPECT_EQ((*ParseAllSettingsSyx(syx).values)[37], 37);
    const auto changed = [&](std::size_t at, std::uint8_t value)
    {
        std::vector<std::uint8_t> bytes = syx;
        bytes[at] = value;
        return bytes;
    };
    EXPECT_EQ(ParseAllSettingsSyx(changed(5, 0x02)).error,
              "byte 5 is 02, not 03: not an All Settings message (F0 00 3F 5A 04 03 ...)");
    EXPECT_EQ(ParseAllSettingsSyx(changed(20, 0x80)).error,
              "byte 20 is 80, not a data byte (00 to 7F)");
    EXPECT_FALSE(ParseAllSettingsSyx(changed(6, 0x14)).values);
    syx.pop_back();
    EXPECT_EQ(ParseAllSettingsSyx(syx).error, "45 bytes; an All Settings message has 46");

    std::string text = FormatPresetFile(PresetValues{}); // a line "XX" and CR LF for each byte
    // What the editor's own preset reader says, line numbers as an editor counts them.
    const auto refusal = [](const std::string& preset)
    { return std::get<PresetFileRefusal>(ParsePresetFile(preset)).detail; };
    EXPECT_EQ(refusal(std::string(text).replace(20, 2, "02")), "line 6: 02 where a preset has 03");
    EXPECT_EQ(refusal(text.substr(0, 40)), "10 lines; a preset has 46");
    // Mended: stomplet read a line "-1" as a number, then blamed the count of lines.
    EXPECT_EQ(refusal("\n" + std::string(text).replace(32, 2, "-1")),
              "line 10: \"-1\" is not a byte in hex");
    // Mended: a NUL cut the quoted line short.
    EXPECT_EQ(refusal(text.replace(32, 2, std::string("7\0\x1B", 3))),
              "line 9: \"7\\x00\\x1B\" is not a byte in hex");
}
