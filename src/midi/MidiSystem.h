#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <variant>

// The MIDI system the programs open their ports on, and the --midi-api option that chooses it.
// [any thread]
enum class MidiSystem
{
    kAlsa,
    kJack,
};

// ALSA when the sequencer device exists, else JACK.
MidiSystem DefaultMidiSystem();
// "alsa" or "jack", as the option names them.
const char* MidiSystemName(MidiSystem system);

// The value of --midi-api: the system it names, or the one-line reason it names none
// (`--midi-api takes alsa or jack, not "x"`; "--midi-api needs a value: alsa or jack" when the
// option came without a value).
std::variant<MidiSystem, std::string> ParseMidiSystemOption(std::optional<std::string_view> value);
