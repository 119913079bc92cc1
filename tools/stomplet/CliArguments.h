#pragma once

#include "CliFormat.h"
#include "midi/MidiSystem.h"

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The command line of `stomplet`, read into values. Parsing is a pure transform: it prints nothing
// and never ends the process; the caller reports an error and picks the exit status.

enum class CliCommand
{
    kPorts,
    kDetect,
    kStatus,
    kDump,
    kSave,
    kLoad,
    kDiff,
    kSet,
    kReset,
    kCalibrate,
    kFirmware,
    kMonitor,
    kExport,
};

// Exit statuses of the program.
inline constexpr int kExitSuccess = 0;
inline constexpr int kExitNoAnswer = 1;    // the box did not answer in time, or not as expected
inline constexpr int kExitBadInput = 2;    // bad arguments or a bad file
inline constexpr int kExitMidiMissing = 3; // no MIDI system, or no port of the given name
inline constexpr int kExitDiffers = 4;     // diff: the box's settings differ from the file's

// The file name that means standard output for save and export.
inline constexpr std::string_view kStandardOutputName = "-";

inline constexpr std::string_view kDefaultPortPrefix = "Korvo-Audio ctrlWave Stomplet";
inline constexpr int kDefaultTimeoutMs = 1000;
inline constexpr int kMaxTimeoutMs = 600000;

struct CliOptions
{
    // The first output port and the first input port whose names begin with this.
    std::string portPrefix = std::string(kDefaultPortPrefix);
    std::string inputName;  // the input port of exactly this name instead; empty: by the prefix
    std::string outputName; // the output port of exactly this name instead; empty: by the prefix
    std::optional<MidiSystem> midiApi;     // empty: DefaultMidiSystem()
    int timeoutMs = kDefaultTimeoutMs;     // how long an answer of the box is awaited, 1 to 600000
    bool demo = false;                     // the in-process virtual box instead of a MIDI system
    bool json = false;                     // dump: JSON instead of lines
    bool hex = false;                      // monitor: the bytes of each message as well
    MessageKinds kinds = kAllMessageKinds; // monitor: the kinds of message shown
};

struct CliArguments
{
    std::optional<CliCommand> command; // empty with `help` for the program's own help
    bool help = false;                 // show the help of `command` (or of the program)
    bool version = false;
    std::vector<std::string> operands; // as many as the command takes, checked
    CliOptions options;
};

// Either the arguments or, when they cannot be taken, one line saying why (no program name, no
// newline).
struct CliArgumentsResult
{
    std::optional<CliArguments> arguments;
    std::string error;
};

// Reads the arguments after the program name: one command word, its operands and the options,
// in any order. Options take their value as the next argument or after '=' ("--timeout 500",
// "--timeout=500"). "--help" anywhere wins over missing operands but not over an unknown option
// or a bad value. An option that the command does not take (--json but for dump, --hex and
// --filter but for monitor, --port, --in and --out for detect) is an error. "-" and negative
// numbers ("-1") are operands, not options.
CliArgumentsResult ParseCliArguments(std::span<const std::string_view> args);

// The command's word as typed: "ports", "status", ...
std::string_view CommandWord(CliCommand command);

// The program's help: every command, the options and the exit statuses. Ends with a newline.
std::string CliUsage();
// One command's help: its synopsis, what it does and prints, its options. Ends with a newline.
std::string CommandUsage(CliCommand command);
