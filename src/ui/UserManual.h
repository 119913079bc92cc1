#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class PlatformUi;

// The user manual the program carries (a PDF), written out into the settings folder so that the
// system's viewer can open it. The file on disk is written only when it is missing or its size
// differs from the carried one (a write cut short, or a newer editor with a newer manual);
// otherwise it is opened as it is, so a reader's own copy of the same size is left alone.

inline constexpr std::string_view kUserManualFileName = "Stomplet_userguide-v1.00.pdf";

// Where Read Manual puts the manual and how it obtains the carried one.
struct UserManualSource
{
    // The settings folder; created, with its parents, when the manual is first written into it.
    std::filesystem::path folder;
    // The carried manual, byte for byte, or nullopt when the program carries none. Empty: none.
    std::function<std::optional<std::string>()> read;
};

// True when the manual must be (re)written: no file on disk (`sizeOnDisk` nullopt), or a file
// whose size in bytes differs from `carriedSize`. Pure.
bool ManualNeedsWriting(std::optional<std::uintmax_t> sizeOnDisk, std::size_t carriedSize);

// The outcome of making the manual available on disk.
struct ManualFile
{
    enum class State
    {
        kReused,      // a file of the carried size (or, with nothing carried, any file) was there
        kWritten,     // the carried manual was written, replacing any file at the path
        kWriteFailed, // the carried manual could not be written; any old file is unchanged
        kUnavailable, // nothing carried and no file on disk
    };

    std::filesystem::path path; // folder / kUserManualFileName
    State state = State::kUnavailable;
    std::string problem; // one line for the user when the state is kWriteFailed
};

// Makes folder / kUserManualFileName hold the manual: writes `carried` through a temporary file
// renamed into place when ManualNeedsWriting says so (creating the folder and its parents first),
// otherwise leaves the file untouched.
// [main thread]
ManualFile ProvideManualFile(const std::filesystem::path& folder,
                             const std::optional<std::string>& carried);

// Help > Read Manual: provides the file, then hands its path to the system's viewer. When the
// manual cannot be written, or no viewer takes it, a message box tells the user and names the
// file's path. [main thread]
void OpenUserManual(const UserManualSource& source, PlatformUi& platform);
