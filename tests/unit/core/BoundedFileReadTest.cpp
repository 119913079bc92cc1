#include "core/BoundedFileRead.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#if defined(__unix__)
#include <sys/stat.h>
#endif

namespace
{
using testfiles::TempFolder;
using testfiles::WriteBytes;

std::optional<FileReadError> ErrorOf(const std::variant<std::string, FileReadError>& result)
{
    if (const FileReadError* error = std::get_if<FileReadError>(&result))
        return *error;
    return std::nullopt;
}
} // namespace

TEST(BoundedFileRead, FileBelowTheLimitIsReadByteForByteAndOfTheLimitIsTooLarge)
{
    TempFolder folder;
    const std::string bytes("F0\r\n\0\xFF\n\x7F", 8);
    WriteBytes(folder.Path() / "eight", bytes);
    EXPECT_EQ(std::get<std::string>(ReadFileBelow(folder.Path() / "eight", 9)), bytes);
    EXPECT_EQ(ErrorOf(ReadFileBelow(folder.Path() / "eight", 8)), FileReadError::kTooLarge);
}

// Mended: a FIFO with no writer blocked the reader until something wrote into it.
TEST(BoundedFileRead, OnlyARegularFileIsReadAndAFifoReturnsAtOnce)
{
    TempFolder folder;
    EXPECT_EQ(ErrorOf(ReadFileBelow(folder.Path() / "none", 8)), FileReadError::kNotFound);
    EXPECT_EQ(ErrorOf(ReadFileBelow(folder.Path(), 8)), FileReadError::kNotAFile);
#if defined(__unix__)
    ASSERT_EQ(::mkfifo((folder.Path() / "fifo").c_str(), 0644), 0);
    EXPECT_EQ(ErrorOf(ReadFileBelow(folder.Path() / "fifo", 8)), FileReadError::kNotAFile);
    EXPECT_EQ(ErrorOf(ReadFileBelow("/dev/zero", 8)), FileReadError::kNotAFile);
#endif
}
