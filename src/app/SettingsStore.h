#pragma once

#include "app/AppSettings.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The folder the settings live in, under the user's application-data folder, and the file in it.
inline constexpr std::string_view kSettingsFolderName = "ctrlWaveStomplet";
inline constexpr std::string_view kSettingsFileName = "settings.ini";

// A settings file problem, as one line for the diagnostic output.
struct SettingsError
{
    enum class Kind
    {
        kCreateFolder, // the folder could not be made; nothing was read or written
        kReadFile,     // the file exists but could not be read; defaults were used
        kReadOnly,     // the file is read-only: it was read, and changes are not written
        kWriteFile,    // the file could not be written; the old file, if any, is unchanged
    };

    Kind kind;
    std::string message;
};

// `settings.ini` in one folder: sections "audio" and "midi", thirteen keys, read and written in
// this order (the default applies when a key is missing on reading):
//   [audio] driver 0, indev "Built-in Input", outdev "Built-in Output", in1 1, in2 2, out1 1,
//           out2 2, buffer 512, sr 44100
//   [midi]  indev "no input", outdev "no output", inchan 0, outchan 0
// Numbers are unsigned decimal; a number that is not one (words, negative, over 4294967295) reads
// as the key's default. Texts have no length limit. Lines the store does not know (other keys,
// comments) survive every write, and keys already in the file keep their places.
//
// A file is never replaced by what the program made up for lack of it: a file that exists but
// could not be read (too large, unreadable, not a regular file) is left exactly as it is, and no
// save writes it until AllowReplacingUnreadableFile (the user agreed in Preferences). A read-only
// file (no write bit, or no write access) is read and never written: changes last for the session.
// [main thread]
class SettingsStore
{
public:
    // `folder` is the settings folder itself (the application-data folder plus
    // kSettingsFolderName, or a folder given on the command line).
    explicit SettingsStore(std::filesystem::path folder);

    // From now on the file is neither read nor written: LoadSettings leaves `settings` as they are
    // and SaveSettings does nothing (the demo mode, which must not change the user's settings).
    void DetachFromFile() { mDetached = true; }
    bool Detached() const { return mDetached; }

    const std::filesystem::path& Folder() const { return mFolder; }
    const std::filesystem::path& FilePath() const { return mFilePath; }

    // What the start-up read found at the file.
    enum class FileState
    {
        kWritable,   // read (or missing, then created) and written as the settings change
        kUnreadable, // exists but could not be read: kept as it is, see
                     // AllowReplacingUnreadableFile
        kReadOnly,   // read, never written
    };

    // The start-up read. A missing folder is created and nothing is read; a missing or unreadable
    // file is not read; otherwise every key is read into `settings` with its default when missing.
    // `settings` keeps its values wherever nothing is read. A missing file, or one the program may
    // write, is then written, so it holds every key; an unreadable or read-only file is not
    // (State() says which). Returns the problems met, in order (empty when all went well); each
    // is one line for the caller to print, and none stops the program.
    std::vector<SettingsError> LoadSettings(AppSettings& settings);
    FileState State() const { return mState; }
    // After LoadSettings: the file named no MIDI port yet (there was none, or it lacks both MIDI
    // port keys), so no port has ever been chosen in this folder.
    bool MidiPortsNeverChosen() const { return mMidiPortsNeverChosen; }
    // From now on a file that cannot be read is replaced by the next save (its content is lost).
    // State() is then kWritable.
    void AllowReplacingUnreadableFile()
    {
        mReplaceUnreadable = true;
        if (mState == FileState::kUnreadable)
            mState = FileState::kWritable;
    }

    // Writes every key from `settings` into the file atomically, creating the folder when it is
    // missing. The file's other lines are kept. Nothing is written, and nothing reported, while
    // the file is read-only or unreadable as found at start-up (unless replacing was allowed); a
    // file that has become unreadable since is not replaced either, and that is reported.
    std::optional<SettingsError> SaveSettings(const AppSettings& settings) const;

private:
    std::filesystem::path mFolder;
    std::filesystem::path mFilePath;
    bool mDetached = false;
    FileState mState = FileState::kWritable;
    bool mMidiPortsNeverChosen = false;
    bool mReplaceUnreadable = false;
};
