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

TEST(BoundedFileRead, FileBelowTheLimitIsReadByteForByte)
{
    TempFolder folder;
    const std::string bytes("F0\r\n\0\xFF\n", 7);
    WriteBytes(folder.Path() / "a", bytes);
    const auto result = ReadFileBelow(folder.Path() / "a", 8);
    ASSERT_FALSE(ErrorOf(result));
    EXPECT_EQ(std::get<std::string>(result), bytes);

    WriteBytes(folder.Path() / "empty", "");
    EXPECT_EQ(std::get<std::string>(ReadFileBelow(folder.Path() / "empty", 8)), "");
}

TEST(BoundedFileRead, FileOfTheLimitOrMoreIsTooLarge)
{
    TempFolder folder;
    WriteBytes(folder.Path() / "eight", "12345678");
    EXPECT_EQ(ErrorOf(ReadFileBelow(folder.Path() / "eight", 8)), FileReadError::kTooLarge);
    EXPECT_EQ(ErrorOf(ReadFileBelow(folder.Path() / "eight", 3)), FileReadError::kTooLarge);
    EXPECT_FALSE(ErrorOf(ReadFileBelow(folder.Path() / "eight", 9)));
}

TEST(BoundedFileRead, MissingFileOrAFolderCannotBeOpened)
{
    TempFolder folder;
    EXPECT_EQ(ErrorOf(ReadFileBelow(folder.Path() / "none", 8)), FileReadError::kCannotOpen);
    EXPECT_EQ(ErrorOf(ReadFileBelow(folder.Path(), 8)), FileReadError::kCannotOpen);
}
