#include "ui/UserManual.h"

#include "support/EditorBench.h"
#include "support/TempFolder.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

const std::string kCarried = "%PDF-1.4 the guide";

UserManualSource SourceIn(const std::filesystem::path& folder, int* reads = nullptr)
{
    return {folder,
            [reads]() -> std::optional<std::string>
            {
                if (reads)
                    ++*reads;
                return kCarried;
            }};
}
} // namespace

TEST(UserManualFile, WrittenOnceReopenedUnchangedAtTheSameSizeReplacedAtAnotherFolderMadeIfNeeded)
{
    TempFolder folder;
    const ManualFile first = ProvideManualFile(folder.Path(), kCarried);
    EXPECT_EQ(first.state, ManualFile::State::kWritten);
    EXPECT_EQ(first.path, folder.Path() / "Stomplet_userguide-v1.00.pdf");
    EXPECT_EQ(ReadBytes(first.path), kCarried);

    const std::string edited(kCarried.size(), 'x');
    WriteBytes(first.path, edited);
    EXPECT_EQ(ProvideManualFile(folder.Path(), kCarried).state, ManualFile::State::kReused);
    // With nothing carried, the file there is offered as it is.
    EXPECT_EQ(ProvideManualFile(folder.Path(), std::nullopt).state, ManualFile::State::kReused);
    EXPECT_EQ(ReadBytes(first.path), edited);

    for (const std::string& onDisk : {std::string("%PDF-1.4 th"), kCarried + " and more"})
    {
        WriteBytes(first.path, onDisk); // cut short, or another edition
        EXPECT_EQ(ProvideManualFile(folder.Path(), kCarried).state, ManualFile::State::kWritten);
        EXPECT_EQ(ReadBytes(first.path), kCarried);
    }

    // Mended: on a first start Read Manual failed because the settings folder did not exist.
    const std::filesystem::path nested = folder.Path() / "data" / "ctrlWaveStomplet";
    EXPECT_EQ(ProvideManualFile(nested, std::nullopt).state, ManualFile::State::kUnavailable);
    const ManualFile file = ProvideManualFile(nested, kCarried);
    EXPECT_EQ(file.state, ManualFile::State::kWritten) << file.problem;
    EXPECT_EQ(ReadBytes(nested / kUserManualFileName), kCarried);
}

TEST(ReadManual, WhenNoViewerOpensItOrItCannotBeWrittenAMessageNamesTheFile)
{
    TempFolder folder;
    WriteBytes(folder.Path() / "file", "not a folder");
    for (const bool writable : {true, false})
    {
        ScriptedPlatformUi platform;
        platform.SetOpenUrlResult(false);
        const std::filesystem::path settings =
            writable ? folder.Path() : folder.Path() / "file" / "settings";
        OpenUserManual(SourceIn(settings), platform);
        EXPECT_EQ(platform.OpenedUrls().size(), writable ? 1u : 0u);
        ASSERT_EQ(platform.MessageBoxes().size(), 1u);
        const std::string path = (settings / kUserManualFileName).string();
        EXPECT_NE(platform.MessageBoxes()[0].text.find(path), std::string::npos) << writable;
    }
    EXPECT_EQ(ReadBytes(folder.Path() / kUserManualFileName), kCarried) << "left for the user";
}

TEST(ReadManual, TheHelpMenuRequestIsHandledByTheEditorOnItsScreen)
{
    TempFolder folder;
    editor_bench::EditorBench bench(false);
    int reads = 0;
    bench.editor.SetUserManual(SourceIn(folder.Path(), &reads));
    EXPECT_FALSE(bench.editor.OnManualRequested()) << "no screen yet";
    bench.OpenView();

    EXPECT_TRUE(bench.editor.OnManualRequested());
    EXPECT_EQ(reads, 1);
    EXPECT_EQ(bench.platform.OpenedUrls(),
              std::vector<std::string>{(folder.Path() / kUserManualFileName).string()});
}
