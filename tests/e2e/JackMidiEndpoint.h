#pragma once

#include "app/MidiPorts.h"
#include "app/RtMidiPorts.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace e2e
{
// The test's own MIDI ports on JACK, made by the editor's RtMidi port factory: an output the
// test sends through and an input that records whatever arrives.
// [test thread] for every member but the input callback (MIDI input thread).
class JackMidiEndpoint
{
public:
    // The JACK clients are called "<clientPrefix> Input Client" and "<clientPrefix> Output Client".
    explicit JackMidiEndpoint(const std::string& clientPrefix);
    ~JackMidiEndpoint();
    JackMidiEndpoint(const JackMidiEndpoint&) = delete;
    JackMidiEndpoint& operator=(const JackMidiEndpoint&) = delete;

    // Opens the test's output towards the port listed as `portName`; one line saying why not.
    MidiPortError ConnectOutputTo(std::string_view portName);
    // Opens the test's input from the port listed as `portName`, every message type let through.
    MidiPortError ConnectInputFrom(std::string_view portName);

    void Send(std::span<const std::uint8_t> bytes);

    std::vector<std::vector<std::uint8_t>> Received() const;
    // Waits until at least `count` messages have arrived, at most `limit`.
    bool WaitForReceived(std::size_t count, std::chrono::milliseconds limit) const;

private:
    // [MIDI input thread]
    static void OnMessage(const std::uint8_t* bytes, std::size_t size, void* userData);

    RtMidiPortFactory mFactory;
    std::unique_ptr<MidiInputPort> mInput;
    std::unique_ptr<MidiOutputPort> mOutput;

    mutable std::mutex mMutex;
    mutable std::condition_variable mArrived;
    std::vector<std::vector<std::uint8_t>> mReceived;
};
} // namespace e2e
