#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <variant>

// Why a file's content was not read.
enum class FileReadError
{
    kCannotOpen, // missing, not readable, a folder, or reading failed part-way
    kTooLarge,   // the file holds the size limit or more bytes
};

// The whole content of the file at `path`, byte for byte, when it holds fewer than `sizeLimit`
// bytes. At most `sizeLimit` bytes are read, whatever size the file claims, so a huge file costs
// no more than that. [any thread]
std::variant<std::string, FileReadError> ReadFileBelow(const std::filesystem::path& path,
                                                       std::size_t sizeLimit);
