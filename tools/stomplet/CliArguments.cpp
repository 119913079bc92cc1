#include "CliArguments.h"

#include "core/CommandLineOption.h"

#include <array>
#include <charconv>

namespace
{
struct CommandInfo
{
    CliCommand command;
    std::string_view word;
    std::size_t operands;
    std::string_view synopsis; // after "stomplet "
    std::string_view text;     // what it does, indented lines
};

constexpr std::array<CommandInfo, 13> kCommands{{
    {CliCommand::kPorts, "ports", 0, "ports",
     "  Lists the MIDI system's output ports (to the box) and input ports (from\n"
     "  the box), marking with '*' the one of each that --port, --in and --out\n"
     "  select.\n"},
    {CliCommand::kDetect, "detect", 0, "detect",
     "  Finds boxes whatever their ports are called (behind a generic USB-MIDI\n"
     "  interface, say): sends a Status Request on every output port in turn and\n"
     "  listens on every input port for the reply, waiting --timeout for each\n"
     "  output. Prints one line per box that answers:\n"
     "    out \"OUTPUT\" in \"INPUT\" VERSION: 1.2 STATE: Interface Mode\n"
     "  Nothing but Status Requests is sent. The ports of running editors and of\n"
     "  other stomplet runs (clients whose names begin with \"RtMidi\" or\n"
     "  \"stomplet\") are left alone. Exit status 0 when a box answered, else 1.\n"
     "  Take the pair to the other commands with --out and --in.\n"},
    {CliCommand::kStatus, "status", 0, "status",
     "  Asks the box for its status and prints, as the editor shows them,\n"
     "  \"DEVICE: ...\", \"VERSION: x.y\" and \"STATE: Interface Mode\" or\n"
     "  \"STATE: Standalone Mode\" (no answer to a second request within 300 ms).\n"
     "  A firmware version the editor does not accept adds its message.\n"},
    {CliCommand::kDump, "dump", 0, "dump [--json]",
     "  Prints the box's 38 settings, one per line: index, name, display text.\n"
     "  --json  one JSON object: {\"version\": \"1.2\", \"settings\": [{\"index\": 0,\n"
     "          \"name\": \"JACK2 Mode\", \"value\": 0, \"text\": \"Pedal\"}, ...]}\n"},
    {CliCommand::kSave, "save", 1, "save FILE.csx|-",
     "  Reads the box's settings and writes them to a preset file (46 lines of two\n"
     "  hex digits and CR LF, as the editor saves them), or with \"-\" to standard\n"
     "  output. A file already there is replaced whole (a link is kept and the file\n"
     "  it points at replaced, the permissions are kept), or left as it was when\n"
     "  the write fails. A read-only file, a folder, a device, a FIFO or a socket\n"
     "  is refused.\n"},
    {CliCommand::kLoad, "load", 1, "load FILE.csx|FILE.syx",
     "  Sends a preset to the box as one All Settings message, values above a\n"
     "  setting's range clamped, then reads the settings back and compares them\n"
     "  with the values sent; a difference is an error. The kind of file goes by\n"
     "  its content, whatever its name: a file starting with the byte F0 is a raw\n"
     "  All Settings message (46 bytes F0 ... F7, as export writes); anything\n"
     "  else is read as a preset's text, as the editor reads it: one value per\n"
     "  line in hex (one or two digits, any case), LF or CR LF, blank lines\n"
     "  skipped, fewer than 1024 bytes; lines 2 to 6 must read 00 3F 5A 04 03,\n"
     "  line 7 is the format version (up to 13 hex, version 1.9), lines 8 to 45\n"
     "  are the 38 settings. Lines 1 and 46 (F0 and F7 as written) are not\n"
     "  checked, line 46 may be missing, and lines after it are ignored, as the\n"
     "  box's own editors read presets.\n"},
    {CliCommand::kDiff, "diff", 1, "diff FILE.csx|FILE.syx",
     "  Compares the box's settings with a preset or All Settings file (read as\n"
     "  load reads it, values above a setting's range clamped) and prints each\n"
     "  setting that differs, as dump shows the texts:\n"
     "    JACK2 Mode: box Switches, file Pedal\n"
     "  The four calibration settings count like the others, since load would\n"
     "  send them (the editor's mark for unsaved changes leaves them out).\n"
     "  Exit status 0 when the box holds what the file holds, 4 when not.\n"},
    {CliCommand::kSet, "set", 2, "set NAME VALUE",
     "  Changes one setting. NAME is a setting's name (\"PEDAL1 Controller\") or\n"
     "  its index 0 to 37. VALUE is the setting's display text as dump shows it\n"
     "  (\"Switches\"; \"10\" for MIDI channel 10), or, for a setting shown in words\n"
     "  or as a plain number, its value 0 to the setting's largest. In a name, case,\n"
     "  blanks and the word \"Midi\" do not matter (\"jack 2 mode\" is \"JACK2 Mode\");\n"
     "  an unknown name gets the three nearest names. Texts match in any case,\n"
     "  blanks around them ignored; numbers are plain decimal digits (\"10\", not\n"
     "  \"10.0\" or \"1e1\"). The four calibration settings are refused: use\n"
     "  calibrate. The setting is read back afterwards and must match.\n"},
    {CliCommand::kReset, "reset", 0, "reset",
     "  Resets the box to its factory settings and prints them as dump does.\n"},
    {CliCommand::kCalibrate, "calibrate", 2, "calibrate pedal1|pedal2 low|high",
     "  Tells the box that the pedal now stands at its low (heel) or high (toe)\n"
     "  end; prints the calibration the box then reports, as the editor's button\n"
     "  does (\"Calibration Low End: 50.4%\").\n"},
    {CliCommand::kFirmware, "firmware", 1, "firmware FILE.bin",
     "  Sends a firmware image (1 to 16383 bytes) as the editor does: Firmware\n"
     "  Start, block 0 about 500 ms later, then one block every 100 ms, showing a\n"
     "  progress bar on a terminal and one line per per-cent step otherwise. The\n"
     "  box acknowledges nothing, so its taking the image is not checked.\n"},
    {CliCommand::kMonitor, "monitor", 0, "monitor [--hex] [--filter KINDS]",
     "  Prints each MIDI message the box sends, decoded, one line per message\n"
     "  with the milliseconds since the start and a controller's name as the LCD\n"
     "  shows it, until interrupted (Ctrl+C, SIGTERM); says on standard error\n"
     "  which port it listens to. It opens only that input port (--in or --port).\n"
     "  --hex           the bytes in hex as well\n"
     "  --filter KINDS  only these kinds, separated by commas: cc (Control\n"
     "                  Change), note (Note On and Off), pc (Program Change),\n"
     "                  pb (Pitch Bend), at (channel aftertouch), pat (poly\n"
     "                  aftertouch), sysex, system (clock, start, stop, ...)\n"},
    {CliCommand::kExport, "export", 1, "export FILE.syx|-",
     "  Reads the box's settings and writes the All Settings message that carries\n"
     "  them (46 bytes, F0 ... F7) to FILE, for any SysEx librarian, or with \"-\"\n"
     "  to standard output. FILE is written as save writes.\n"},
}};

const CommandInfo* FindCommand(std::string_view word)
{
    for (const CommandInfo& info : kCommands)
        if (info.word == word)
            return &info;
    return nullptr;
}

const CommandInfo& InfoOf(CliCommand command)
{
    return kCommands[static_cast<std::size_t>(command)];
}

constexpr std::string_view kOptionsText =
    "Options (any command):\n"
    "  --port PREFIX       the first output and the first input port whose names\n"
    "                      begin with PREFIX (default: \"Korvo-Audio ctrlWave Stomplet\")\n"
    "  --in NAME           the input port (from the box) called exactly NAME\n"
    "  --out NAME          the output port (to the box) called exactly NAME; both\n"
    "                      take the place of --port for their direction (see\n"
    "                      stomplet detect and stomplet ports for the names)\n"
    "  --midi-api alsa|jack  MIDI system (default: alsa when /dev/snd/seq exists,\n"
    "                      else jack)\n"
    "  --timeout MS        how long to wait for the box's answer, 1 to 600000 ms\n"
    "                      (default 1000)\n"
    "  --demo              talk to the built-in virtual box instead of MIDI ports\n"
    "  -h, --help          show the help (of the command, when one is given)\n";

constexpr std::string_view kExitText =
    "Exit status: 0 success; 1 the box did not answer in time (or not as\n"
    "expected); 2 bad arguments or a bad file (one line naming it); 3 no MIDI\n"
    "system or no port of that name; 4 diff found the box's settings differ\n"
    "from the file's.\n";

std::string Quoted(std::string_view text)
{
    return "\"" + std::string(text) + "\"";
}
} // namespace

