#include "SimOptions.h"

#include "core/CommandLineOption.h"

#include <charconv>

std::optional<std::uint8_t> ParseVersionByte(std::string_view text)
{
    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X"))
    {
        text.remove_prefix(2);
        base = 16;
    }
    if (text.empty())
        return std::nullopt;
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    if (error != std::errc() || end != text.data() + text.size() || value > 0x7F)
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

SimArgumentsResult ParseSimArguments(std::span<const std::string_view> args)
{
    SimArguments parsed;
    bool help = false;
    bool version = false;
    for (std::size_t i = 0; i < args.size(); ++i)
    {
        const std::string_view arg = args[i];
        if (arg == "--help" || arg == "-h")
            help = true;
        else if (arg == "--version")
            version = true;
        else if (arg == "--standalone")
            parsed.options.standalone = true;
        else if (arg == "--no-stdin")
            parsed.options.readStdin = false;
        else if (IsOption(arg, "--midi-api"))
        {
            auto system = ParseMidiSystemOption(OptionValue(args, i, "--midi-api"));
            if (std::string* error = std::get_if<std::string>(&system))
                return {std::nullopt, std::move(*error)};
            parsed.options.midiApi = std::get<MidiSystem>(system);
        }
        else if (IsOption(arg, "--version-byte"))
        {
            const auto value = OptionValue(args, i, "--version-byte");
            const auto byte = value ? ParseVersionByte(*value) : std::nullopt;
            if (!byte)
                return {std::nullopt,
                        value ? "--version-byte takes 0 to 127 (or 0x00 to 0x7F), not \"" +
                                    std::string(*value) + "\""
                              : std::string("--version-byte needs a value: 0 to 127")};
            parsed.options.versionByte = *byte;
        }
        else if (IsOption(arg, "--name"))
        {
            const auto value = OptionValue(args, i, "--name");
            if (!value || value->empty() || value->find(':') != std::string_view::npos)
                return {std::nullopt, "--name needs a client name without ':' (such as \"Generic "
                                      "USB MIDI\")"};
            parsed.options.clientName = std::string(*value);
        }
        else if (IsOption(arg, "--firmware-out"))
        {
            const auto value = OptionValue(args, i, "--firmware-out");
            if (!value || value->empty())
                return {std::nullopt, "--firmware-out needs a file name"};
            parsed.options.firmwareOut = std::string(*value);
        }
        else if (arg.starts_with("-"))
            return {std::nullopt, "unknown option \"" + std::string(arg) + "\" (see --help)"};
        else
            return {std::nullopt, "unexpected argument \"" + std::string(arg) + "\" (see --help)"};
    }
    if (help)
        parsed.action = SimAction::kHelp;
    else if (version)
        parsed.action = SimAction::kVersion;
    return {parsed, {}};
}

std::string SimUsage()
{
    return R"(Usage: stomplet-sim [OPTIONS]

A virtual ctrlWave Stomplet on real MIDI ports. It answers the editor's SysEx as the
box does (Status Reply, settings, calibration, reset, firmware transfer) and sends
what its pedals and foot switches send when told to on standard input.

Options:
  --midi-api alsa|jack  MIDI system (default: alsa when /dev/snd/seq exists, else jack)
  --standalone          Standalone Mode: a Status Request that comes within 300 ms of
                        the last answered one gets no answer (default: Interface Mode,
                        every Status Request is answered)
  --version-byte N      the firmware version byte of the Status Reply, ten times the
                        version: 0 to 127, or 0x00 to 0x7F (default 12, version 1.2)
  --firmware-out FILE   each time a firmware transfer completes, write the assembled
                        image to FILE (a new file replaces the old one whole)
  --no-stdin            read no commands; run until SIGINT or SIGTERM
  --name NAME           call the ports' client NAME instead of the box's name, as a
                        box behind a generic MIDI interface ("Generic USB MIDI")
  -h, --help            show this text and exit
  --version             show the program's version and exit

Ports: the client is called "Korvo-Audio ctrlWave Stomplet" or the --name (input and
output each have their own client of that name; JACK numbers the second "...-01"). Its input port
"MIDI In" takes the editor's messages, its output port "MIDI Out" sends the box's.

Commands on standard input, one per line; blank lines and lines starting with '#' are
skipped. The end of standard input ends the program as quit does (see --no-stdin).
  pedal J P    move the pedal on jack J (1 or 2) to position P (0 heel to 127 toe)
  press S      press foot switch S: a1 or b1 (jack 1), a2 or b2 (jack 2)
  release S    release foot switch S
  quit         end the program
A bad command prints one line on standard error and is ignored.

Standard output: one line per MIDI message received ("in") and sent ("out"), in the
order they were handled, with the milliseconds since start and the bytes in hex,
flushed line by line:
     123.456 in  F0 00 3F 5A 04 02 71 00 F7
     123.789 out F0 00 3F 5A 04 01 ... F7
Standard error: errors, and one line for each completed firmware transfer.

Exit status: 0 after quit, end of input, SIGINT or SIGTERM; 2 for a bad argument;
3 when the MIDI ports cannot be opened.
)";
}
