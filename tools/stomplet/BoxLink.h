#pragma once

#include "device/SysExMessages.h"
#include "midi/MidiPorts.h"

#include <chrono>
#include <condition_variable>
#include <csignal>
#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The tool's connection to the box: one output port and one input port of a MIDI system (RtMidi
// or the in-process bus), chosen as the first of each direction whose name begins with a prefix.
// Incoming messages are queued by the input callback and taken by the main thread, which waits on
// a condition variable (no polling).
//
// Threads: every member runs on the main thread; OnMessage runs on the MIDI input thread and only
// queues under the mutex.
class BoxLink
{
public:
    using Clock = std::chrono::steady_clock;
    using Bytes = std::vector<std::uint8_t>;

    // Status Requests that go unanswered are repeated this often while an answer is awaited: a
    // request is harmless to repeat, and a message can be lost on a busy MIDI server.
    static constexpr std::chrono::milliseconds kRequestRepeat{250};
    // How long the box has to answer the confirming request that tells Interface Mode, in ms.
    static constexpr std::int64_t kConfirmWindowMs = 300;

    // The port names of both directions, in the system's order.
    struct PortLists
    {
        std::vector<std::string> outputs;
        std::vector<std::string> inputs;
    };

    // Makes both port objects; one line saying why when the MIDI system cannot be reached.
    static std::optional<std::string> Create(MidiPortFactory& factory,
                                             std::unique_ptr<BoxLink>& link);
    ~BoxLink();
    BoxLink(const BoxLink&) = delete;
    BoxLink& operator=(const BoxLink&) = delete;

    PortLists ListPorts();
    // Opens the first output and the first input port whose names begin with `prefix` and lets
    // every message through; one line saying why when either is missing or cannot be opened.
    std::optional<std::string> Open(std::string_view prefix);
    const std::string& OutputName() const { return mOutputName; }
    const std::string& InputName() const { return mInputName; }

    void Send(std::span<const std::uint8_t> bytes);
    template <std::size_t N>
    void Send(const SysExBytes<N>& message)
    {
        Send(std::span<const std::uint8_t>(message.bytes));
    }

    // The next incoming message, or empty once `deadline` has passed (or `stop` became true;
    // it is checked at least every 100 ms).
    std::optional<Bytes> Receive(Clock::time_point deadline,
                                 const volatile std::sig_atomic_t* stop = nullptr);
    // Drops every message received so far.
    void Discard();

    // Sends a Status Request (repeated every kRequestRepeat) and returns the first Status Reply
    // that arrives within `timeout`; other messages are dropped.
    std::optional<StatusReply> RequestStatus(std::chrono::milliseconds timeout);
    // After a reply: true when a second request is answered within kConfirmWindowMs.
    bool ConfirmInterfaceMode();

private:
    BoxLink() = default;
    // [MIDI input thread]
    static void OnMessage(const std::uint8_t* bytes, std::size_t size, void* userData);

    std::unique_ptr<MidiInputPort> mInput;
    std::unique_ptr<MidiOutputPort> mOutput;
    std::string mOutputName;
    std::string mInputName;

    std::mutex mMutex;
    std::condition_variable mArrived;
    std::deque<Bytes> mReceived;
};
