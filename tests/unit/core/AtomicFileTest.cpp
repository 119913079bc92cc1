#include "core/AtomicFile.h"

#include "support/FileSizeLimit.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;
using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

namespace
{
int FilesIn(const fs::path& folder)
{
    int count = 0;
    for ([[maybe_unused]] const auto& entry : fs::directory_iterator(folder))
        ++count;
    return count;
}
} // namespace

TEST(AtomicFile, AReaderThatOpenedTheOldFileStillReadsItWholeAfterTheReplace)
{
    TempFolder folder;
    const fs::path path = folder.Path() / "settings.ini";
    const std::string oldText(100000, 'o');
    WriteBytes(path, oldText);
    std::ifstream reader(path, std::ios::binary);

    ASSERT_FALSE(WriteFileAtomically(path, "new"));

    const std::string seen((std::istreambuf_iterator<char>(reader)),
                           std::istreambuf_iterator<char>());
    EXPECT_EQ(seen, oldText);
    EXPECT_EQ(ReadBytes(path), "new");
    EXPECT_EQ(FilesIn(folder.Path()), 1); // no temporary file left behind
}

TEST(AtomicFile, ALinkIsKeptAndTheFileItPointsAtIsReplaced)
{
    TempFolder folder;
    const fs::path real = folder.Path() / "real.ini";
    const fs::path link = folder.Path() / "settings.ini";
    WriteBytes(real, "old");
    fs::create_symlink(real, link);

    ASSERT_FALSE(WriteFileAtomically(link, "new"));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(ReadBytes(real), "new");
}

TEST(AtomicFile, AMissingFolderOrADirectoryAtTheTargetFailsAndChangesNothing)
{
    TempFolder folder;
    const auto missing = WriteFileAtomically(folder.Path() / "no" / "settings.ini", "x");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->step, AtomicWriteError::Step::kCreateTemporary);

    const fs::path directory = folder.Path() / "settings.ini";
    fs::create_directory(directory);
    const auto replace = WriteFileAtomically(directory, "x");
    ASSERT_TRUE(replace);
    EXPECT_EQ(replace->step, AtomicWriteError::Step::kReplace);
    EXPECT_TRUE(fs::is_directory(directory));
    EXPECT_EQ(FilesIn(folder.Path()), 1);
    EXPECT_NE(replace->Describe().find("settings.ini"), std::string::npos);
}

#if defined(__unix__)
TEST(AtomicFile, AWriteThatFailsPartWayKeepsTheOldFileWholeAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    const fs::path path = folder.Path() / "settings.ini";
    WriteBytes(path, "[midi]\nindev=Keys\n");

    std::optional<AtomicWriteError> error;
    {
        const testfiles::FileSizeLimit limit(4096); // so writing 64 KiB fails part-way
        ASSERT_TRUE(limit.Active());
        error = WriteFileAtomically(path, std::string(65536, 'x'));
    }

    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, AtomicWriteError::Step::kWrite);
    EXPECT_EQ(ReadBytes(path), "[midi]\nindev=Keys\n");
    EXPECT_EQ(FilesIn(folder.Path()), 1);
}
#endif
