#pragma once

#include "ChildProcess.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e
{
// One line of stomplet-sim's traffic output, read back.
struct TrafficLine
{
    double milliseconds = 0; // since the simulator started
    bool sent = false;       // "out"; false for "in"
    std::vector<std::uint8_t> bytes;
};

// Parses "<ms> in|out <hex bytes>"; empty for any other line.
std::optional<TrafficLine> ParseTrafficLine(std::string_view line);

// How many "in" (`sent` false) or "out" lines of the traffic carry exactly `bytes`.
std::size_t CountTraffic(const std::vector<TrafficLine>& traffic, bool sent,
                         const std::vector<std::uint8_t>& bytes);

// A JACK server without real-time scheduling loses the MIDI of a cycle that a client misses,
// which happens now and then on a loaded machine. So the tests repeat a step whose repetition
// changes nothing until its effect shows, and treat only what did arrive as evidence.
inline constexpr int kSendAttempts = 5;
inline constexpr std::chrono::milliseconds kAttemptLimit{3000};

// stomplet-sim running on JACK as the box, with its two ports found on the server.
class SimulatorProcess
{
public:
    static constexpr std::string_view kClientName = "Korvo-Audio ctrlWave Stomplet";

    // Waits (a few seconds at most) until the server has no ports but its own, then starts the
    // simulator with `--midi-api jack` and `arguments` and waits until two new ports of it are
    // listed (the names JACK gave them). Null with `error` set on failure.
    static std::unique_ptr<SimulatorProcess> Start(const std::vector<std::string>& arguments,
                                                   bool pipeStandardInput, std::string& error);

    // The box's input ("...:MIDI In") and output ("...:MIDI Out") as JACK names them.
    const std::string& InputPort() const { return mInputPort; }
    const std::string& OutputPort() const { return mOutputPort; }
    ChildProcess& Process() { return *mProcess; }

    std::vector<TrafficLine> Traffic() const;
    // Waits until `done` holds for the traffic printed so far, at most `limit`.
    bool WaitForTraffic(const std::function<bool(const std::vector<TrafficLine>&)>& done,
                        std::chrono::milliseconds limit) const;
    // Everything the simulator printed so far, for a failure message.
    std::string Transcript() const;

private:
    std::unique_ptr<ChildProcess> mProcess;
    std::string mInputPort;
    std::string mOutputPort;
};
} // namespace e2e
