// stomplet's pure parts: its command line, the setting texts, its output and the raw SysEx file.

#include "CliArguments.h"
#include "CliFormat.h"

#include <gtest/gtest.h>
#include <string>
#include <string_view>
#include <vector>

namespace stompletcli
{
CliArgumentsResult Parse(std::vector<std::string_view> args)
{
    return ParseCliArguments(args);
}

// The error of a command line that must be refused.
std::string ErrorOf(std::vector<std::string_view> args)
{
    const CliArgumentsResult result = Parse(std::move(args));
    EXPECT_FALSE(result.arguments);
    return result.error;
}
} // namespace stompletcli

using stompletcli::ErrorOf;
using stompletcli::Parse;

TEST(StompletArguments, ACommandAloneTakesTheBoxsNameOneSecondAndTheDefaultSystem)
{
    const CliArgumentsResult result = Parse({"status"});
    ASSERT_TRUE(result.arguments);
    EXPECT_EQ(result.arguments->command, CliCommand::kStatus);
    EXPECT_EQ(result.arguments->options.portPrefix, "Korvo-Audio ctrlWave Stomplet");
    EXPECT_EQ(result.arguments->options.timeoutMs, 1000);
    EXPECT_FALSE(result.arguments->options.midiApi);
    EXPECT_FALSE(result.arguments->options.demo);
}

TEST(StompletArguments, OptionsComeAnywhereWithTheirValueApartOrAfterAnEqualsSign)
{
    const CliArgumentsResult result =
        Parse({"--port=My Box", "set", "--timeout", "250", "PEDAL1 Controller", "--midi-api",
               "jack", "64", "--demo"});
    ASSERT_TRUE(result.arguments) << result.error;
    const CliArguments& arguments = *result.arguments;
    EXPECT_EQ(arguments.command, CliCommand::kSet);
    EXPECT_EQ(arguments.operands, (std::vector<std::string>{"PEDAL1 Controller", "64"}));
    EXPECT_EQ(arguments.options.portPrefix, "My Box");
    EXPECT_EQ(Parse({"diff", "a.csx", "--in", "X:y 128:0", "--out=Z"}).arguments->options.inputName,
              "X:y 128:0");
    EXPECT_EQ(arguments.options.timeoutMs, 250);
    EXPECT_EQ(arguments.options.midiApi, MidiSystem::kJack);
    EXPECT_TRUE(arguments.options.demo);
    EXPECT_TRUE(Parse({"dump", "--json"}).arguments->options.json);
    EXPECT_TRUE(Parse({"monitor", "--hex"}).arguments->options.hex);
}

TEST(StompletArguments, HelpNeedsNoOperandsButBadOptionsStillFail)
{
    const CliArgumentsResult help = Parse({"calibrate", "--help"});
    ASSERT_TRUE(help.arguments);
    EXPECT_TRUE(help.arguments->help);
    EXPECT_EQ(help.arguments->command, CliCommand::kCalibrate);
    EXPECT_FALSE(Parse({"--help"}).arguments->command);
    EXPECT_NE(ErrorOf({"status", "--help", "--timeout", "0"}).find("--timeout"), std::string::npos);
}

