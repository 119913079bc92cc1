#pragma once

#include "midi/MidiPorts.h"
#include "midi/MidiSystem.h"

#include <memory>
#include <string>

// The MIDI library's port objects (RtMidi on ALSA's sequencer or on JACK) behind the host's port
// interface. Library errors never escape as exceptions: they come back as MidiPortError or as the
// creation's error text; warnings are dropped.
class RtMidiPortFactory final : public MidiPortFactory
{
public:
    // `clientNamePrefix` names this program's client: "<prefix> Input Client" and
    // "<prefix> Output Client" (the editor uses "RtMidi").
    explicit RtMidiPortFactory(MidiSystem api, std::string clientNamePrefix = "RtMidi");

    MidiPortCreation<MidiInputPort> CreateInput() override;
    MidiPortCreation<MidiOutputPort> CreateOutput() override;
    // JACK's notices through a client called "<prefix> Port Watch"; none on ALSA.
    std::unique_ptr<MidiPortNotices> CreateNotices() override;
    // "the ALSA sequencer" or "the JACK server".
    std::string SystemName() const override;
    // True when the system can be reached now (a client opened and closed again).
    bool SystemRunning() const;

private:
    MidiSystem mApi;
    std::string mClientNamePrefix;
};
