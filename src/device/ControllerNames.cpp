#include "device/ControllerNames.h"

#include <array>
#include <cstddef>

namespace
{
constexpr std::string_view kSlider = "Slider, Knob or Ribbon Controller";
constexpr std::string_view kGeneralPurpose = "General Purpose";

constexpr std::array<std::string_view, kNumControllers> kControllerNames{
    "Bank Select",                 // 0
    "Modulation Wheel",            // 1
    "Breath Ctrl",                 // 2
    "",                            // 3
    "Foot Pedal",                  // 4
    "Portamento",                  // 5
    "Data Entry (MSB)",            // 6
    "MIDI Volume",                 // 7
    "Stereo Balance",              // 8
    "",                            // 9
    "Pan Position",                // 10
    "Expression Pedal",            // 11
    "Fx Ctrl 1",                   // 12
    "Fx Ctrl 2",                   // 13
    "",                            // 14
    "",                            // 15
    kSlider,                       // 16
    kSlider,                       // 17
    kSlider,                       // 18
    kSlider,                       // 19
    "",                            // 20
    "",                            // 21
    "",                            // 22
    "",                            // 23
    "",                            // 24
    "",                            // 25
    "",                            // 26
    "",                            // 27
    "",                            // 28
    "",                            // 29
    "",                            // 30
    "",                            // 31
    "Bank Select (LSB)",           // 32
    "Mod. Wheel (LSB)",            // 33
    "Breath Ctrl (LSB)",           // 34
    "",                            // 35
    "Foot Pedal (LSB)",            // 36
    "Portamento/Glide Time (LSB)", // 37
    "Data Entry (LSB)",            // 38
    "Volume (LSB)",                // 39
    "Balance (LSB)",               // 40
    "",                            // 41
    "Pan Position (LSB)",          // 42
    "Expression (LSB)",            // 43
    "Fx Ctrl 1 (LSB)",             // 44
    "Fx Ctrl 2 (LSB)",             // 45
    "",                            // 46
    "",                            // 47
    "",                            // 48
    "",                            // 49
    "",                            // 50
    "",                            // 51
    "",                            // 52
    "",                            // 53
    "",                            // 54
    "",                            // 55
    "",                            // 56
    "",                            // 57
    "",                            // 58
    "",                            // 59
    "",                            // 60
    "",                            // 61
    "",                            // 62
    "",                            // 63
    "Sustain Pedal",               // 64
    "Portamento Sw.",              // 65
    "Sostenuto Switch",            // 66
    "Soft Pedal Sw.",              // 67
    "Legato Switch",               // 68
    "Hold Pedal 2",                // 69
    "Sound Controller 1",          // 70
    "Filter Resonance",            // 71
    "Envelope Decay",              // 72
    "Envelope Attack",             // 73
    "Filter Cutoff",               // 74
    "Sound Ctrl 6",                // 75
    "Sound Ctrl 7",                // 76
    "Sound Ctrl 8",                // 77
    "Sound Ctrl 9",                // 78
    "Sound Ctrl 10",               // 79
    kGeneralPurpose,               // 80
    kGeneralPurpose,               // 81
    kGeneralPurpose,               // 82
    kGeneralPurpose,               // 83
    "Portamento CC",               // 84
    "",                            // 85
    "",                            // 86
    "",                            // 87
    "Velocity",                    // 88
    "",                            // 89
    "",                            // 90
    "Fx 1 Reverb",                 // 91
    "Fx 2 Tremolo",                // 92
    "Fx 3 Chorus",                 // 93
    "Fx 4 Detuning",               // 94
    "Fx 5 Phaser",                 // 95
    "Data Bound Inc (+1)",         // 96
    "Data Bound Dec (-1)",         // 97
    "NRPN LSB",                    // 98
    "NRPN MSB",                    // 99
    "RPN LSB",                     // 100
    "RPN MSB",                     // 101
    "",                            // 102
    "",                            // 103
    "",                            // 104
    "",                            // 105
    "",                            // 106
    "",                            // 107
    "",                            // 108
    "",                            // 109
    "",                            // 110
    "",                            // 111
    "",                            // 112
    "",                            // 113
    "",                            // 114
    "",                            // 115
    "",                            // 116
    "",                            // 117
    "",                            // 118
    "",                            // 119
    "Channel Mute",                // 120
    "Reset All Ctrl",              // 121
    "Local Keyboard",              // 122
    "All Notes OFF",               // 123
    "OMNI Mode OFF",               // 124
    "OMNI Mode ON",                // 125
    "Mono Mode",                   // 126
    "Poly Mode",                   // 127
};

constexpr std::array<std::string_view, kNotesPerOctave> kNoteNames{
    "C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
} // namespace

std::string_view ControllerName(int controller)
{
    if (controller < 0 || controller >= kNumControllers)
        return {};
    return kControllerNames[static_cast<std::size_t>(controller)];
}

std::string_view NoteName(int note)
{
    if (note < 0)
        return {};
    return kNoteNames[static_cast<std::size_t>(note % kNotesPerOctave)];
}