TEST(StompletArguments, EveryBadCommandLineSaysWhatIsWrong)
{
    EXPECT_EQ(ErrorOf({}), "no command given (see --help)");
    EXPECT_EQ(ErrorOf({"flash"}), "unknown command \"flash\" (see --help)");
    EXPECT_EQ(ErrorOf({"status", "--loud"}), "unknown option \"--loud\" (see --help)");
    EXPECT_EQ(ErrorOf({"save"}), "save takes exactly 1 operand: stomplet save FILE.csx|-");
    EXPECT_EQ(ErrorOf({"status", "extra"}), "status takes no operand: stomplet status");
    EXPECT_EQ(ErrorOf({"calibrate", "pedal3", "low"}),
              "calibrate takes pedal1 or pedal2, not \"pedal3\"");
    EXPECT_EQ(ErrorOf({"calibrate", "pedal1", "middle"}),
              "calibrate takes low or high, not \"middle\"");
    EXPECT_EQ(ErrorOf({"status", "--json"}), "--json goes with dump only");
    EXPECT_EQ(ErrorOf({"dump", "--hex"}), "--hex goes with monitor only");
    EXPECT_EQ(ErrorOf({"status", "--midi-api", "oss"}),
              "--midi-api takes alsa or jack, not \"oss\"");
    for (std::string_view timeout : {"0", "600001", "ms"})
        EXPECT_FALSE(Parse({"status", "--timeout", timeout}).arguments) << timeout;
    EXPECT_EQ(ErrorOf({"status", "--port"}), "--port needs a port name prefix");
    EXPECT_EQ(ErrorOf({"status", "--in="}), "--in needs a port's name (see stomplet ports)");
    EXPECT_EQ(ErrorOf({"detect", "--out", "x"}),
              "detect tries every port: --port, --in and --out do not go with it");
    EXPECT_EQ(ErrorOf({"dump", "--filter", "cc"}), "--filter goes with monitor only");
    // Mended: a negative value was reported as an unknown option.
    EXPECT_EQ(Parse({"set", "23", "-1"}).arguments->operands[1], "-1");
    EXPECT_EQ(Parse({"save", "-"}).arguments->operands[0], "-");
}

TEST(StompletSettings, ASettingIsFoundByItsNameLenientlyOrByItsIndex)
{
    EXPECT_EQ(FindSetting("PEDAL1 Controller"), kPedal1Controller);
    EXPECT_EQ(FindSetting("pedal1 controller"), kPedal1Controller);
    EXPECT_EQ(FindSetting("0"), kJack2Mode);
    EXPECT_EQ(FindSetting("37"), kSwitch1SpecialUpper);
    EXPECT_FALSE(FindSetting("38"));
    EXPECT_EQ(FindSetting(" pedal1 CONTROLLER "), kPedal1Controller);
    EXPECT_EQ(FindSetting("JACK1 Mode"), kJack1Mode);  // the name has a space: "JACK 1 Mode"
    EXPECT_EQ(FindSetting("JACK 2 Mode"), kJack2Mode); // and this one none: "JACK2 Mode"
    EXPECT_EQ(FindSetting("pedal1 MIDI channel"), kPedal1Channel);
    EXPECT_EQ(FindSetting("Pedal1Channel"), kPedal1Channel);
    EXPECT_FALSE(FindSetting("-0"));
    EXPECT_FALSE(FindSetting("midi"));
    EXPECT_EQ(UnknownSettingError("PEDL1 Controler"),
              "no setting is called \"PEDL1 Controler\"; the nearest are \"PEDAL1 Controller\", "
              "\"PEDAL2 Controller\" or \"PEDAL1 Midi Channel\" (or give an index 0 to 37; see "
              "stomplet dump)");
}

