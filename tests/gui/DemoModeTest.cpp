// The demo mode: the editor's host on the built-in box never touches settings.ini.

#include "app/AppHost.h"
#include "core/ManualTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"
#include "midi/InProcessMidi.h"
#include "sim/DemoStomplet.h"

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
