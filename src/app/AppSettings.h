#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The MIDI port name that stands for no port.
inline constexpr std::string_view kMidiPortOff = "off";

// The host's settings: MIDI port names and the audio host's devices and formats. The values here
// are those of a fresh record; a settings file that lacks a key gives other defaults (see
// SettingsStore). No control edits the audio fields; the two MIDI channel fields are stored only
// and reset to 0 when a port is picked.
struct AppSettings
{
    std::string audioInputDevice = "Default Device";
    std::string audioOutputDevice = "Default Device";
    std::string midiInputPort = std::string(kMidiPortOff);  // a port name, or "off"
    std::string midiOutputPort = std::string(kMidiPortOff); // a port name, or "off"
    std::uint32_t audioDriver = 0;                          // 0 the system's default API, 1 JACK
    std::uint32_t sampleRate = 44100;                       // Hz
    std::uint32_t bufferSize = 512;                         // frames
    std::uint32_t midiInputChannel = 0;
    std::uint32_t midiOutputChannel = 0;
    std::uint32_t audioInputLeft = 1;
    std::uint32_t audioInputRight = 2;
    std::uint32_t audioOutputLeft = 1;
    std::uint32_t audioOutputRight = 2;

    // All thirteen fields equal, texts byte for byte.
    bool operator==(const AppSettings&) const = default;
};