// Mended: a value that was not exactly a display text was read as a raw number in any notation,
// so "01" set MIDI channel 2, "switches" was refused and "-1" was taken for an option.
TEST(StompletSettings, ValuesAreDisplayTextsInAnyCaseOrPlainDecimalNumbersInRange)
{
    const struct
    {
        int idx;
        std::string_view text;
        int value;
    } taken[] = {
        {kJack1Mode, "Switches", 1},
        {kJack1Mode, " switches ", 1},
        {kJack1Mode, "1", 1},
        {kSwitchA1Channel, "10", 9}, // channel 10 is value 9
        {kSwitchA1Channel, "01", 0},
        {kSwitchA1Channel, "16", 15},
        {kPedal1Controller, "127", 127},
        {kPedal1Controller, "007", 7},
        {kSwitchA1Function, "program change", 4},
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
    EXPECT_EQ(SettingText(kSwitchA1Function, 4), "Program Change");
    EXPECT_EQ(SettingText(kPedal1Channel, 15), "16");
}

TEST(StompletOutput, TheDumpListsEverySettingByNameAndTextOrAsJson)
{
    PresetValues values{};
    values[kJack1Mode] = 1;
    values[kPedal1Controller] = 11;
    const std::string lines = FormatDump(0x0C, values, false);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), '\n'), 38);
    EXPECT_NE(lines.find(" 2  JACK 1 Mode                  Switches\n"), std::string::npos);
    EXPECT_NE(lines.find("23  PEDAL1 Controller            11\n"), std::string::npos);
    const std::string json = FormatDump(0x0C, values, true);
    EXPECT_TRUE(json.starts_with("{\"version\": \"1.2\", \"settings\": [\n"));
    EXPECT_NE(json.find("{\"index\": 2, \"name\": \"JACK 1 Mode\", \"value\": 1, \"text\": "
                        "\"Switches\"},\n"),
              std::string::npos);
    EXPECT_TRUE(json.ends_with("\"text\": \"0\"}\n]}\n"));
    // Calibration with the editor's percentage; diff shows the same texts.
    EXPECT_NE(lines.find("10  PEDAL2 Calibration High End  0 (0.0%)\n"), std::string::npos);
    PresetValues file = values;
    file[kJack1Mode] = 0;
    file[kPedal2CalibrationHigh] = 64;
    EXPECT_EQ(
        BoxFileDifferences(values, file),
        (std::vector<std::string>{"JACK 1 Mode: box Switches, file Pedal",
                                  "PEDAL2 Calibration High End: box 0 (0.0%), file 64 (50.4%)"}));
}

TEST(StompletOutput, MonitorLinesDecodeEachKindOfMessage)
{
    const auto line = [](std::vector<std::uint8_t> bytes, bool hex = false)
    { return DescribeMidiMessage(bytes, hex); };
    EXPECT_EQ(line({0xB0, 0x0B, 0x40}), "Control Change ch 1  #11 = 64  (Expression Pedal)");
    EXPECT_EQ(line({0xB0, 0x03, 0x40}), "Control Change ch 1  #3 = 64"); // a number without a name
    EXPECT_EQ(line({0x9F, 0x50, 0x7F}, true), "Note On        ch 16 #80 vel 127  [9F 50 7F]");
    EXPECT_EQ(line({0xE1, 0x00, 0x40}), "Pitch Bend     ch 2  0");
    EXPECT_EQ(line({0xC0, 0x05}), "Program Change ch 1  5");
    EXPECT_EQ(line({0xFA}), "Start");
    EXPECT_EQ(line({0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x71, 0x00, 0xF7}), "SysEx  9 bytes");
    std::vector<std::uint8_t> reply(50, 0x00);
    reply[0] = 0xF0; // start, maker, model 04, command 01 (Status Reply), version 0C
    reply[2] = 0x3F;
    reply[3] = 0x5A;
    reply[4] = 0x04;
    reply[5] = 0x01;
    reply[10] = 0x0C;
    reply[49] = 0xF7;
    EXPECT_EQ(line(reply), "Status Reply  version 1.2");
    // --filter's kinds: each message has one, and a list names several.
    const struct
    {
        std::vector<std::uint8_t> bytes;
        std::string_view filter;
    } kinds[] = {{{0xB0, 1, 2}, "cc"},  {{0x80, 1, 2}, "note"},  {{0x9F, 1, 2}, "NOTE"},
                 {{0xA0, 1, 2}, "pat"}, {{0xC0, 1}, "pc"},       {{0xD0, 1}, "at"},
                 {{0xE0, 1, 2}, "pb"},  {{0xF0, 0xF7}, "sysex"}, {{0xF8}, "system"},
                 {{0xFA}, "cc, system"}};
    for (const auto& [bytes, filter] : kinds)
        EXPECT_NE(KindOfMessage(bytes) & ParseMessageKinds(filter).kinds, 0u) << filter;
    EXPECT_EQ(KindOfMessage(std::vector<std::uint8_t>{0xB0}) & ParseMessageKinds("note,pc").kinds,
              0u);
    EXPECT_EQ(ErrorOf({"monitor", "--filter", "cc,notes"}),
              "--filter takes kinds of message separated by commas (cc, note, pat, pc, at, pb, "
              "sysex, system), not \"notes\"");
    EXPECT_EQ(FirmwareProgressBar(1, 16, 8), "[........]   6 % (1/16 blocks)");
    EXPECT_EQ(FirmwareProgressBar(8, 16, 8), "[####....]  50 % (8/16 blocks)");
}

