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
#include <utility>
#include <variant>
#include <vector>

// The tool's connection to the box: one output port and one input port of a MIDI system (RtMidi
// or the in-process bus), chosen by exact name or as the first of each direction whose name
// begins with a prefix; or, to find boxes, every input port at once and one output port after
// another. Incoming messages are queued by the input callbacks with the input they came from and
// taken by the main thread, which waits on a condition variable (no polling).
//
// Threads: every member runs on the main thread; OnMessage runs on the MIDI input threads and
// only queues under the mutex.
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

    // Which ports Open takes: the one called exactly `inputName` or `outputName`, else the first
    // whose name begins with `prefix`; with `inputOnly` no output port (a link that only listens).
    struct PortChoice
    {
        std::string prefix;
        std::string inputName;
        std::string outputName;
        bool inputOnly = false;
    };

    // A box that answered FindBoxes.
    struct FoundBox
    {
        std::string output;
        std::string input;
        std::uint8_t version = 0;
        bool interfaceMode = false;
    };

    // Makes both port objects; one line saying why when the MIDI system cannot be reached. The
    // factory must outlive the link.
    static std::optional<std::string> Create(MidiPortFactory& factory,
                                             std::unique_ptr<BoxLink>& link);
    ~BoxLink();
    BoxLink(const BoxLink&) = delete;
    BoxLink& operator=(const BoxLink&) = delete;

    PortLists ListPorts();
    // The output and the input port `choice` names, or why either is missing (one line). With
    // `inputOnly` the output is not looked for and given as 0.
    std::variant<std::pair<unsigned, unsigned>, std::string> Choose(const PortLists& lists,
                                                                    const PortChoice& choice) const;
    // Opens the ports `choice` names and lets every message through; one line saying why when
    // either is missing or cannot be opened.
    std::optional<std::string> Open(const PortChoice& choice);
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
    // After a reply: true when a second request is answered within kConfirmWindowMs on the input
    // the reply came from.
    bool ConfirmInterfaceMode();

    // Listens on every input port and sends Status Requests on each output port in turn, waiting
    // up to `timeout` for each, except on the ports `leftAlone` names; returns each output that
    // got an answer with the input it came on, the version and the mode. One line saying why
    // when the ports cannot be opened.
    using PortFilter = bool (*)(std::string_view portName);
    std::variant<std::vector<FoundBox>, std::string> FindBoxes(std::chrono::milliseconds timeout,
                                                               PortFilter leftAlone);

private:
    // One input port object and where its messages go.
    struct Listener
    {
        BoxLink* link = nullptr;
        std::size_t source = 0; // its place in mInputs
        std::unique_ptr<MidiInputPort> port;
    };
    struct Received
    {
        std::size_t source;
        Bytes bytes;
    };

    BoxLink() = default;
    std::optional<std::string> OpenInput(Listener& listener, unsigned index,
                                         const std::string& name);
    std::optional<Received> ReceiveFrom(Clock::time_point deadline,
                                        const volatile std::sig_atomic_t* stop = nullptr);
    // [MIDI input thread]
    static void OnMessage(const std::uint8_t* bytes, std::size_t size, void* userData);

    MidiPortFactory* mFactory = nullptr;
    std::vector<std::unique_ptr<Listener>> mInputs; // the first lists the ports
    std::unique_ptr<MidiOutputPort> mOutput;
    std::string mOutputName;
    std::string mInputName;
    std::size_t mReplySource = 0; // the input the latest Status Reply came on

    std::mutex mMutex;
    std::condition_variable mArrived;
    std::deque<Received> mReceived;
};
