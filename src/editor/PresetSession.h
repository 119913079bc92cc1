#pragma once

#include "device/PresetFile.h"

#include <string>
#include <string_view>

class ctrlWaveStomplet;

// Asked before a preset replaces settings that differ from the last preset loaded or saved.
inline constexpr std::string_view kUnsavedPresetQuestion =
    "Current Preset not saved. \nContinue without saving?";
// Shown, with the system's reason on a second line, when a preset cannot be written.
inline constexpr std::string_view kPresetNotSavedText = "The preset could not be saved.";

// The editor's preset files: LOAD and SAVE hand their chosen paths here.
//
// Loading reads and checks the whole file first; a file that is no preset, or of a later format
// version, is refused with its message and changes nothing. With unsaved changes the user is asked
// first, and Cancel leaves everything as it was. Then every setting takes the file's value
// (clamped to its range), the summaries follow the new jack modes, the file's name without folder
// and extension shows on the main page, the settings count as saved, an edit still waiting is
// dropped, and the box gets the settings at once as one All Settings message.
//
// Saving writes the current settings atomically (a failed save leaves an existing file intact);
// only when the file is written do the name display, the remembered preset values and the unsaved
// state change. A failure is reported in a message box. Saving sends nothing.
//
// Owned by the editor, which must outlive it. [main thread]
class PresetSession
{
public:
    explicit PresetSession(ctrlWaveStomplet& editor) : mEditor(editor) {}

    // `path` empty: the prompt was cancelled and nothing happens.
    void Load(const std::string& path);
    void Save(const std::string& path);

private:
    // Writes the file's values into the settings and sends them on.
    void Apply(const PresetValues& values, std::string_view path);

    ctrlWaveStomplet& mEditor;
};
