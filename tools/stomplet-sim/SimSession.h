#pragma once

#include "LineSplitter.h"
#include "SimMidiPorts.h"
#include "SimOptions.h"
#include "TrafficLine.h"
#include "sim/VirtualStomplet.h"

#include <csignal>
#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <string_view>

struct SimCommand;

// The running simulator: a poll loop on the main thread that takes commands from standard input
// and messages from the box's ports, lets the virtual box answer and act, sends what it sends and
// prints every message received and sent.
//
// Times come from a steady clock. The box's 300 ms rule takes a received message at the moment the
// MIDI library handed it over; a printed line carries the moment the loop handled the message, so
// the lines' time stamps never go backwards.
class SimSession
{
public:
    // `ports` must be open and outlive the session; `wakeFd` is the read end (non-blocking) of the
    // ports' wake-up pipe, also written by the signal handler, which sets `stopRequested`. Time
    // stamps count from `start`.
    SimSession(const SimOptions& options, SimMidiPorts& ports, int wakeFd,
               const volatile std::sig_atomic_t& stopRequested,
               SimMidiPorts::Clock::time_point start);

    // Runs until "quit", the end of standard input (when it is read) or a stop request. Messages
    // that arrived before the end are still answered. Returns the exit status, 0.
    int Run();

private:
    bool TakeStandardInput();                     // false at the end of input or on "quit"
    bool RunLine(const LineSplitter::Line& line); // false on "quit"
    void RunCommand(const SimCommand& command);
    void TakeMessages();
    void Receive(const SimMidiPorts::Received& message);
    void SendAll(const std::vector<VirtualStomplet::WireMessage>& messages);
    void FirmwareCompleted();
    // One traffic line stamped with the present moment.
    void Print(TrafficDirection direction, std::span<const std::uint8_t> bytes);
    void Diagnose(const std::string& line);
    std::int64_t MillisecondsSinceStart(SimMidiPorts::Clock::time_point at) const;

    SimOptions mOptions;
    SimMidiPorts& mPorts;
    int mWakeFd;
    const volatile std::sig_atomic_t& mStopRequested;
    SimMidiPorts::Clock::time_point mStart;
    VirtualStomplet mBox;
    // The longest command line taken; a longer one is refused with one line.
    static constexpr std::size_t kMaxCommandLineBytes = 1024;
    LineSplitter mInput{kMaxCommandLineBytes}; // standard input, cut into lines
};
