// The editor's host between the editor, the MIDI ports and settings.ini, with the Preferences
// dialog over it; in demo mode it never touches settings.ini.

#include "app/AppHost.h"

#include "app/PreferencesDialog.h"
#include "core/ManualTimerBackend.h"
#include "device/ParamTable.h"
#include "editor/ctrlWaveStomplet.h"
#include "midi/InProcessMidi.h"
#include "sim/DemoStomplet.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace
{
// The real editor, recording what the host announces to it.
class AnnouncedEditor final : public ctrlWaveStomplet
{
public:
    explicit AnnouncedEditor(std::vector<std::string>& log) : mLog(log) {}

    void OnParamChange(int paramIdx, ParamSource source, int sampleOffset) override
    {
        mLog.push_back(std::to_string(paramIdx) + " " + ParamSourceLabel(source));
        ctrlWaveStomplet::OnParamChange(paramIdx, source, sampleOffset);
    }
    void OnMidiOutputPortSelected(std::string_view name) override
    {
        mLog.push_back("output " + std::string(name));
    }

private:
    std::vector<std::string>& mLog;
};

class HostFixture : public ::testing::Test
{
protected:
    HostFixture()
    {
        midi.PlugInputPort("Box Out A");
        midi.PlugOutputPort("Box In A", [this](const std::uint8_t* bytes, std::size_t size)
                            { sentToA.emplace_back(bytes, bytes + size); });
        midi.PlugOutputPort("Box In B", [](const std::uint8_t*, std::size_t) {});
    }
    std::unique_ptr<AppHost> MakeHost(const std::string& settings = "")
    {
        if (!settings.empty())
        {
            fs::create_directories(folder);
            testfiles::WriteBytes(file, settings);
        }
        return std::make_unique<AppHost>(std::make_unique<AnnouncedEditor>(log), midi, folder,
                                         [this](std::string_view line)
                                         { diagnostics.emplace_back(line); });
    }

    ManualTimerBackend clock;
    testfiles::TempFolder root;
    fs::path folder = root.Path() / "ctrlWaveStomplet";
    fs::path file = folder / "settings.ini";
    InProcessMidi midi;
    std::vector<std::string> log;
    std::vector<std::string> diagnostics;
    std::vector<std::vector<std::uint8_t>> sentToA;
};
} // namespace

TEST_F(HostFixture, StartUpAnnouncesEveryParameterOnceThenTheOutputPortItSendsThrough)
{
    auto host = MakeHost("[midi]\nindev=Box Out A\noutdev=Box In A\n");
    host->Start();
    ASSERT_EQ(log.size(), static_cast<std::size_t>(kNumParams) + 1);
    for (int i = 0; i < kNumParams; ++i)
        EXPECT_EQ(log[static_cast<std::size_t>(i)], std::to_string(i) + " Reset");
    EXPECT_EQ(log.back(), "output Box In A");
    EXPECT_EQ(midi.InputConnections("Box Out A"), 1);
    EXPECT_FALSE(host->App().HasView());
    const std::vector<std::uint8_t> request{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x71, 0x00, 0xF7};
    EXPECT_TRUE(host->App().SendSysExMessage({0, 9, request.data()}));
    EXPECT_EQ(sentToA, std::vector<std::vector<std::uint8_t>>{request});

    // A stored port that has gone is off for the session, and the file keeps its name.
    host = MakeHost("[midi]\nindev=off\noutdev=Box In Gone\n");
    host->Start();
    EXPECT_EQ(log.back(), "output off");
    EXPECT_NE(testfiles::ReadBytes(file).find("outdev=Box In Gone"), std::string::npos);
}

TEST_F(HostFixture, PreferencesPickAtOnceCancelRestoresThePortsAndTheFileOkWritesThem)
{
    auto host = MakeHost("[midi]\nindev=off\noutdev=Box In A\n");
    host->Start();
    const std::string fileBefore = testfiles::ReadBytes(file);
    {
        PreferencesDialog dialog(*host);
        ASSERT_EQ(dialog.OutputList()->count(), 3); // off, Box In A, Box In B
        EXPECT_EQ(dialog.OutputList()->currentText(), "Box In A");
        dialog.OutputList()->setCurrentIndex(2);
        EXPECT_EQ(midi.OutputConnections("Box In B"), 1); // the pick takes effect at once
        EXPECT_EQ(midi.OutputConnections("Box In A"), 0);
        dialog.reject();
    }
    EXPECT_EQ(midi.OutputConnections("Box In A"), 1);
    EXPECT_EQ(midi.OutputConnections("Box In B"), 0);
    EXPECT_EQ(testfiles::ReadBytes(file), fileBefore);

    log.clear();
    {
        PreferencesDialog dialog(*host);
        dialog.OutputList()->setCurrentIndex(2);
        dialog.accept();
    }
    EXPECT_EQ(log, (std::vector<std::string>{"output Box In B"}));
    EXPECT_NE(testfiles::ReadBytes(file).find("outdev=Box In B"), std::string::npos);
}

