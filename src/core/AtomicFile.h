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
        kRefused,         // the target is not a file this writer replaces (see WriteFileAtomically)
        kCreateTemporary, // no temporary file could be made in the target's folder
        kWrite,           // writing or flushing the temporary file failed (disk full, size limit)
        kReplace,         // the temporary file could not be renamed over the target
    };

    Step step;
    std::filesystem::path path; // the target as given
    std::error_code code;       // the system's reason
    std::string refusal;        // kRefused: what the target is, e.g. "a FIFO, not a regular file"

    // One line for a person, e.g. `cannot write "/x/settings.ini": No space left on device` or
    // `will not write "/x/p.csx": it is a FIFO, not a regular file`.
    std::string Describe() const;
};

// Writes `content` as the whole file at `target`, so that any reader sees either the old file
// whole or the new file whole, never a mixture or a cut-off file. What the target may be:
// - a regular file the user may write: replaced; the new file keeps its permission bits (and its
//   owner, where the system allows);
// - a symbolic link (or a chain of them) to such a file: the file it resolves to is replaced and
//   every link is kept;
// - nothing (and a dangling link, whose missing end is created, so the link then points at the
//   new file): a new file is made with the usual permissions (0666 less the umask);
// - anything else is refused (step kRefused) and nothing is touched: a directory, a device, a
//   FIFO, a socket, a read-only file (no write bit, or no write access), and any path whose links
//   lead through /proc or /sys (such as /dev/stdout).
// The bytes go into a new temporary file with a short name in the final file's folder, are flushed
// to the disk, and that file is then renamed over the target. On any failure the temporary file is
// removed. The folder must exist; it is not created. [any thread] Two concurrent writers of one
// target each succeed; the last rename wins.
std::optional<AtomicWriteError> WriteFileAtomically(const std::filesystem::path& target,
                                                    std::string_view content);