TEST(StompletPorts, DetectLeavesTheEditorsAndItsOwnClientsAlone)
{
    for (std::string_view name :
         {"RtMidi Input Client:ctrlWave Stomplet In 129:0", "RtMidi Output Client-01:out",
          "stomplet Input Client:stomplet", "stomplet Output Client-02:stomplet"})
        EXPECT_TRUE(IsEditorOrToolPort(name)) << name;
    for (std::string_view name : {"Generic USB MIDI:MIDI In", "UM-ONE:UM-ONE MIDI 1 24:0",
                                  "system:midi_playback_1", "a2j:RtMidi bridge [20] (playback)"})
        EXPECT_FALSE(IsEditorOrToolPort(name)) << name;
}

TEST(StompletFiles, ARawAllSettingsMessageIsReadAndAnythingElseIsNamed)
{
    std::vector<std::uint8_t> syx{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x03, 0x0A}; // header, version 1.0
    for (int i = 0; i < 38; ++i)
        syx.push_back(static_cast<std::uint8_t>(i)); // setting i holds i
    syx.push_back(0xF7);
    const SyxReadResult good = ParseAllSettingsSyx(syx);
    ASSERT_TRUE(good.values) << good.error;
    EXPECT_EQ((*good.values)[37], 37);

    std::vector<std::uint8_t> bad = syx;
    bad[5] = 0x02;
    EXPECT_EQ(ParseAllSettingsSyx(bad).error,
              "byte 5 is 02, not 03: not an All Settings message (F0 00 3F 5A 04 03 ...)");
    bad = syx;
    bad[20] = 0x80;
    EXPECT_EQ(ParseAllSettingsSyx(bad).error, "byte 20 is 80, not a data byte (00 to 7F)");
    bad = syx;
    bad[6] = 0x14;
    EXPECT_FALSE(ParseAllSettingsSyx(bad).values);
    bad.pop_back();
    EXPECT_EQ(ParseAllSettingsSyx(bad).error, "45 bytes; an All Settings message has 46");
}

TEST(StompletFiles, ARefusedPresetNamesItsFirstBadLine)
{
    std::string text = "F0\r\n00\r\n3F\r\n5A\r\n04\r\n03\r\n0A\r\n";
    for (int i = 0; i < 38; ++i)
        text += "00\r\n";
    text += "F7\r\n";
    std::string wrongCommand = text;
    wrongCommand.replace(20, 2, "02"); // line 6: command 02 instead of 03
    EXPECT_EQ(std::get<PresetFileRefusal>(ParsePresetFile(wrongCommand)).detail,
              "line 6: 02 where a preset has 03");
    std::string notHex = text;
    notHex.replace(32, 2, "zz"); // line 9
    EXPECT_EQ(std::get<PresetFileRefusal>(ParsePresetFile(notHex)).detail,
              "line 9: \"zz\" is not a byte in hex");
    EXPECT_EQ(std::get<PresetFileRefusal>(ParsePresetFile(text.substr(0, 40))).detail,
              "10 lines; a preset has 46");
    // Mended: a NUL cut the quoted line short.
    std::string withNul = text;
    withNul.replace(32, 2, std::string("7\0\x1B", 3));
    EXPECT_EQ(std::get<PresetFileRefusal>(ParsePresetFile(withNul)).detail,
              "line 9: \"7\\x00\\x1B\" is not a byte in hex");
}
