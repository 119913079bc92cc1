// The editor's host between the editor, the MIDI ports and settings.ini, with the Preferences
// dialog over it. (The file's rules are pinned in the settings store's unit tests.)

#include "app/AppHost.h"

#include "app/PreferencesDialog.h"
#include "core/ManualTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"
#include "midi/InProcessMidi.h"
#include "support/TempFolder.h"

#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QPushButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace
{
class HostFixture : public ::testing::Test
{
protected:
    HostFixture()
    {
        midi.PlugOutputPort("Box In A", [](const std::uint8_t*, std::size_t) {});
        midi.PlugOutputPort("Box In B", [](const std::uint8_t*, std::size_t) {});
        std::filesystem::create_directories(file.parent_path());
        testfiles::WriteBytes(file, "[midi]\nindev=off\noutdev=Box In A\n");
    }

    ManualTimerBackend clock;
    testfiles::TempFolder root;
    std::filesystem::path file = root.Path() / "ctrlWaveStomplet" / "settings.ini";
    InProcessMidi midi;
    AppHost host{std::make_unique<ctrlWaveStomplet>(), midi, file.parent_path(), {}};
};
} // namespace

TEST_F(HostFixture, PreferencesPickAtOnceCancelRestoresThePortsAndTheFileOkWritesThem)
{
    host.Start();
    const std::string fileBefore = testfiles::ReadBytes(file);
    for (const bool ok : {false, true})
    {
        PreferencesDialog dialog(host);
        EXPECT_EQ(dialog.OutputList()->currentText(), "Box In A");
        dialog.OutputList()->setCurrentIndex(2);
        EXPECT_EQ(midi.OutputConnections("Box In B"), 1); // the pick takes effect at once
        ok ? dialog.accept() : dialog.reject();
        EXPECT_EQ(midi.OutputConnections("Box In A"), ok ? 0 : 1);
        EXPECT_EQ(testfiles::ReadBytes(file).find("outdev=Box In B") != std::string::npos, ok);
        EXPECT_TRUE(ok || testfiles::ReadBytes(file) == fileBefore);
    }
}

TEST_F(HostFixture, AnAudioStartThatFailsIsToldByApplyAndOkAndOkTriesItAgain)
{
    // Mended: only the start-up told the user, and a failed stream counted as applied.
    if (!host.Start().audioFailed)
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
    PreferencesDialog dialog(host);
    for (QPushButton* button : dialog.findChildren<QPushButton*>())
        if (button->text() == "Apply")
            button->click();
    EXPECT_EQ(openMessages(), 1);
    dialog.accept(); // the settings are those of the failed start: OK tries again
    EXPECT_EQ(openMessages(), 1);
}

TEST(FirstStart, TakesTheOnlyBoxEvenPluggedInLaterButNeverTwoBoxesOrAChosenOffAndKeepsAVanishedName)
{
    const ManualTimerBackend clock;
    const testfiles::TempFolder root;
    const std::filesystem::path folder = root.Path() / "ctrlWaveStomplet";
    InProcessMidi midi;
    const auto start = [&]
    {
        auto host = std::make_unique<AppHost>(std::make_unique<ctrlWaveStomplet>(), midi, folder,
                                              AppHost::DiagnosticSink{});
        host->Start();
        return host;
    };
    const auto stored = [&] { return testfiles::ReadBytes(folder / "settings.ini"); };
    const std::string box = "Korvo-Audio ctrlWave Stomplet:Korvo-Audio ctrlWave Stomplet MIDI 1";
    const auto first = start(); // no folder yet, and the box is plugged in only after the start
    midi.PlugInputPort(box + " 24:0");
    midi.PlugOutputPort(box + " 24:0", {});
    first->Router().ProbeMidiPorts();
    EXPECT_EQ(first->Router().OpenPortName(MidiRoute::kOutput), box + " 24:0");
    EXPECT_NE(stored().find("outdev=" + box + " 24:0"), std::string::npos);

    testfiles::WriteBytes(folder / "settings.ini", "[midi]\nindev=off\noutdev=off\n");
    EXPECT_FALSE(start()->Router().OpenPortName(MidiRoute::kOutput)); // "off" was chosen

    // A stored port that is not there at start is off, and the file keeps its name.
    testfiles::WriteBytes(folder / "settings.ini", "[midi]\nindev=off\noutdev=Box In Gone\n");
    EXPECT_FALSE(start()->Router().OpenPortName(MidiRoute::kOutput));
    EXPECT_NE(stored().find("outdev=Box In Gone"), std::string::npos);

    std::filesystem::remove_all(folder);
    midi.PlugInputPort(box + " 28:0");
    midi.PlugOutputPort(box + " 28:0", {});
    EXPECT_FALSE(start()->Router().OpenPortName(MidiRoute::kOutput)); // two boxes
    EXPECT_NE(stored().find("outdev=off"), std::string::npos);
}
