#include "core/AtomicFile.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <random>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <unistd.h>
#define STOMPLET_HAVE_FSYNC 1
#endif

namespace
{
namespace fs = std::filesystem;

std::error_code LastSystemError()
{
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

// A name no other writer in this or another process picks at the same moment: a per-process random
// seed and a counter. The file is created exclusively, so a clash only costs a retry.
std::string TemporaryName(const fs::path& target)
{
    static const std::uint64_t seed = std::random_device{}();
    static std::atomic<std::uint64_t> counter{0};
    const std::uint64_t n = seed * 6364136223846793005ull + counter.fetch_add(1);
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".%012llx.tmp",
                  static_cast<unsigned long long>(n & 0xFFFFFFFFFFFFull));
    return "." + target.filename().string() + suffix;
}

#if defined(STOMPLET_HAVE_FSYNC)
// Makes the rename itself durable. A failure here does not undo the write, so it is not reported.
void SyncFolder(const fs::path& folder)
{
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}
#endif

// Writes `content` to a new file at `path`; false with `error` set when anything failed.
bool WriteNewFile(const fs::path& path, std::string_view content, std::error_code& error,
                  bool& created)
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
#if defined(STOMPLET_HAVE_FSYNC)
    if (ok)
        ok = ::fsync(::fileno(file)) == 0;
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
    const char* what = "cannot write";
    switch (step)
    {
    case Step::kCreateTemporary:
        what = "cannot create a temporary file next to";
        break;
    case Step::kWrite:
        what = "cannot write";
        break;
    case Step::kReplace:
        what = "cannot replace";
        break;
    }
    return std::string(what) + " \"" + path.string() + "\": " + code.message();
}

std::optional<AtomicWriteError> WriteFileAtomically(const fs::path& target,
                                                    std::string_view content)
{
    fs::path destination = target;
    std::error_code ec;
    if (fs::is_symlink(target, ec))
    {
        const fs::path resolved = fs::weakly_canonical(target, ec);
        if (!ec)
            destination = resolved;
    }

    const fs::path folder = destination.parent_path();
    constexpr int kAttempts = 16;
    for (int attempt = 0; attempt < kAttempts; ++attempt)
    {
        const fs::path temporary = folder / TemporaryName(destination);
        std::error_code error;
        bool created = false;
        if (!WriteNewFile(temporary, content, error, created))
        {
            if (created)
            {
                std::error_code ignored;
                fs::remove(temporary, ignored);
                return AtomicWriteError{AtomicWriteError::Step::kWrite, target, error};
            }
            if (error == std::errc::file_exists)
                continue;
            return AtomicWriteError{AtomicWriteError::Step::kCreateTemporary, target, error};
        }

        fs::rename(temporary, destination, error);
        if (error)
        {
            std::error_code ignored;
            fs::remove(temporary, ignored);
            return AtomicWriteError{AtomicWriteError::Step::kReplace, target, error};
        }
#if defined(STOMPLET_HAVE_FSYNC)
        SyncFolder(folder);
#endif
        return std::nullopt;
    }
    return AtomicWriteError{AtomicWriteError::Step::kCreateTemporary, target,
                            std::make_error_code(std::errc::file_exists)};
}