TEST_F(HostFixture, AnAudioStartThatFailsIsToldByApplyAndOkAndOkTriesItAgain)
{
    // Mended: only the start-up told the user, and a failed stream counted as applied.
    auto host = MakeHost();
    if (!host->Start().audioFailed)
        GTEST_SKIP() << "this machine's sound card starts a stream";
    const auto openMessages = []
    {
        int count = 0;
        for (QWidget* widget : QApplication::allWidgets())
            if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            {
                count += box->text() == "Please check your soundcard settings in Preferences";
                box->close();
            }
        return count;
    };
    openMessages(); // closes what the tests before left open
    PreferencesDialog dialog(*host);
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == "Apply")
            button->click();
    EXPECT_EQ(openMessages(), 1);
    dialog.accept(); // the settings are those of the failed start: OK tries again
    EXPECT_EQ(openMessages(), 1);
}

// Mended: an editor start replaced a settings file it could not read with the defaults, and
// rewrote a read-only one.
TEST_F(HostFixture, AnUnreadableFileIsReplacedOnlyWhenTheUserSaysSoAndAReadOnlyOneIsNeverWritten)
{
    std::vector<QString> asked;
    std::vector<QString> told;
    bool answer = false;
    const PreferencesDialog::Prompts prompts{[&](const QString& question)
                                             {
                                                 asked.push_back(question);
                                                 return answer;
                                             },
                                             [&](const QString& notice)
                                             { told.push_back(notice); }};
    const auto pickAndAccept = [&](AppHost& host)
    {
        PreferencesDialog dialog(host, nullptr, true, prompts);
        dialog.OutputList()->setCurrentIndex(2);
        dialog.accept();
    };
    for (const bool replace : {false, true})
    {
        auto host = MakeHost("[midi]\noutdev=Box In A\n");
        fs::resize_file(file, 16u * 1024u * 1024u + 1u); // over the reader's limit; sparse
        const std::string unreadable = testfiles::ReadBytes(file);
        host->Start();
        EXPECT_NE(diagnostics.back().find("too large"), std::string::npos);
        answer = replace;
        pickAndAccept(*host); // "No": the pick lasts for the session
        EXPECT_EQ(host->Settings().midiOutputPort, "Box In B");
        host.reset();
        EXPECT_EQ(testfiles::ReadBytes(file).find("outdev=Box In B") != std::string::npos, replace);
    }
    EXPECT_EQ(asked.size(), 2u);

    auto host = MakeHost("[midi]\noutdev=Box In A\n");
    fs::permissions(file, fs::perms::owner_read);
    host->Start();
    pickAndAccept(*host);
    pickAndAccept(*host);
    EXPECT_EQ(told.size(), 1u); // told once
    EXPECT_EQ(asked.size(), 2u);
    EXPECT_EQ(host->Settings().midiOutputPort, "Box In B");
    EXPECT_EQ(testfiles::ReadBytes(file), "[midi]\noutdev=Box In A\n");
}

TEST_F(HostFixture, InDemoModeNeitherStartNorProbeNorPreferencesWriteTheSettingsFile)
{
    DemoStomplet box{midi};
    {
        AppHost host(std::make_unique<ctrlWaveStomplet>(), midi, folder, {});
        AppSettings demo;
        demo.midiInputPort = demo.midiOutputPort = std::string(DemoStomplet::kPortName);
        host.UseSettingsWithoutFile(demo);
        host.Start();
        EXPECT_EQ(host.Settings().midiOutputPort, DemoStomplet::kPortName);
        // A stored port that is gone is set to "off" and would be written; Preferences OK writes.
        host.BeginPreferences();
        host.PickPort(MidiRoute::kOutput, "Gone Port");
        EXPECT_EQ(host.PreferencesSelection(MidiRoute::kOutput), 0);
        host.PickPort(MidiRoute::kOutput, DemoStomplet::kPortName);
        host.AcceptPreferences();
        host.SaveSettings();
    }
    EXPECT_FALSE(fs::exists(file));
}
