#include "app/SettingsStore.h"

#include "app/IniFile.h"
#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>

using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

namespace fs = std::filesystem;

namespace
{
class SettingsFile : public ::testing::Test
{
protected:
    TempFolder mRoot;
    fs::path mFolder = mRoot.Path() / "ctrlWaveStomplet";
    SettingsStore mStore{mFolder};
    AppSettings mSettings;
};
} // namespace

TEST_F(SettingsFile, FirstRunWritesAllThirteenKeysWithAFreshRecordsValuesAndEveryKeyIsRead)
{
    EXPECT_TRUE(mStore.LoadSettings(mSettings).empty());
    EXPECT_EQ(mStore.FilePath(), mFolder / "settings.ini");
    EXPECT_EQ(mSettings, AppSettings{});
    EXPECT_EQ(std::ranges::count(ReadBytes(mStore.FilePath()), '='), 13);
    AppSettings again; // read back: the fresh record, not the defaults of missing keys
    EXPECT_TRUE(SettingsStore(mFolder).LoadSettings(again).empty());
    EXPECT_EQ(again, AppSettings{});

    WriteBytes(mStore.FilePath(), "[audio]\ndriver=1\nindev=Mic\noutdev=Speakers\nin1=3\nin2=4\n"
                                  "out1=5\nout2=6\nbuffer=256\nsr=48000\n[midi]\nindev=Keys\n"
                                  "outdev=Box\ninchan=7\noutchan=8\n");
    EXPECT_TRUE(mStore.LoadSettings(mSettings).empty());
    const AppSettings expected{"Mic", "Speakers", "Keys", "Box", 1, 48000, 256, 7, 8, 3, 4, 5, 6};
    EXPECT_EQ(mSettings, expected);
}

// Where missing keys are added and that other lines stay is the ini file's rule and tested there.
TEST_F(SettingsFile, AHandWrittenFileGivesDefaultsForMissingKeysAndUnusableNumbersAndKeepsItsLines)
{
    fs::create_directories(mFolder);
    WriteBytes(mStore.FilePath(),
               "; my notes\n[midi]\noutchan=3\ntheme=dark\n[audio]\n"
               "sr=99999999999999999999\nbuffer=-512\ndriver=JACK\nin1=4294967296\n");
    EXPECT_TRUE(mStore.LoadSettings(mSettings).empty());
    // The names a file without them gives differ from a fresh record's.
    AppSettings expected{"Built-in Input", "Built-in Output", "no input", "no output"};
    expected.midiOutputChannel = 3;
    EXPECT_EQ(mSettings, expected);
    EXPECT_NE(ReadBytes(mStore.FilePath()).find("sr=44100\n"), std::string::npos);

    mSettings.midiInputPort = "Pads";
    ASSERT_FALSE(mStore.SaveSettings(mSettings));
    const std::string saved = ReadBytes(mStore.FilePath());
    EXPECT_TRUE(
        saved.starts_with("; my notes\n[midi]\noutchan=3\ntheme=dark\nindev=Pads\n"
                          "outdev=no output\ninchan=0\n[audio]\nsr=44100\nbuffer=512\ndriver=0\n"))
        << saved;
}

// Mended: a file over the reader's size limit was replaced by the defaults at start-up.
TEST_F(SettingsFile, AFileThatCannotBeReadIsKeptAsItIsUntilReplacingIsAllowed)
{
    fs::create_directories(mFolder);
    WriteBytes(mStore.FilePath(), "[mine]\nkept=yes\n");
    fs::resize_file(mStore.FilePath(), IniFile::kMaxFileBytes + 1); // sparse: no disk space
    const std::string before = ReadBytes(mStore.FilePath());
    mSettings.midiInputPort = "Keys";

    const auto problems = mStore.LoadSettings(mSettings);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].kind, SettingsError::Kind::kReadFile);
    EXPECT_NE(problems[0].message.find("too large"), std::string::npos);
    EXPECT_EQ(mStore.State(), SettingsStore::FileState::kUnreadable);
    EXPECT_FALSE(mStore.SaveSettings(mSettings));
    EXPECT_EQ(ReadBytes(mStore.FilePath()), before);

    mStore.AllowReplacingUnreadableFile();
    EXPECT_FALSE(mStore.SaveSettings(mSettings));
    EXPECT_NE(ReadBytes(mStore.FilePath()).find("indev=Keys\n"), std::string::npos);
}

// Mended: a read-only file was rewritten, and then writable.
TEST_F(SettingsFile, AReadOnlyFileIsReadAndNeverWrittenAndAFolderThatCannotBeMadeIsReported)
{
    fs::create_directories(mFolder);
    WriteBytes(mStore.FilePath(), "[midi]\nindev=Keys\n");
    const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read;
    fs::permissions(mStore.FilePath(), readOnly);

    const auto problems = mStore.LoadSettings(mSettings);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].kind, SettingsError::Kind::kReadOnly);
    EXPECT_EQ(mStore.State(), SettingsStore::FileState::kReadOnly);
    EXPECT_EQ(mSettings.midiInputPort, "Keys");
    mSettings.midiInputPort = "Pads";
    EXPECT_FALSE(mStore.SaveSettings(mSettings));
    EXPECT_EQ(ReadBytes(mStore.FilePath()), "[midi]\nindev=Keys\n");
    EXPECT_EQ(fs::status(mStore.FilePath()).permissions(), readOnly);

    // A plain file where a parent folder should be: no user, not even root, can create under it.
    WriteBytes(mRoot.Path() / "plain", "x");
    SettingsStore store(mRoot.Path() / "plain" / "ctrlWaveStomplet");
    AppSettings defaults;
    EXPECT_EQ(store.LoadSettings(defaults).at(0).kind, SettingsError::Kind::kCreateFolder);
    EXPECT_EQ(defaults, AppSettings{});
}

TEST_F(SettingsFile, PortNamesOfAnyLengthBlanksAndQuotesAndLargeNumbersSurviveSaveAndLoad)
{
    mSettings.sampleRate = 3000000000u; // above the signed range
    for (const std::string& name : {std::string(5000, 'n') + " 24:0", std::string("  lead "),
                                    std::string("\"quoted\""), std::string("\""), std::string()})
    {
        mSettings.midiInputPort = name;
        ASSERT_FALSE(mStore.SaveSettings(mSettings));
        AppSettings loaded;
        EXPECT_TRUE(mStore.LoadSettings(loaded).empty());
        EXPECT_EQ(loaded, mSettings);
    }
}
