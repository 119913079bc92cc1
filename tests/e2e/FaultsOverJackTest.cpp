// Faults a musician meets: the box unplugged (the simulator killed) in the middle of a status
// exchange, of a firmware update or while Preferences is open; the JACK server stopped under the
// editor; a preset saved where it cannot be written; a settings file that cannot be read. In each
// case the editor runs on, says what happened, keeps every saved file, and takes the box back once
// it returns and is chosen again.

#include "EditorScreen.h"
#include "device/PresetFile.h"
#include "editor/FirmwareUpdate.h"
#include "editor/PresetSession.h"

#include <QApplication>
#include <QMessageBox>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <iterator>

namespace faults
{
using editorscreen::EditorScreen;
using editorscreen::WaitUntil;

// The text of a message box the editor has open, or empty.
std::string OpenMessageText()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            return box->text().toStdString();
    return {};
}

std::string ReadFileText(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void CloseMessageBoxes()
{
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(widget); box && box->isVisible())
            box->accept();
}

// The suite's JACK server, stopped and started again by a test; always running again once the
// test is over, so the tests after it find it.
class SuiteJackServer
{
public:
    ~SuiteJackServer()
    {
        if (mStopped)
            Start();
    }
    bool Stop()
    {
        mStopped = Run("stop");
        e2e::JackObserver::Forget();
        return mStopped;
    }
    bool Start()
    {
        mStopped = !Run("start");
        return !mStopped;
    }

private:
    static bool Run(const std::string& action)
    {
        const char* name = std::getenv("JACK_DEFAULT_SERVER");
        if (!name)
            return false;
        const std::string command = std::string("'") + STOMPLET_JACK_SERVER_SCRIPT + "' " + action +
                                    " '" + name + "' '" + STOMPLET_JACK_SERVER_STATE +
                                    "' >/dev/null";
        return std::system(command.c_str()) == 0;
    }

    bool mStopped = false;
};

class Faults : public EditorScreen
{
protected:
    void KillSimulator()
    {
        sim->Process().Signal(SIGKILL);
        ASSERT_TRUE(sim->Process().WaitForExit(std::chrono::seconds(10)));
    }

    // The vanished port is found on a probe, and the editor shows that no port is in use.
    bool ShowsNoPort()
    {
        return WaitUntil(
            [&]
            { return Text(kCtrlTagDeviceText1) == "DEVICE: off" && !editor->DeviceModeKnown(); });
    }

    // Back: the simulator returns under the same names and, with no choice made, the editor
    // reopens its ports and finds it in Interface Mode.
    void ExpectTheBoxBackByItself()
    {
        // The probe has let go of both ports of the box that went, as it does between an unplug
        // and a replug; a port of the same name is then opened anew.
        ASSERT_TRUE(WaitUntil(
            [&]
            {
                return !host->Router().OpenPortName(MidiRoute::kInput) &&
                       !host->Router().OpenPortName(MidiRoute::kOutput);
            }));
        ASSERT_NO_FATAL_FAILURE(RestartSimulator());
        EXPECT_TRUE(ReachInterfaceMode()) << Text(kCtrlTagDeviceText3) << sim->Transcript();
    }
};

} // namespace faults

using faults::Faults;
using faults::WaitUntil;

TEST_F(Faults, TheBoxGoneDuringTheStatusExchangeIsShownAsNoPortAndTheFileKeepsItsName)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    // Killed as soon as it has answered the first request, before the confirmation can come.
    ASSERT_TRUE(WaitUntil([&] { return !Traffic(true).empty(); })) << sim->Transcript();
    const std::string boxInput = sim->InputPort();
    ASSERT_NO_FATAL_FAILURE(KillSimulator());

    EXPECT_TRUE(ShowsNoPort()) << Text(kCtrlTagDeviceText1);
    EXPECT_EQ(Text(kCtrlTagDeviceText2), "");
    EXPECT_EQ(Text(kCtrlTagDeviceText3), "");
    EXPECT_EQ(e2e::ReadStoredPorts(folder).output, boxInput);
    ExpectTheBoxBackByItself();
}

