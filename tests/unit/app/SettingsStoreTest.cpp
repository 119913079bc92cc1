#include "app/SettingsStore.h"

#include "app/IniFile.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <random>

using testfiles::ReadBytes;
using testfiles::TempFolder;
using testfiles::WriteBytes;

namespace fs = std::filesystem;

namespace
{
// The file a first run writes: every key, in reading order, with a fresh record's values.
constexpr std::string_view kFirstRunFile = "[audio]\n"
                                           "driver=0\n"
                                           "indev=Default Device\n"
                                           "outdev=Default Device\n"
                                           "in1=1\n"
                                           "in2=2\n"
                                           "out1=1\n"
                                           "out2=2\n"
                                           "buffer=512\n"
                                           "sr=44100\n"
                                           "[midi]\n"
                                           "indev=off\n"
                                           "outdev=off\n"
                                           "inchan=0\n"
                                           "outchan=0\n";

// What reading a file without any of the keys gives.
AppSettings MissingKeyDefaults()
{
    AppSettings settings;
    settings.audioInputDevice = "Built-in Input";
    settings.audioOutputDevice = "Built-in Output";
    settings.midiInputPort = "no input";
    settings.midiOutputPort = "no output";
    return settings;
}

class SettingsFile : public ::testing::Test
{
protected:
    TempFolder mRoot;
    fs::path mFolder = mRoot.Path() / "ctrlWaveStomplet";
    SettingsStore mStore{mFolder};
    AppSettings mSettings;
};
} // namespace

TEST_F(SettingsFile, FirstRunWritesAllThirteenKeysInOrderAndEveryKeyIsReadIntoItsField)
{
    EXPECT_TRUE(mStore.LoadSettings(mSettings).empty());
    EXPECT_TRUE(fs::is_directory(mFolder));
    EXPECT_EQ(mStore.FilePath(), mFolder / "settings.ini");
    EXPECT_EQ(ReadBytes(mStore.FilePath()), kFirstRunFile);
    EXPECT_EQ(mSettings, AppSettings{});

    WriteBytes(mStore.FilePath(), "[audio]\ndriver=1\nindev=Mic\noutdev=Speakers\nin1=3\nin2=4\n"
                                  "out1=5\nout2=6\nbuffer=256\nsr=48000\n[midi]\nindev=Keys\n"
                                  "outdev=Box\ninchan=7\noutchan=8\n");
    EXPECT_TRUE(mStore.LoadSettings(mSettings).empty());
    const AppSettings expected{"Mic", "Speakers", "Keys", "Box", 1, 48000, 256, 7, 8, 3, 4, 5, 6};
    EXPECT_EQ(mSettings, expected);
}

TEST_F(SettingsFile, AHandWrittenFileIsCompletedInPrivateProfileOrderAndSavingKeepsItsLines)
{
    fs::create_directories(mFolder);
    WriteBytes(mStore.FilePath(), "; my notes\n[midi]\noutchan=3\ntheme=dark\nindev=Keys\n");
    EXPECT_TRUE(mStore.LoadSettings(mSettings).empty());

    AppSettings expected = MissingKeyDefaults();
    expected.midiInputPort = "Keys";
    expected.midiOutputChannel = 3;
    EXPECT_EQ(mSettings, expected);
    const std::string completed = "; my notes\n"
                                  "[midi]\n"
                                  "outchan=3\n"
                                  "theme=dark\n"
                                  "indev=Keys\n"
                                  "outdev=no output\n" // missing keys appended ...
                                  "inchan=0\n"
                                  "[audio]\n" // ... and the missing section at the end
                                  "driver=0\n"
                                  "indev=Built-in Input\n"
                                  "outdev=Built-in Output\n"
                                  "in1=1\n"
                                  "in2=2\n"
                                  "out1=1\n"
                                  "out2=2\n"
                                  "buffer=512\n"
                                  "sr=44100\n";
    EXPECT_EQ(ReadBytes(mStore.FilePath()), completed);

    mSettings.midiInputPort = "Pads";
    ASSERT_FALSE(mStore.SaveSettings(mSettings));
    std::string saved = completed;
    saved.replace(saved.find("indev=Keys"), 10, "indev=Pads");
    EXPECT_EQ(ReadBytes(mStore.FilePath()), saved);
}

TEST_F(SettingsFile, UnusableNumbersAndBinaryJunkGiveTheDefaultsAndAreRewrittenWithEveryKey)
{
    std::string junk;
    std::mt19937 random(99);
    for (int i = 0; i < 4096; ++i)
        junk.push_back(static_cast<char>(random() & 0xFF));
    const std::string unusableNumbers =
        "[audio]\nsr=99999999999999999999\nbuffer=-512\ndriver=JACK\nin1=4294967296\n";
    fs::create_directories(mFolder);
    for (const std::string& text : {unusableNumbers, junk})
    {
        WriteBytes(mStore.FilePath(), text);
        EXPECT_TRUE(mStore.LoadSettings(mSettings).empty());
        EXPECT_EQ(mSettings, MissingKeyDefaults());
        EXPECT_NE(ReadBytes(mStore.FilePath()).find("sr=44100\n"), std::string::npos);
    }
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
    EXPECT_EQ(mSettings.midiInputPort, "Keys");
    EXPECT_FALSE(mStore.SaveSettings(mSettings));
    EXPECT_EQ(ReadBytes(mStore.FilePath()), before);

    mStore.AllowReplacingUnreadableFile();
    EXPECT_EQ(mStore.State(), SettingsStore::FileState::kWritable);
    EXPECT_FALSE(mStore.SaveSettings(mSettings));
    EXPECT_NE(ReadBytes(mStore.FilePath()).find("indev=Keys\n"), std::string::npos);

    // A folder in the file's place is not a file to read, nor one to replace.
    SettingsStore other(mRoot.Path() / "other");
    fs::create_directories(other.FilePath());
    EXPECT_EQ(other.LoadSettings(mSettings).size(), 1u);
    EXPECT_EQ(other.State(), SettingsStore::FileState::kUnreadable);
    other.AllowReplacingUnreadableFile();
    ASSERT_TRUE(other.SaveSettings(mSettings));
    EXPECT_TRUE(fs::is_directory(other.FilePath()));
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
    const auto noFolder = store.LoadSettings(defaults);
    ASSERT_EQ(noFolder.size(), 1u);
    EXPECT_EQ(noFolder[0].kind, SettingsError::Kind::kCreateFolder);
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
