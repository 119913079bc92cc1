// The editor as main() puts it together (host, editor, view on the offscreen platform), on RtMidi
// JACK ports wired to stomplet-sim: one musician's session, and the faults a musician meets.

#include "E2e.h"
#include "app/AppHost.h"
#include "app/QtTimerBackend.h"
#include "app/ViewWidget.h"
#include "device/DeviceStatus.h"
#include "device/SysExMessages.h"
#include "editor/FirmwareUpdate.h"
#include "editor/ctrlWaveStomplet.h"
#include "midi/RtMidiPorts.h"
#include "toolkit/ITextControl.h"
#include "ui/ControlTags.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <random>

using namespace e2e;

class EditorOverJack : public ::testing::Test
{
protected:
    void Start(const std::vector<std::string>& simArguments)
    {
        sim = StartSim(simArguments);
        ASSERT_TRUE(sim);
        testfiles::WriteBytes(folder / "settings.ini", // the editor wired to the box and back
                              "[midi]\nindev=" + sim->output + "\noutdev=" + sim->input + "\n");
        host = std::make_unique<AppHost>(std::make_unique<ctrlWaveStomplet>(), ports, folder,
                                         [](std::string_view) {});
        host->Start();
        editor = static_cast<ctrlWaveStomplet*>(&host->App());
        view = std::make_unique<ViewWidget>(*editor);
        view->show();
    }

    void TearDown() override
    {
        if (serverStopped) // the next tests need it
            JackServer("start");
        if (view)
            editor->CloseView();
    }

    std::string Text(int tag)
    {
        const auto* text =
            dynamic_cast<const ITextControl*>(view->Graphics().GetControlWithTag(tag));
        return text ? text->GetStr() : std::string();
    }

    // A Status Request or reply the server dropped leaves the editor in Standalone Mode, so the
    // port is announced again, as choosing it in Preferences does.
    bool ReachInterfaceMode()
    {
        for (int attempt = 0; attempt < kSendAttempts; ++attempt)
        {
            if (WaitUntil([&] { return Text(kCtrlTagDeviceText3) == kInterfaceModeText; }, 3s))
                return true;
            editor->OnMidiOutputPortSelected(sim->input);
            WaitUntil([&] { return editor->DeviceModeKnown(); }, 3s);
        }
        return false;
    }

    // The box's ports gone (a probe lets go of both, as between an unplug and a replug): "off".
    bool ShowsNoPort()
    {
        return WaitUntil(
            [&]
            {
                return Text(kCtrlTagDeviceText1) == "DEVICE: off" && !editor->DeviceModeKnown() &&
                       !host->Router().OpenPortName(MidiRoute::kInput) &&
                       !host->Router().OpenPortName(MidiRoute::kOutput);
            });
    }

    // How many messages with this command (byte 5) the box received.
    std::size_t Received(std::uint8_t command)
    {
        return std::ranges::count_if(sim->child->Traffic("in"), [&](const HexLine& line)
                                     { return line.bytes.size() > 5 && line.bytes[5] == command; });
    }

    const testfiles::TempFolder temp;
    const std::filesystem::path& folder = temp.Path();
    bool serverStopped = false;
    std::unique_ptr<Sim> sim;
    QtTimerBackend timers;
    RtMidiPortFactory ports{MidiSystem::kJack};
    std::unique_ptr<AppHost> host;
    ctrlWaveStomplet* editor = nullptr; // owned by the host
    std::unique_ptr<ViewWidget> view;
};