TEST_F(Faults, TheBoxGoneDuringAFirmwareUpdateStopsItWithAFailureAndSendsNoMoreBlocks)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    ASSERT_TRUE(ReachInterfaceMode()) << sim->Transcript();
    std::ofstream(folder / "image.bin", std::ios::binary) << std::string(4096, '\x5A');
    editor->LoadFirmware((folder / "image.bin").string());
    ASSERT_TRUE(
        WaitUntil([&] { return Received(kModelFirmware, kCommandFirmwareBlock).size() >= 3; }))
        << sim->Transcript();
    ASSERT_NO_FATAL_FAILURE(KillSimulator());

    ASSERT_TRUE(WaitUntil([&] { return !editor->FirmwareTransferRunning(); }));
    EXPECT_TRUE(WaitUntil([] { return !faults::OpenMessageText().empty(); }));
    EXPECT_EQ(faults::OpenMessageText(), std::string(kFirmwareFailedText));
    faults::CloseMessageBoxes();

    ExpectTheBoxBackByItself();
    // The abandoned update does not resume on the box chosen again.
    EXPECT_TRUE(Received(kModelFirmware, kCommandFirmwareBlock).empty());
    EXPECT_TRUE(Received(kModelFirmware, kCommandFirmwareStart).empty());
}

TEST_F(Faults, TheBoxGoneWhilePreferencesIsOpenAndCancelLeaveTheEditorWorking)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    ASSERT_TRUE(ReachInterfaceMode()) << sim->Transcript();
    {
        PreferencesDialog dialog(*host, nullptr, false); // no sound card here
        dialog.open();
        ASSERT_NO_FATAL_FAILURE(KillSimulator());
        EXPECT_TRUE(ShowsNoPort()) << Text(kCtrlTagDeviceText1);
        dialog.reject();
    }
    // Cancel put back the settings from before: the box's port, remembered while it is gone.
    ExpectTheBoxBackByItself();
}

TEST_F(Faults, TheJackServerStoppedTurnsThePortsOffAndTheBoxComesBackWithTheServer)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    ASSERT_TRUE(ReachInterfaceMode()) << sim->Transcript();
    const std::string boxInput = sim->InputPort();
    faults::SuiteJackServer server;
    ASSERT_TRUE(server.Stop());

    // The ports of a stopped server are gone, as an unplugged box's are; the file keeps the name.
    EXPECT_TRUE(ShowsNoPort()) << Text(kCtrlTagDeviceText1);
    EXPECT_EQ(e2e::ReadStoredPorts(folder).output, boxInput);

    ASSERT_TRUE(server.Start());
    ExpectTheBoxBackByItself();
}

TEST_F(Faults, APresetThatCannotBeWrittenSaysSoAndTheSavedOneStaysWhole)
{
    ASSERT_NO_FATAL_FAILURE(Start({}, true));
    ASSERT_TRUE(ReachInterfaceMode()) << sim->Transcript();
    const std::filesystem::path saved = folder / "live.csx";
    editor->SavePreset(saved.string());
    ASSERT_TRUE(std::filesystem::exists(saved));
    const std::string savedBytes = faults::ReadFileText(saved);
    ASSERT_EQ(Text(kCtrlTagPresetName), "live");

    // A folder that cannot hold a file: its path runs through the saved preset itself.
    editor->SavePreset((saved / "other.csx").string());
    EXPECT_TRUE(WaitUntil([] { return !faults::OpenMessageText().empty(); }));
    EXPECT_TRUE(faults::OpenMessageText().starts_with(kPresetNotSavedText));
    faults::CloseMessageBoxes();
    EXPECT_EQ(Text(kCtrlTagPresetName), "live");
    EXPECT_EQ(faults::ReadFileText(saved), savedBytes);
}

TEST_F(Faults, ASettingsFileThatCannotBeReadStartsTheEditorWithNoPortAndStaysUntouched)
{
    // A folder where the file should be: it can be neither read nor replaced.
    std::filesystem::create_directories(folder / "settings.ini" / "keep");
    std::string error;
    sim = e2e::SimulatorProcess::Start({}, true, error);
    ASSERT_TRUE(sim) << error;
    std::vector<std::string> diagnostics;
    host =
        std::make_unique<AppHost>(std::make_unique<ctrlWaveStomplet>(), ports, folder,
                                  [&](std::string_view line) { diagnostics.emplace_back(line); });
    host->Start();
    editor = static_cast<ctrlWaveStomplet*>(&host->App());
    view = std::make_unique<ViewWidget>(*editor);
    view->show();

    EXPECT_TRUE(ShowsNoPort()) << Text(kCtrlTagDeviceText1);
    ASSERT_NO_FATAL_FAILURE(ChooseSimulatorInPreferences());
    EXPECT_TRUE(ReachInterfaceMode()) << sim->Transcript();
    EXPECT_TRUE(std::filesystem::is_directory(folder / "settings.ini" / "keep"));
    EXPECT_FALSE(diagnostics.empty()) << "the settings file's trouble was not reported";
}
