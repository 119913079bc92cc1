#include "core/AtomicFile.h"

#include "support/TempFolder.h"

#include <gtest/gtest.h>

#if defined(__unix__)
#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/un.h>
#include <unistd.h>
#endif

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

TEST(AtomicFile, AMissingFolderFailsAndChangesNothing)
{
    TempFolder folder;
    const auto missing = WriteFileAtomically(folder.Path() / "no" / "settings.ini", "x");
    ASSERT_TRUE(missing);
    EXPECT_EQ(missing->step, AtomicWriteError::Step::kCreateTemporary);
    EXPECT_EQ(FilesIn(folder.Path()), 0);
}

#if defined(__unix__)
// Mended: a save renamed its file over whatever the path named (a device node, a FIFO, a socket,
// the link /dev/stdout) and over read-only files, and lost links and permission bits.
TEST(AtomicFile, OnlyWritableRegularFilesAreReplacedAndEverythingElseIsRefusedUntouched)
{
    TempFolder folder;
    const fs::path dir = folder.Path();
    WriteBytes(dir / "kept", "old");
    const int openFd = ::open((dir / "kept").c_str(), O_RDONLY);
    ASSERT_GE(openFd, 0);
    fs::create_directory(dir / "folder");
    ASSERT_EQ(::mkfifo((dir / "fifo").c_str(), 0644), 0);
    const int sock = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::snprintf(address.sun_path, sizeof address.sun_path, "%s", (dir / "sock").c_str());
    ASSERT_EQ(::bind(sock, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);
    // A device node of its own (the null device's numbers), so that no failure can touch /dev.
    const bool device = ::mknod((dir / "device").c_str(), S_IFCHR | 0666, makedev(1, 3)) == 0;
    fs::create_symlink("/proc/self/fd/" + std::to_string(openFd), dir / "to-proc");
    fs::create_symlink("fifo", dir / "to-fifo");
    WriteBytes(dir / "read-only", "old");
    fs::permissions(dir / "read-only",
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);

    for (const char* name : {"folder", "fifo", "sock", "device", "to-proc", "to-fifo", "read-only"})
    {
        if (std::string_view(name) == "device" && !device)
            continue;
        const fs::file_status before = fs::symlink_status(dir / name);
        const auto error = WriteFileAtomically(dir / name, "new");
        ASSERT_TRUE(error) << name;
        EXPECT_EQ(error->step, AtomicWriteError::Step::kRefused) << name;
        EXPECT_NE(error->Describe().find(name), std::string::npos) << error->Describe();
        EXPECT_EQ(error->Describe().find('\n'), std::string::npos);
        EXPECT_EQ(fs::symlink_status(dir / name).type(), before.type()) << name;
        EXPECT_EQ(fs::symlink_status(dir / name).permissions(), before.permissions()) << name;
    }
    EXPECT_EQ(ReadBytes(dir / "kept"), "old");
    EXPECT_EQ(ReadBytes(dir / "read-only"), "old");
    EXPECT_EQ(FilesIn(dir), device ? 8 : 7); // no temporary file left behind
    ::close(sock);
    ::close(openFd);

    // A private file keeps its bits; a link, and a chain of links, stay and their end is replaced;
    // a dangling link stays and its end is made.
    WriteBytes(dir / "private.csx", "old");
    fs::permissions(dir / "private.csx", fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink("private.csx", dir / "link.csx");
    fs::create_symlink(dir / "link.csx", dir / "link-to-link.csx");
    fs::create_symlink("made.csx", dir / "dangling.csx");
    for (const char* name : {"private.csx", "link.csx", "link-to-link.csx", "dangling.csx"})
        ASSERT_FALSE(WriteFileAtomically(dir / name, name)) << name;
    EXPECT_EQ(ReadBytes(dir / "private.csx"), "link-to-link.csx");
    EXPECT_EQ(fs::status(dir / "private.csx").permissions(),
              fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(fs::is_symlink(dir / "link.csx"));
    EXPECT_TRUE(fs::is_symlink(dir / "link-to-link.csx"));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.csx"));
    EXPECT_EQ(ReadBytes(dir / "made.csx"), "dangling.csx");

    // A name as long as the system allows: the temporary name does not grow with it.
    const fs::path longName = dir / (std::string(250, 'p') + ".csx");
    EXPECT_FALSE(WriteFileAtomically(longName, "long"));
    EXPECT_EQ(ReadBytes(longName), "long");
}

TEST(AtomicFile, AWriteThatFailsPartWayKeepsTheOldFileWholeAndLeavesNoTemporaryFile)
{
    TempFolder folder;
    const fs::path path = folder.Path() / "settings.ini";
    WriteBytes(path, "[midi]\nindev=Keys\n");

    // Files of at most 4 KiB: writing 64 KiB fails part-way with EFBIG, as on a full disk.
    rlimit previous{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &previous), 0);
    rlimit limited = previous;
    limited.rlim_cur = 4096;
    const auto previousHandler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &limited), 0);
    const auto error = WriteFileAtomically(path, std::string(65536, 'x'));
    ::setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, previousHandler);

    ASSERT_TRUE(error);
    EXPECT_EQ(error->step, AtomicWriteError::Step::kWrite);
    EXPECT_EQ(error->code, std::errc::file_too_large); // the reason a person reads in the message
    EXPECT_EQ(ReadBytes(path), "[midi]\nindev=Keys\n");
    EXPECT_EQ(FilesIn(folder.Path()), 1);
}
#endif
