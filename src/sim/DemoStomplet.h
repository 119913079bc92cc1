#pragma once

#include "midi/InProcessMidi.h"
#include "sim/DemoPerformer.h"
#include "sim/VirtualStomplet.h"

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <string_view>

// The demo's box: a VirtualStomplet behind one input and one output port of an in-process MIDI
// bus, both named kPortName, which begins with the box's name so the editor and the tool take it
// for the box. Whatever is sent to the output port reaches the box; what the box answers, and
// what its pedals and switches send while Perform plays them, arrives on the input port.
//
// Threads: the box is guarded by a mutex, so messages may be sent to it from any thread; the
// answers are fed to the input port on the sending thread, outside that mutex. Perform runs on
// the main thread. The bus must outlive this object, and so must every port object connected
// to its ports keep from sending once this object is gone (destroy the host first).
class DemoStomplet
{
public:
    static constexpr std::string_view kPortName = "Korvo-Audio ctrlWave Stomplet Demo";
    // How often the demo's owner should call Perform.
    static constexpr std::chrono::milliseconds kPerformPeriod{100};

    // Plugs both ports into `bus`.
    explicit DemoStomplet(InProcessMidi& bus);
    // Unplugs both ports.
    ~DemoStomplet();
    DemoStomplet(const DemoStomplet&) = delete;
    DemoStomplet& operator=(const DemoStomplet&) = delete;

    // [main thread] Plays the pedals and switches as far as the performance has got; returns how
    // many messages the box sent.
    std::size_t Perform();

    // [any thread] A copy of the box's current settings.
    VirtualStomplet::Settings Settings();

private:
    // [any thread] One message sent to the box's output port.
    void OnMessageToBox(const std::uint8_t* bytes, std::size_t size);
    void Feed(const std::vector<VirtualStomplet::WireMessage>& messages);
    std::int64_t NowMs() const;

    InProcessMidi& mBus;
    const std::chrono::steady_clock::time_point mStart = std::chrono::steady_clock::now();
    std::mutex mBoxMutex;
    VirtualStomplet mBox;
    DemoPerformer mPerformer; // main thread only
};
