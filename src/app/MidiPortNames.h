#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Port name rules, pure functions.

// `name` without RtMidi's trailing ALSA sequencer address: a space, the client number, ':' and the
// port number at the very end ("Stomplet:Stomplet MIDI 1 24:0" gives "Stomplet:Stomplet MIDI 1").
// A name without such an ending comes back whole. The numbers change with plug order, so they
// are no part of a port's identity.
std::string_view WithoutClientPortNumbers(std::string_view name);

// The index in `names` (the library's ports, in its order) of the port that `wanted` names: the
// first name equal byte for byte; failing that, the first whose name equals `wanted` once the
// trailing client:port numbers are left out on both sides. Letter case always counts. nullopt when
// none matches; "off" matches no port.
std::optional<std::size_t> FindMidiPort(const std::vector<std::string>& names,
                                        std::string_view wanted);