TEST_F(EditorOverJack, AMusiciansSessionFromInterfaceModeToTheLargestFirmwareImage)
{
    const std::filesystem::path written = folder / "received.bin";
    ASSERT_NO_FATAL_FAILURE(Start({"--firmware-out", written.string()}));
    ASSERT_TRUE(ReachInterfaceMode()) << Text(kCtrlTagDeviceText3) << sim->child->Transcript();

    // With AUDITION on, pedal 1 (controller 11 on channel 1) shows on its LCD and is passed on.
    editor->SetAudition(true);
    bool shown = false, passedOn = false;
    for (int attempt = 0; attempt < kSendAttempts && !(shown && passedOn); ++attempt)
    {
        const int position = 40 + attempt; // somewhere new each time
        sim->child->Write("pedal 1 " + std::to_string(position) + "\n");
        shown = WaitUntil([&] { return Text(kCtrlTagJack1PedalValue) == std::to_string(position); },
                          3s);
        const Bytes expected{0xB0, 0x0B, static_cast<std::uint8_t>(position)};
        passedOn = WaitUntil(
            [&]
            { return std::ranges::count(sim->child->Traffic("in"), expected, &HexLine::bytes); },
            3s);
    }
    EXPECT_TRUE(shown) << Text(kCtrlTagJack1PedalValue) << sim->child->Transcript();
    EXPECT_TRUE(passedOn) << "the pedal's control change never came out of the editor";

    // The largest image (all eight bits in use) is written back whole, on schedule. The view goes
    // first: on a loaded machine its work can hold a tick back.
    editor->CloseView();
    view.reset();
    std::mt19937 random(7);
    std::string image(16383, '\0');
    for (char& byte : image)
        byte = static_cast<char>(random() & 0xFF);
    testfiles::WriteBytes(folder / "image.bin", image);
    // The server delivers MIDI once per 21 ms period, so blocks sent 100 ms apart arrive 79 to
    // 121 ms apart: two blocks in one period would arrive together, a block held back a whole
    // tick about 200 ms after the one before. A transfer that lost a block to the server or met
    // a late tick on a loaded machine is run again; a fault in the pacing shows in every run.
    std::string fault = "not run";
    for (int attempt = 0; attempt < kSendAttempts && !fault.empty(); ++attempt)
    {
        const std::size_t before = sim->child->Traffic("in").size();
        editor->LoadFirmware((folder / "image.bin").string());
        ASSERT_TRUE(WaitUntil([&] { return !editor->FirmwareTransferRunning(); }, 90s));
        QTest::qWait(500); // the last block reaches the box
        const std::vector<HexLine> lines = sim->child->Traffic("in");
        std::vector<double> stamps; // the Firmware Start's, then each block's
        for (std::size_t i = before; i < lines.size(); ++i)
            if (lines[i].bytes.size() > 6 && lines[i].bytes[4] == kModelFirmware)
                stamps.push_back(lines[i].stamp);
        fault = stamps.size() == 257 ? "" : "a lost block";
        for (std::size_t i = 2; i < stamps.size() && fault.empty(); ++i)
            // Mended: blocks were held back a whole tick every few blocks.
            if (stamps[i] - stamps[i - 1] < 50.0 || stamps[i] - stamps[i - 1] >= 150.0)
                fault = "block " + std::to_string(i - 1) + " after " +
                        std::to_string(stamps[i] - stamps[i - 1]) + " ms";
        if (fault.empty() && stamps.back() - stamps.front() >= 26500.0)
            fault = "the last block late";
    }
    EXPECT_EQ(fault, "");
    // Sixteen whole pages: the image and the last page's erased rest.
    EXPECT_TRUE(WaitUntil([&] { return testfiles::ReadBytes(written) == image + '\xFF'; }))
        << sim->child->Transcript();
}

TEST_F(EditorOverJack, TheBoxKilledAndTheServerStoppedAreShownAndTheBoxComesBackByItself)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    ASSERT_TRUE(ReachInterfaceMode()) << sim->child->Transcript();

    // Unplugged in the middle of a firmware update: it stops and says so.
    testfiles::WriteBytes(folder / "image.bin", std::string(4096, '\x5A'));
    editor->LoadFirmware((folder / "image.bin").string());
    ASSERT_TRUE(WaitUntil([&] { return Received(kCommandFirmwareBlock) >= 3; }))
        << sim->child->Transcript();
    sim->child->Kill();
    EXPECT_TRUE(ShowsNoPort()) << Text(kCtrlTagDeviceText1);
    const auto box = [] { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); };
    ASSERT_TRUE(
        WaitUntil([&] { return box() && box()->text().toStdString() == kFirmwareFailedText; }));
    box()->button(QMessageBox::Ok)->click();
    // Back under the same names: the editor reopens the ports by itself, and the box gets no
    // leftover of the abandoned update.
    ASSERT_TRUE(sim = StartSim({}));
    EXPECT_TRUE(ReachInterfaceMode()) << sim->child->Transcript();
    EXPECT_EQ(Received(kCommandFirmwareBlock) + Received(kCommandFirmwareStart), 0u);

    // The server stopped: its ports are gone as an unplugged box's are, and the file keeps the
    // name.
    ASSERT_TRUE(serverStopped = JackServer("stop"));
    EXPECT_TRUE(ShowsNoPort()) << Text(kCtrlTagDeviceText1);
    EXPECT_NE(testfiles::ReadBytes(folder / "settings.ini").find("\noutdev=" + sim->input + "\n"),
              std::string::npos);
    ASSERT_TRUE(JackServer("start"));
    serverStopped = false;
    // With the server and the box back, the editor is back in Interface Mode by itself.
    ASSERT_TRUE(sim = StartSim({}));
    EXPECT_TRUE(ReachInterfaceMode()) << sim->child->Transcript();
}
