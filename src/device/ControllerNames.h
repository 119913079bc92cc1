#pragma once

#include <string_view>

// The fixed name tables of the assignment displays. Pure lookups. [any thread]

inline constexpr int kNumControllers = 128;
inline constexpr int kNotesPerOctave = 12;

// The name of MIDI controller `controller` (0 to 127) as the displays show it; the empty text for
// a number without a name and for a number outside 0 to 127.
std::string_view ControllerName(int controller);

// "C", "C#", ... "B" (sharps only) for `note` modulo 12; the empty text for a negative note.
std::string_view NoteName(int note);

// The octave shown beside a note name: `note` / 12 - 2, so note 0 is C-2, 60 is C3, 127 is G8.
constexpr int NoteOctave(int note)
{
    return note / kNotesPerOctave - 2;
}
