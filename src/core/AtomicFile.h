#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>

// Why a whole-file write did not happen. The target is then exactly as it was before the call.
struct AtomicWriteError
{
    enum class Step
    {
        kCreateTemporary, // no temporary file could be made in the target's folder
        kWrite,           // writing or flushing the temporary file failed (disk full, size limit)
        kReplace,         // the temporary file could not be renamed over the target
    };

    Step step;
    std::filesystem::path path; // the target
    std::error_code code;       // the system's reason

    // One line for a person, e.g. `cannot write "/x/settings.ini": No space left on device`.
    std::string Describe() const;
};

// Replaces the file at `target` with `content` so that any reader sees either the old file whole or
// the new file whole, never a mixture or a cut-off file: the bytes go into a new temporary file in
// the target's folder, are flushed to the disk, and the temporary file is then renamed over the
// target. On any failure the temporary file is removed and the target left untouched. The folder
// must exist; it is not created. A target that is a symbolic link is resolved, so the file it
// points at is replaced and the link kept. [any thread] Two concurrent writers of one target each
// succeed; the last rename wins.
std::optional<AtomicWriteError> WriteFileAtomically(const std::filesystem::path& target,
                                                    std::string_view content);
