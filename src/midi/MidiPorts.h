#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The MIDI port objects the host works with: one input object and one output object, each of
// which lists the system's ports of its direction and has at most one of them open. RtMidi
// (ALSA or JACK) and the in-process bus implement them. Port indices follow the library's order
// and change when ports come or go.
//
// Threads: a port object is not thread-safe; its owner serialises every call on it. The input
// callback runs on the library's input thread.

// Engaged when an operation failed: the library's message, one line.
using MidiPortError = std::optional<std::string>;

// What the port objects of both directions share: the list of the system's ports of their
// direction and the connection to one of them.
class MidiPort
{
public:
    virtual ~MidiPort() = default;

    virtual unsigned PortCount() = 0;
    // The name of port `index`, or an empty text when there is no such port.
    virtual std::string PortName(unsigned index) = 0;
    // Connects to port `index`; `clientPortName` names this program's side of the connection.
    // Opening while a port is open fails.
    virtual MidiPortError OpenPort(unsigned index, std::string_view clientPortName) = 0;
    // Closing a port that is not open does nothing.
    virtual void ClosePort() = 0;
    // True from a successful OpenPort until ClosePort, even if the device has gone meanwhile.
    virtual bool IsPortOpen() const = 0;
};

class MidiInputPort : public MidiPort
{
public:
    // Receives one whole incoming message: a channel or system message of 1 to 3 bytes, or one
    // complete SysEx message from F0 to F7. `bytes` is valid during the call only. Must not block
    // and must not call back into the port object. [MIDI input thread]
    using Callback = void (*)(const std::uint8_t* bytes, std::size_t size, void* userData);

    // Installs the callback; no message is delivered without one. After CancelCallback returns,
    // the callback is not running and is not called again.
    virtual void SetCallback(Callback callback, void* userData) = 0;
    virtual void CancelCallback() = 0;
    // Which kinds of incoming message are dropped before the callback: SysEx (F0 ... F7),
    // timing (MIDI time code quarter frame F1, clock F8, tick F9), active sensing (FE). A new
    // object drops all three.
    virtual void IgnoreTypes(bool sysEx, bool timing, bool activeSensing) = 0;
};

class MidiOutputPort : public MidiPort
{
public:
    // Puts `size` bytes (a short message or a whole SysEx) on the open port as one message.
    // Without an open port nothing is sent. May block for the transmission time.
    virtual void SendMessage(const std::uint8_t* bytes, std::size_t size) = 0;
};

// A newly made port object, or why there is none.
template <typename Port>
struct MidiPortCreation
{
    std::unique_ptr<Port> port; // null on failure
    std::string error;          // the library's message when `port` is null
};

// What a MIDI system has announced about its ports since it was last asked.
enum class MidiPortNotice
{
    kNone,          // no port came, went or was renamed: the lists read last are still current
    kPortsChanged,  // the lists may have changed and must be read again
    kSystemStopped, // the system went away: its ports are gone, and port objects made before
                    // now never list its ports correctly again (a stopped JACK server)
    kSystemAbsent,  // the system is still not running: it has no ports, and the port objects
                    // are best not asked (each attempt of RtMidi's JACK output to reach a server
                    // that is not there costs memory it never frees)
    kSystemStarted, // the system runs again: port objects made while it was away must be made
                    // anew, then the lists read
};

// The system's announcements of port changes, so that a probe reads the port lists only when they
// may have changed instead of on every tick. The system's own thread records them; the owner
// takes them on the main thread.
class MidiPortNotices
{
public:
    virtual ~MidiPortNotices() = default;
    // [main thread] What happened since the last call. A notice recorded while this runs is kept
    // for the next call, so reading the lists right after it misses nothing.
    virtual MidiPortNotice Take() = 0;
};

// Makes the host's two port objects for one MIDI system.
class MidiPortFactory
{
public:
    virtual ~MidiPortFactory() = default;
    // [main thread]
    virtual MidiPortCreation<MidiInputPort> CreateInput() = 0;
    virtual MidiPortCreation<MidiOutputPort> CreateOutput() = 0;
    // [main thread] The system's port notices, or null when it has none: the lists must then be
    // read on every probe.
    virtual std::unique_ptr<MidiPortNotices> CreateNotices() { return nullptr; }
    // [any thread] The system as a person names it in a sentence, such as "the JACK server".
    virtual std::string SystemName() const { return "the MIDI system"; }
};
