#pragma once

#include "midi/MidiSystem.h"
#include "sim/VirtualStomplet.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The command line of stomplet-sim, read into values. Parsing is a pure transform: it prints
// nothing and never ends the process; the caller reports an error and picks the exit status.

struct SimOptions
{
    std::optional<MidiSystem> midiApi; // empty: DefaultMidiSystem()
    bool standalone = false;           // Standalone Mode instead of Interface Mode
    // Ten times the firmware version, 0 to 0x7F.
    std::uint8_t versionByte = VirtualStomplet::kDefaultFirmwareVersion;
    std::optional<std::string> firmwareOut; // where a completed firmware image goes
    bool readStdin = true;                  // take commands from standard input
    // The name of the ports' client: the box's, or another to stand for a box behind a generic
    // MIDI interface.
    std::string clientName = "Korvo-Audio ctrlWave Stomplet";
};

enum class SimAction
{
    kRun,
    kHelp,
    kVersion,
};

struct SimArguments
{
    SimAction action = SimAction::kRun;
    SimOptions options;
};

// Either the arguments or, when they cannot be taken, one line saying why (no program name, no
// newline).
struct SimArgumentsResult
{
    std::optional<SimArguments> arguments;
    std::string error;
};

// Reads the arguments after the program name. Options take their value as the next argument or
// after '=' ("--version-byte 12", "--version-byte=12"). "--help" or "--version" anywhere wins over
// the other options, but an unknown option or a bad value is still an error.
SimArgumentsResult ParseSimArguments(std::span<const std::string_view> args);

// The version byte from decimal ("12") or hexadecimal with 0x ("0x0C"), 0 to 127; empty for
// anything else.
std::optional<std::uint8_t> ParseVersionByte(std::string_view text);

// The text of --help: every option, the ports, the commands read on standard input, the output
// format and the exit statuses. Ends with a newline.
std::string SimUsage();
