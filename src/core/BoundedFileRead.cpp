#include "core/BoundedFileRead.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <memory>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#define STOMPLET_HAVE_POSIX_FILES 1
#endif

namespace
{
std::error_code LastSystemError()
{
    return std::error_code(errno != 0 ? errno : EIO, std::generic_category());
}

#if defined(STOMPLET_HAVE_POSIX_FILES)
struct FdCloser
{
    int fd;
    ~FdCloser() { ::close(fd); }
};
#else
struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
#endif
} // namespace

std::variant<std::string, FileReadError>
ReadFileBelow(const std::filesystem::path& path, std::size_t sizeLimit, std::error_code* reason)
{
    const auto fail = [reason](FileReadError error, std::error_code code = {})
    {
        if (reason)
            *reason = code;
        return error;
    };
#if defined(STOMPLET_HAVE_POSIX_FILES)
    errno = 0;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
    {
        const std::error_code code = LastSystemError();
        return fail(code == std::errc::no_such_file_or_directory ? FileReadError::kNotFound
                                                                 : FileReadError::kCannotOpen,
                    code);
    }
    const FdCloser closer{fd};
    struct stat info = {};
    if (::fstat(fd, &info) != 0)
        return fail(FileReadError::kCannotOpen, LastSystemError());
    if (!S_ISREG(info.st_mode))
        return fail(FileReadError::kNotAFile);
    if (info.st_size < 0 || static_cast<std::uintmax_t>(info.st_size) >= sizeLimit)
        return fail(FileReadError::kTooLarge);

    // Room for the size the file claims and one byte more, to see it grow; more only as it does.
    std::string content;
    content.reserve(static_cast<std::size_t>(info.st_size) + 1);
    char chunk[65536];
    while (content.size() < sizeLimit)
    {
        const std::size_t want = std::min(sizeof chunk, sizeLimit - content.size());
        const ssize_t got = ::read(fd, chunk, want);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return fail(FileReadError::kCannotOpen, LastSystemError());
        if (got == 0)
            break;
        content.append(chunk, static_cast<std::size_t>(got));
    }
    const std::size_t size = content.size();
#else
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found)
        return fail(FileReadError::kNotFound, ec);
    if (status.type() != std::filesystem::file_type::regular)
        return fail(FileReadError::kNotAFile);
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "rb"));
    if (!file)
        return fail(FileReadError::kCannotOpen, LastSystemError());
    std::string content(sizeLimit, '\0');
    std::size_t size = 0;
    while (size < sizeLimit)
    {
        const std::size_t got = std::fread(content.data() + size, 1, sizeLimit - size, file.get());
        if (got == 0)
            break;
        size += got;
    }
    if (std::ferror(file.get()))
        return fail(FileReadError::kCannotOpen, LastSystemError());
#endif
    if (size == sizeLimit)
        return fail(FileReadError::kTooLarge);
    content.resize(size);
    return content;
}

std::string_view DescribeFileReadError(FileReadError error)
{
    switch (error)
    {
    case FileReadError::kNotFound:
        return "no such file";
    case FileReadError::kCannotOpen:
        return "cannot be read";
    case FileReadError::kNotAFile:
        return "is not a regular file";
    case FileReadError::kTooLarge:
        return "is too large";
    }
    return "cannot be read";
}
