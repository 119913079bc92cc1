#pragma once

#include "midi/MidiPorts.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// A MIDI system inside the process: named ports that can be plugged and unplugged at any time, as
// devices come and go. Port objects made by CreateInput and CreateOutput list these ports in plug
// order and connect to them as RtMidi's objects connect to real ones:
// - bytes fed to an input port with FeedInputPort reach every open input object connected to it,
//   whole, through its callback (after its ignore flags), on the feeding thread;
// - bytes an open output object sends reach the output port's listener, on the sending thread;
// - an unplugged port vanishes from the lists at once; objects connected to it stay "open" but
//   receive and deliver nothing, and a port plugged later under the same name is a new port that
//   they are not connected to.
// Used by the tests and the demo mode.
//
// Threads: every member and every port object may be used from any thread. Input callbacks run
// while the bus is locked, so that after ClosePort, CancelCallback or the object's destruction
// none runs any more; a callback must therefore not call into the bus. Listeners run with the bus
// unlocked and may feed input ports, but must not send through the output object that is calling
// them. The port objects may outlive the bus.
class InProcessMidi final : public MidiPortFactory
{
public:
    // Receives the bytes of one message sent to an output port. [sending thread]
    using Listener = std::function<void(const std::uint8_t* bytes, std::size_t size)>;

    InProcessMidi();
    ~InProcessMidi() override;
    InProcessMidi(const InProcessMidi&) = delete;
    InProcessMidi& operator=(const InProcessMidi&) = delete;

    // [any thread] Adds a port after the existing ones. False (nothing added) when a port of that
    // direction already has the name.
    bool PlugInputPort(std::string_view name);
    bool PlugOutputPort(std::string_view name, Listener listener);
    // [any thread] False when no port of that direction has the name.
    bool UnplugInputPort(std::string_view name);
    bool UnplugOutputPort(std::string_view name);

    // [any thread] Delivers one message as if the device behind input port `name` had sent it.
    // Returns how many input objects received it.
    int FeedInputPort(std::string_view name, const std::uint8_t* bytes, std::size_t size);

    // [any thread] How many open port objects are connected to the port called `name`.
    int InputConnections(std::string_view name) const;
    int OutputConnections(std::string_view name) const;

    // [main thread] Port objects on this bus.
    MidiPortCreation<MidiInputPort> CreateInput() override;
    MidiPortCreation<MidiOutputPort> CreateOutput() override;
    // [main thread] Notices that say when a port was plugged or unplugged.
    std::unique_ptr<MidiPortNotices> CreateNotices() override;

    struct State; // shared with the port objects

private:
    std::shared_ptr<State> mState;
};
