#pragma once

#include "BoxLink.h"
#include "CliArguments.h"
#include "device/FirmwareImage.h"
#include "device/PresetFile.h"

#include <csignal>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <variant>

// The commands of `stomplet`, in two stages: Prepare checks everything that needs no box (the
// operands, the files to read) so that bad input ends with status 2 before any port is opened;
// Run then talks to the box through an open link and prints the results.

// What a command needs from its operands and files, made ready before any port is opened.
struct PreparedCommand
{
    CliCommand command = CliCommand::kStatus;
    std::string file;                   // save, load, diff, export, firmware
    PresetValues values{};              // load, diff: the file's values, clamped to the ranges
    int paramIdx = -1;                  // set; calibrate: the calibration setting
    int value = 0;                      // set
    std::optional<FirmwareImage> image; // firmware
};

// Either the prepared command or the one-line reason for status 2.
using PrepareResult = std::variant<PreparedCommand, std::string>;
PrepareResult PrepareCommand(const CliArguments& arguments);

// Where a running command prints, and what may interrupt it.
struct CommandOutput
{
    std::FILE* out = stdout;
    std::FILE* err = stderr;
    bool terminal = false;                            // `out` is a terminal: draw a progress bar
    const volatile std::sig_atomic_t* stop = nullptr; // set by SIGINT or SIGTERM
    // Called every 100 ms while the monitor waits (the demo's performance); may be empty.
    std::function<void()> idle;
};

// Runs a prepared command (any but ports) over a link, open for all but detect; returns the exit
// status.
int RunCommand(const PreparedCommand& command, const CliOptions& options, BoxLink& link,
               const CommandOutput& output);

// Prints the port lists for ports, marking the one of each direction that `choice` selects.
void PrintPorts(BoxLink& link, const BoxLink::PortChoice& choice, std::FILE* out);
