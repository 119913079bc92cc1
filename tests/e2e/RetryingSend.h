#pragma once

#include "JackMidiEndpoint.h"
#include "SimulatorProcess.h"

#include <chrono>
#include <cstdint>
#include <optional>
#include <vector>

// A JACK server without real-time scheduling loses the MIDI of a cycle that a client misses,
// which happens now and then on a loaded machine. So the tests send a message whose repetition
// changes nothing again until its effect shows, and treat only what did arrive as evidence: the
// simulator's traffic lines say exactly which messages it took and sent.
namespace e2e
{
inline constexpr int kSendAttempts = 5;
inline constexpr std::chrono::milliseconds kAttemptLimit{3000};

// Sends Status Requests through `endpoint` until one more message arrives at its input; that
// message, or empty after kSendAttempts tries.
std::optional<std::vector<std::uint8_t>> RequestStatus(JackMidiEndpoint& endpoint);

// Sends `bytes` until the simulator's traffic shows one more "in" line with exactly these bytes;
// false after kSendAttempts tries.
bool SendUntilTaken(JackMidiEndpoint& endpoint, const SimulatorProcess& sim,
                    const std::vector<std::uint8_t>& bytes);

// How many "in" (`sent` false) or "out" lines of the traffic carry exactly `bytes`.
std::size_t CountTraffic(const std::vector<TrafficLine>& traffic, bool sent,
                         const std::vector<std::uint8_t>& bytes);
} // namespace e2e
