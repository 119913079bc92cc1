#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

class RtMidiIn;
class RtMidiOut;

// The box's two virtual MIDI ports (RtMidi, on the ALSA sequencer or on JACK): other programs
// connect to "MIDI In" to talk to the box and to "MIDI Out" to hear it. Each received message is
// queued with the time it arrived and announced by one byte on a wake-up pipe, so a poll loop on
// the main thread can take it.
//
// Threads: everything runs on the main thread except the input callback, which runs on the MIDI
// library's thread and only queues (under a mutex) and writes the wake-up byte.
class SimMidiPorts
{
public:
    static constexpr std::string_view kClientName = "Korvo-Audio ctrlWave Stomplet";
    static constexpr std::string_view kInputPortName = "MIDI In";
    static constexpr std::string_view kOutputPortName = "MIDI Out";

    using Clock = std::chrono::steady_clock;

    struct Received
    {
        std::vector<std::uint8_t> bytes; // one whole message, SysEx from F0 to F7
        Clock::time_point arrival;
    };

    // `wakeFd` is the write end of a non-blocking pipe; it must stay open while the ports are.
    explicit SimMidiPorts(int wakeFd);
    // Removes the callback and closes both ports.
    ~SimMidiPorts();
    SimMidiPorts(const SimMidiPorts&) = delete;
    SimMidiPorts& operator=(const SimMidiPorts&) = delete;

    // Creates the input, then the output, each on a client called `clientName`, and opens their
    // virtual ports; every message type is let through. One line saying why when it fails (the
    // ports are then closed again).
    std::optional<std::string> Open(bool jack, std::string_view clientName = kClientName);

    // Puts one whole message on the output port; one line saying why when the library refused it.
    std::optional<std::string> Send(std::span<const std::uint8_t> bytes);

    // Every message received since the last call, in arrival order.
    std::vector<Received> TakeReceived();

private:
    // [MIDI input thread]
    static void OnMessage(double deltaTime, std::vector<unsigned char>* message, void* userData);
    void Close();

    int mWakeFd;
    std::unique_ptr<RtMidiIn> mInput;
    std::unique_ptr<RtMidiOut> mOutput;
    std::string mLastError; // set by the library's error callback on the main thread

    std::mutex mReceivedMutex;
    std::deque<Received> mReceived;
};
