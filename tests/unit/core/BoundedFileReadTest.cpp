#include "core/BoundedFileRead.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

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

TEST(BoundedFileRead, MissingFileOrAFolderCannotBeOpened)
{
    TempFolder folder;
    EXPECT_EQ(ErrorOf(ReadFileBelow(folder.Path() / "none", 8)), FileReadError::kCannotOpen);
    EXPECT_EQ(ErrorOf(ReadFileBelow(folder.Path(), 8)), FileReadError::kCannotOpen);
}
