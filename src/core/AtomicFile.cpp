#include "core/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <random>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define STOMPLET_HAVE_POSIX_FILES 1
#endif
#if defined(__linux__)
#include <linux/magic.h>
#include <sys/vfs.h>
#endif

namespace
{
namespace fs = std::filesystem;

// Links followed before a chain counts as a loop (the system's own limit is 40).
constexpr int kMaxLinkHops = 40;

std::error_code LastSystemError()
{
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

// A short name no other writer in this or another process picks at the same moment: a per-process
// random seed and a counter. Its length does not depend on the target's, so a target whose name is
// as long as the system allows still saves. The file is created exclusively, so a clash only costs
// a retry.
std::string TemporaryName()
{
    static const std::uint64_t seed = std::random_device{}();
    static std::atomic<std::uint64_t> counter{0};
    const std::uint64_t n = seed * 6364136223846793005ull + counter.fetch_add(1);
    char name[32];
    std::snprintf(name, sizeof name, ".stomplet-%012llx.tmp",
                  static_cast<unsigned long long>(n & 0xFFFFFFFFFFFFull));
    return name;
}

AtomicWriteError Refused(const fs::path& target, std::string what, std::errc code)
{
    return {AtomicWriteError::Step::kRefused, target, std::make_error_code(code), std::move(what)};
}

// True when `folder` lies on a kernel's information file system (/proc, /sys), whose entries are
// not the user's files.
bool OnKernelFileSystem(const fs::path& folder)
{
#if defined(__linux__)
    struct statfs info = {};
    if (::statfs(folder.empty() ? "." : folder.c_str(), &info) != 0)
        return false;
    return info.f_type == PROC_SUPER_MAGIC || info.f_type == SYSFS_MAGIC;
#else
    (void)folder;
    return false;
#endif
}

// What a link chain ends at: the path of the final file (which may not exist), or the refusal.
struct Resolved
{
    fs::path path;
    std::optional<AtomicWriteError> refusal;
};

Resolved ResolveLinks(const fs::path& target)
{
    fs::path at = target;
    for (int hop = 0;; ++hop)
    {
        if (OnKernelFileSystem(at.parent_path()))
            return {at, Refused(target, "it leads into /proc or /sys, not to a regular file",
                                std::errc::operation_not_permitted)};
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(at, ec)))
            return {at, std::nullopt};
        if (hop == kMaxLinkHops)
            return {at, Refused(target, "its links form a loop", std::errc::too_many_links)};
        const fs::path next = fs::read_symlink(at, ec);
        if (ec)
            return {at, AtomicWriteError{AtomicWriteError::Step::kRefused, target, ec,
                                         "its link cannot be read"}};
        at = next.is_absolute() ? next : at.parent_path() / next;
    }
}

// Why a file of this kind is not replaced.
std::string KindRefusal(fs::file_type type)
{
    switch (type)
    {
    case fs::file_type::directory:
        return "it is a folder, not a regular file";
    case fs::file_type::character:
    case fs::file_type::block:
        return "it is a device, not a regular file";
    case fs::file_type::fifo:
        return "it is a FIFO, not a regular file";
    case fs::file_type::socket:
        return "it is a socket, not a regular file";
    default:
        return "it is not a regular file";
    }
}

#if defined(STOMPLET_HAVE_POSIX_FILES)
// Makes the rename itself durable. A failure here does not undo the write, so it is not reported.
void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
#endif

