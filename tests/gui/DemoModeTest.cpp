// The demo mode: the editor's host on the built-in box never touches settings.ini, and the editor
// program run with --demo --screenshot reaches Interface Mode on that box.

#include "app/AppHost.h"
#include "app/DemoStomplet.h"
#include "app/InProcessMidi.h"
#include "core/ManualTimerBackend.h"
#include "device/SysExMessages.h"
#include "editor/ctrlWaveStomplet.h"

#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <gtest/gtest.h>

namespace demomode
{
namespace fs = std::filesystem;

class DemoHost : public ::testing::Test
{
protected:
    ManualTimerBackend clock;
    QTemporaryDir folder;
    InProcessMidi bus;
    DemoStomplet box{bus};
};
} // namespace demomode

using demomode::DemoHost;

TEST_F(DemoHost, NeitherStartNorProbeNorPreferencesTouchTheSettingsFile)
{
    ASSERT_TRUE(folder.isValid());
    const demomode::fs::path settingsFolder = folder.filePath("settings").toStdString();
    {
        AppHost host(std::make_unique<ctrlWaveStomplet>(), bus, settingsFolder, {});
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
    EXPECT_FALSE(demomode::fs::exists(settingsFolder / "settings.ini"));
}

TEST_F(DemoHost, TheBoxAnswersOnItsPortsAndPlaysItsPedals)
{
    std::vector<std::vector<std::uint8_t>> heard;
    auto input = bus.CreateInput().port;
    auto output = bus.CreateOutput().port;
    ASSERT_TRUE(input && output);
    input->IgnoreTypes(false, false, false);
    input->SetCallback([](const std::uint8_t* bytes, std::size_t size, void* user)
                       { static_cast<decltype(heard)*>(user)->emplace_back(bytes, bytes + size); },
                       &heard);
    ASSERT_FALSE(input->OpenPort(0, "test"));
    ASSERT_FALSE(output->OpenPort(0, "test"));
    EXPECT_EQ(output->PortName(0), "Korvo-Audio ctrlWave Stomplet Demo");
    const CommandMessage request = BuildStatusRequest();
    output->SendMessage(request.bytes.data(), request.bytes.size());
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_TRUE(RecogniseStatusReply(heard[0]));
    input->CancelCallback();
}

TEST(DemoProgram, TheScreenshotShowsInterfaceModeAndNoSettingsFileIsWritten)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    const QString shot = folder.filePath("demo.png");
    QProcess editor;
    editor.setProcessChannelMode(QProcess::SeparateChannels);
    editor.start(QStringLiteral(STOMPLET_EDITOR_PROGRAM),
                 {"--demo", "--settings-dir", folder.filePath("settings"), "--screenshot", shot});
    ASSERT_TRUE(editor.waitForFinished(30000));
    EXPECT_EQ(editor.exitCode(), 0) << editor.readAllStandardError().toStdString();
    // The status lines the picture shows, printed by the editor as it saved it.
    const QString lines = QString::fromUtf8(editor.readAllStandardOutput());
    EXPECT_EQ(lines.toStdString(),
              "DEVICE: Korvo-Audio ctrlWave Stomplet\nVERSION: 1.2\nSTATE: Interface Mode\n");
    const QImage image(shot);
    EXPECT_EQ(image.size(), QSize(1024, 768));
    EXPECT_FALSE(QFileInfo::exists(folder.filePath("settings/settings.ini")));
}