std::string_view CommandWord(CliCommand command)
{
    return InfoOf(command).word;
}

CliArgumentsResult ParseCliArguments(std::span<const std::string_view> args)
{
    CliArguments parsed;
    bool jsonGiven = false;
    bool hexGiven = false;
    bool portGiven = false;
    std::optional<MessageKinds> kinds;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h")
            parsed.help = true;
        else if (arg == "--version")
            parsed.version = true;
        else if (arg == "--demo")
            parsed.options.demo = true;
        else if (arg == "--json")
            jsonGiven = true;
        else if (arg == "--hex")
            hexGiven = true;
        else if (IsOption(arg, "--port"))
        {
            const auto value = OptionValue(args, i, "--port");
            if (!value || value->empty())
                return {std::nullopt, "--port needs a port name prefix"};
            parsed.options.portPrefix = std::string(*value);
            portGiven = true;
        }
        else if (IsOption(arg, "--in") || IsOption(arg, "--out"))
        {
            const bool input = IsOption(arg, "--in");
            const std::string_view name = input ? "--in" : "--out";
            const auto value = OptionValue(args, i, name);
            if (!value || value->empty())
                return {std::nullopt,
                        std::string(name) + " needs a port's name (see stomplet ports)"};
            (input ? parsed.options.inputName : parsed.options.outputName) = std::string(*value);
            portGiven = true;
        }
        else if (IsOption(arg, "--filter"))
        {
            const auto value = OptionValue(args, i, "--filter");
            if (!value)
                return {std::nullopt, "--filter needs kinds of message, such as cc,note"};
            MessageKindsResult read = ParseMessageKinds(*value);
            if (!read.kinds)
                return {std::nullopt, std::move(read.error)};
            kinds = read.kinds;
        }
        else if (IsOption(arg, "--midi-api"))
        {
            auto system = ParseMidiSystemOption(OptionValue(args, i, "--midi-api"));
            if (std::string* error = std::get_if<std::string>(&system))
                return {std::nullopt, std::move(*error)};
            parsed.options.midiApi = std::get<MidiSystem>(system);
        }
        else if (IsOption(arg, "--timeout"))
        {
            const auto value = OptionValue(args, i, "--timeout");
            int ms = 0;
            const bool ok = value && !value->empty() &&
                            std::from_chars(value->data(), value->data() + value->size(), ms).ec ==
                                std::errc() &&
                            std::from_chars(value->data(), value->data() + value->size(), ms).ptr ==
                                value->data() + value->size() &&
                            ms >= 1 && ms <= kMaxTimeoutMs;
            if (!ok)
                return {std::nullopt,
                        value ? "--timeout takes 1 to 600000 (milliseconds), not " + Quoted(*value)
                              : std::string("--timeout needs a value in milliseconds")};
            parsed.options.timeoutMs = ms;
        }
        else if (arg.size() > 1 && arg.starts_with("-") && !(arg[1] >= '0' && arg[1] <= '9'))
            return {std::nullopt, "unknown option " + Quoted(arg) + " (see --help)"};
        else if (!parsed.command)
        {
            const CommandInfo* info = FindCommand(arg);
            if (!info)
                return {std::nullopt, "unknown command " + Quoted(arg) + " (see --help)"};
            parsed.command = info->command;
        }
        else
            parsed.operands.emplace_back(arg);
    }

    if (parsed.version && !parsed.help)
        return {parsed, {}};
    if (!parsed.command)
    {
        if (parsed.help)
            return {parsed, {}};
        return {std::nullopt, "no command given (see --help)"};
    }
    const CommandInfo& info = InfoOf(*parsed.command);
    if (jsonGiven && *parsed.command != CliCommand::kDump)
        return {std::nullopt, "--json goes with dump only"};
    if (hexGiven && *parsed.command != CliCommand::kMonitor)
        return {std::nullopt, "--hex goes with monitor only"};
    if (kinds && *parsed.command != CliCommand::kMonitor)
        return {std::nullopt, "--filter goes with monitor only"};
    if (portGiven && *parsed.command == CliCommand::kDetect)
        return {std::nullopt, "detect tries every port: --port, --in and --out do not go with it"};
    parsed.options.kinds = kinds.value_or(kAllMessageKinds);
    parsed.options.json = jsonGiven;
    parsed.options.hex = hexGiven;
    if (parsed.help)
        return {parsed, {}};
    if (parsed.operands.size() != info.operands)
        return {std::nullopt,
                std::string(info.word) + " takes " +
                    (info.operands == 0 ? std::string("no operand")
                                        : "exactly " + std::to_string(info.operands) +
                                              (info.operands == 1 ? " operand" : " operands")) +
                    ": stomplet " + std::string(info.synopsis)};
    if (*parsed.command == CliCommand::kCalibrate)
    {
        const std::string& pedal = parsed.operands[0];
        const std::string& end = parsed.operands[1];
        if (pedal != "pedal1" && pedal != "pedal2")
            return {std::nullopt, "calibrate takes pedal1 or pedal2, not " + Quoted(pedal)};
        if (end != "low" && end != "high")
            return {std::nullopt, "calibrate takes low or high, not " + Quoted(end)};
    }
    return {parsed, {}};
}

std::string CliUsage()
{
    std::string text = "Usage: stomplet COMMAND [OPERANDS] [OPTIONS]\n\n"
                       "Talks to a ctrlWave Stomplet over MIDI, for scripts and rigs without a "
                       "screen.\n\nCommands:\n";
    for (const CommandInfo& info : kCommands)
    {
        std::string line = "  " + std::string(info.synopsis);
        text += line + "\n";
    }
    text += "Run \"stomplet COMMAND --help\" for what a command does and prints.\n\n";
    text += kOptionsText;
    text += "  --version           show the program's version\n\n";
    text += kExitText;
    return text;
}

std::string CommandUsage(CliCommand command)
{
    const CommandInfo& info = InfoOf(command);
    std::string text = "Usage: stomplet " + std::string(info.synopsis) + " [OPTIONS]\n\n";
    text += info.text;
    text += "\n";
    text += kOptionsText;
    text += "\n";
    text += kExitText;
    return text;
}
