#pragma once

#include "ChildProcess.h"

#include <chrono>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e
{
// The bytes of one line of jack_midi_dump's output ("  <time>: f0 00 ... f7", a short message
// followed by its description); empty for a line that carries no message.
std::optional<std::vector<std::uint8_t>> ParseMidiDumpLine(std::string_view line);

// jack_midi_dump as an independent observer: a JACK client with one MIDI input port, printing
// every message that reaches it.
class MidiDumpProcess
{
public:
    // Starts `jack_midi_dump <clientName>` and waits until its input port is listed. Null with
    // `error` set on failure.
    static std::unique_ptr<MidiDumpProcess> Start(const std::string& clientName,
                                                  std::string& error);

    const std::string& InputPort() const { return mInputPort; }

    std::vector<std::vector<std::uint8_t>> Messages() const;

private:
    std::unique_ptr<ChildProcess> mProcess;
    std::string mInputPort;
};
} // namespace e2e
