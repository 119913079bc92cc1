#pragma once

#include "device/PresetFile.h"

#include <array>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

class IGraphics;

// Asked before a preset replaces settings that differ from the last preset loaded or saved.
inline constexpr std::string_view kUnsavedPresetQuestion =
    "Current Preset not saved. \nContinue without saving?";
// Shown, with the system's reason on a second line, when a preset cannot be written.
inline constexpr std::string_view kPresetNotSavedText = "The preset could not be saved.";

// The editor's preset files: LOAD and SAVE hand their chosen paths here, and it keeps the preset
// last loaded or saved to tell whether the settings differ from it.
//
// Loading reads and checks the whole file first; a file that is no preset, or of a later format
// version, is refused with its message and changes nothing. With unsaved changes the user is asked
// first, and Cancel leaves everything as it was. Then the editor takes the file's settings (see
// Editor::TakeSettings), the file's name without folder and extension shows on the main page and
// the settings count as saved.
//
// Saving writes the current settings atomically (a failed save leaves an existing file intact);
// only when the file is written do the name display, the remembered preset values and the unsaved
// state change. A failure is reported in a message box. Saving sends nothing.
//
// Owned by the editor, which must outlive it. [main thread]
class PresetSession
{
public:
    // What a preset session needs of the editor.
    class Editor
    {
    public:
        // The screen, or nullptr while there is none.
        virtual IGraphics* Screen() const = 0;
        // The current settings, one byte per setting in index order.
        virtual PresetValues SettingsBytes() const = 0;
        // Every setting takes its value from `values` (clamped to its range) without counting as
        // an edit; the screen follows, an edit still waiting is dropped, and the box gets the
        // settings at once as one All Settings message.
        virtual void TakeSettings(const PresetValues& values) = 0;
        // Shows `text` in a message box on the next idle tick.
        virtual void ShowMessageLater(std::string_view text) = 0;

    protected:
        ~Editor() = default;
    };

    explicit PresetSession(Editor& editor) : mEditor(editor) {}

    // `path` empty: the prompt was cancelled and nothing happens.
    void Load(const std::string& path);
    void Save(const std::string& path);

    // A user's edit of a setting: the settings now differ from the preset.
    void NoteEdit() { mModified = true; }
    // The box reported its settings: they differ when any byte but the four calibration settings
    // differs from the preset's value as it was read.
    void NoteReceived(std::span<const std::uint8_t, kNumParams> received);
    // The settings differ from the last preset loaded or saved.
    bool Modified() const { return mModified; }
    // The values of the last preset loaded (as read, before clamping) or saved; all 0 before any.
    const std::array<std::int32_t, kNumParams>& PresetValuesKept() const { return mPresetValues; }

private:
    // Takes the file's values into the settings and remembers them as the preset's.
    void Apply(const PresetValues& values, std::string_view path);
    // The preset at `path` was loaded or saved with `values`.
    void Remember(const PresetValues& values, std::string_view path);

    Editor& mEditor;
    bool mModified = false;
    std::array<std::int32_t, kNumParams> mPresetValues{};
};
