#include "app/SettingsStore.h"

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

TEST_F(SettingsFile, FirstRunCreatesTheFolderAndWritesAllThirteenKeysInOrder)
{
    EXPECT_TRUE(mStore.LoadSettings(mSettings).empty());
    EXPECT_TRUE(fs::is_directory(mFolder));
    EXPECT_EQ(mStore.FilePath(), mFolder / "settings.ini");
    EXPECT_EQ(ReadBytes(mStore.FilePath()), kFirstRunFile);
    EXPECT_EQ(mSettings, AppSettings{});
}

TEST_F(SettingsFile, EveryKeyIsReadIntoItsField)
{
    fs::create_directories(mFolder);
    WriteBytes(mStore.FilePath(), "[audio]\ndriver=1\nindev=Mic\noutdev=Speakers\nin1=3\nin2=4\n"
                                  "out1=5\nout2=6\nbuffer=256\nsr=48000\n[midi]\nindev=Keys\n"
                                  "outdev=Box\ninchan=7\noutchan=8\n");
    EXPECT_TRUE(mStore.LoadSettings(mSettings).empty());
    const AppSettings expected{"Mic", "Speakers", "Keys", "Box", 1, 48000, 256, 7, 8, 3, 4, 5, 6};
    EXPECT_EQ(mSettings, expected);
}

TEST_F(SettingsFile, AHandWrittenFileWithOnlyTheMidiInputIsCompletedInPrivateProfileOrder)
{
    fs::create_directories(mFolder);
    WriteBytes(mStore.FilePath(), "[midi]\nindev=Keys\n");
    EXPECT_TRUE(mStore.LoadSettings(mSettings).empty());

    AppSettings expected = MissingKeyDefaults();
    expected.midiInputPort = "Keys";
    EXPECT_EQ(mSettings, expected);
    EXPECT_EQ(ReadBytes(mStore.FilePath()), "[midi]\n"
                                            "indev=Keys\n"
                                            "outdev=no output\n" // missing keys appended ...
                                            "inchan=0\n"
                                            "outchan=0\n"
                                            "[audio]\n" // ... and the missing section at the end
                                            "driver=0\n"
                                            "indev=Built-in Input\n"
                                            "outdev=Built-in Output\n"
                                            "in1=1\n"
                                            "in2=2\n"
                                            "out1=1\n"
                                            "out2=2\n"
                                            "buffer=512\n"
                                            "sr=44100\n");
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

TEST_F(SettingsFile, ADirectoryInPlaceOfTheFileKeepsTheDefaultsAndReportsReadAndWrite)
{
    fs::create_directories(mStore.FilePath());
    const auto problems = mStore.LoadSettings(mSettings);
    ASSERT_EQ(problems.size(), 2u);
    EXPECT_EQ(problems[0].kind, SettingsError::Kind::kReadFile);
    EXPECT_EQ(problems[1].kind, SettingsError::Kind::kWriteFile);
    EXPECT_NE(problems[1].message.find("settings.ini"), std::string::npos);
    EXPECT_EQ(mSettings, AppSettings{});
}

TEST_F(SettingsFile, AFolderThatCannotBeCreatedIsReportedAndTheDefaultsStay)
{
    // A plain file where a parent folder should be: no user, not even root, can create under it.
    WriteBytes(mRoot.Path() / "plain", "x");
    SettingsStore store(mRoot.Path() / "plain" / "ctrlWaveStomplet");
    const auto problems = store.LoadSettings(mSettings);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0].kind, SettingsError::Kind::kCreateFolder);
    EXPECT_EQ(mSettings, AppSettings{});
}

TEST_F(SettingsFile, LongPortNamesAndLargeNumbersSurviveSaveAndLoad)
{
    mSettings.midiInputPort = "Korvo-Audio ctrlWave Stomplet:Korvo-Audio ctrlWave Stomplet MIDI 1 "
                              "with a name far longer than ninety-nine characters 128:0";
    mSettings.midiOutputPort = std::string(400, 'p');
    mSettings.sampleRate = 3000000000u; // above the signed range
    ASSERT_FALSE(mStore.SaveSettings(mSettings));

    AppSettings loaded;
    EXPECT_TRUE(mStore.LoadSettings(loaded).empty());
    EXPECT_EQ(loaded, mSettings);
}

TEST_F(SettingsFile, SavingKeepsForeignLinesAndTheOrderOfKeysAlreadyThere)
{
    fs::create_directories(mFolder);
    WriteBytes(mStore.FilePath(), "; my notes\n[midi]\noutchan=3\ntheme=dark\nindev=Keys\n");
    mSettings.midiInputPort = "Pads";
    ASSERT_FALSE(mStore.SaveSettings(mSettings));
    const std::string text = ReadBytes(mStore.FilePath());
    EXPECT_EQ(text.substr(0, text.find("[audio]")),
              "; my notes\n[midi]\noutchan=0\ntheme=dark\nindev=Pads\noutdev=off\ninchan=0\n");
}
