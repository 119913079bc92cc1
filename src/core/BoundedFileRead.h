#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>

// Why a file's content was not read.
enum class FileReadError
{
    kNotFound,   // nothing at the path
    kCannotOpen, // not readable (permissions), or reading failed part-way
    kNotAFile,   // a folder, a device, a FIFO or a socket: never read, so a read never blocks
    kTooLarge,   // the file holds the size limit or more bytes
};

// The whole content of the regular file at `path`, byte for byte, when it holds fewer than
// `sizeLimit` bytes. The file is opened without blocking and examined before anything is read:
// whatever is not a regular file is kNotAFile at once (a FIFO with no writer does not hang the
// caller), and a file whose size is `sizeLimit` or more is kTooLarge without being read. At most
// `sizeLimit` bytes are then read, so a file that grows meanwhile costs no more than that. With
// `reason` given, it receives the system's reason for kCannotOpen and kNotFound. [any thread]
std::variant<std::string, FileReadError> ReadFileBelow(const std::filesystem::path& path,
                                                       std::size_t sizeLimit,
                                                       std::error_code* reason = nullptr);

// A few words for a person: "no such file", "cannot be read", "is not a regular file",
// "is too large".
std::string_view DescribeFileReadError(FileReadError error);