// Writes `content` to a new file at `path`, with the permission bits and owner of `like` when it
// is given; false with `error` set when anything failed.
bool WriteNewFile(const fs::path& path, std::string_view content, const struct stat* like,
                  std::error_code& error, bool& created)
{
    created = false;
    errno = 0;
    // "x": fail rather than reuse a file that happens to have the name.
    std::FILE* file = std::fopen(path.string().c_str(), "wbx");
    if (!file)
    {
        error = LastSystemError();
        return false;
    }
    created = true;

    bool ok =
        content.empty() || std::fwrite(content.data(), 1, content.size(), file) == content.size();
    if (ok)
        ok = std::fflush(file) == 0;
#if defined(STOMPLET_HAVE_POSIX_FILES)
    if (ok && like)
    {
        // The owner only where the system allows it (root, or a group the user is in); the
        // permission bits always.
        [[maybe_unused]] const int owned = ::fchown(::fileno(file), like->st_uid, like->st_gid);
        ok = ::fchmod(::fileno(file), like->st_mode & 07777) == 0;
    }
    if (ok)
        ok = ::fsync(::fileno(file)) == 0;
#else
    (void)like;
#endif
    if (!ok)
        error = LastSystemError();
    if (std::fclose(file) != 0 && ok)
    {
        error = LastSystemError();
        ok = false;
    }
    return ok;
}
} // namespace

std::string AtomicWriteError::Describe() const
{
    // Appended, not concatenated: GCC 12 warns falsely (-Wrestrict) on a literal + a temporary.
    std::string quoted(1, '"');
    quoted += path.string();
    quoted += '"';
    switch (step)
    {
    case Step::kRefused:
        return "will not write " + quoted + ": " + refusal;
    case Step::kCreateTemporary:
        return "cannot create a temporary file next to " + quoted + ": " + code.message();
    case Step::kWrite:
        return "cannot write " + quoted + ": " + code.message();
    case Step::kReplace:
        return "cannot replace " + quoted + ": " + code.message();
    }
    return "cannot write " + quoted + ": " + code.message();
}

std::optional<AtomicWriteError> WriteFileAtomically(const fs::path& target,
                                                    std::string_view content)
{
    const Resolved resolved = ResolveLinks(target);
    if (resolved.refusal)
        return resolved.refusal;
    const fs::path& destination = resolved.path;

    std::error_code ec;
    const fs::file_status status = fs::symlink_status(destination, ec);
    const bool exists = status.type() != fs::file_type::not_found;
    if (exists && status.type() != fs::file_type::regular)
    {
        if (ec && status.type() == fs::file_type::none)
            return AtomicWriteError{AtomicWriteError::Step::kRefused, target, ec,
                                    "it cannot be examined"};
        return Refused(target, KindRefusal(status.type()), std::errc::operation_not_permitted);
    }

    const struct stat* like = nullptr;
#if defined(STOMPLET_HAVE_POSIX_FILES)
    struct stat existing = {};
    if (exists)
    {
        if (::stat(destination.c_str(), &existing) != 0)
            return AtomicWriteError{AtomicWriteError::Step::kRefused, target, LastSystemError(),
                                    "it cannot be examined"};
        // No write bit at all means read-only even for root, who passes every access check.
        if ((existing.st_mode & 0222) == 0 || ::access(destination.c_str(), W_OK) != 0)
            return Refused(target, "the file is read-only", std::errc::permission_denied);
        like = &existing;
    }
#endif

    const fs::path folder = destination.parent_path();
    constexpr int kAttempts = 16;
    for (int attempt = 0; attempt < kAttempts; ++attempt)
    {
        const fs::path temporary = folder / TemporaryName();
        std::error_code error;
        bool created = false;
        if (!WriteNewFile(temporary, content, like, error, created))
        {
            if (created)
            {
                std::error_code ignored;
                fs::remove(temporary, ignored);
                return AtomicWriteError{AtomicWriteError::Step::kWrite, target, error, {}};
            }
            if (error == std::errc::file_exists)
                continue;
            return AtomicWriteError{AtomicWriteError::Step::kCreateTemporary, target, error, {}};
        }

        fs::rename(temporary, destination, error);
        if (error)
        {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return AtomicWriteError{AtomicWriteError::Step::kReplace, target, error, {}};
        }
#if defined(STOMPLET_HAVE_POSIX_FILES)
        SyncFolder(folder);
#endif
        return std::nullopt;
    }
    return AtomicWriteError{AtomicWriteError::Step::kCreateTemporary,
                            target,
                            std::make_error_code(std::errc::file_exists),
                            {}};
}
