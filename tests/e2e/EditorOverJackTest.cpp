// The editor as main() puts it together (host, editor, view on the offscreen platform), on RtMidi
// JACK ports wired to stomplet-sim, with jack_midi_dump on the editor's output as an independent
// observer: one musician's session, and the faults a musician meets.

#include "E2e.h"
#include "app/AppHost.h"
#include "app/PreferencesDialog.h"
#include "app/QtTimerBackend.h"
#include "app/ViewWidget.h"
#include "device/DeviceStatus.h"
#include "device/PresetFile.h"
#include "device/SysExMessages.h"
#include "editor/FirmwareUpdate.h"
#include "editor/PresetSession.h"
#include "editor/ctrlWaveStomplet.h"
#include "midi/RtMidiPorts.h"
#include "toolkit/ITextControl.h"
#include "ui/ControlTags.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QMenu>
#include <QMessageBox>
#include <QtTest/QTest>
#include <fstream>
#include <gtest/gtest.h>
#include <random>

using namespace e2e;

class EditorOverJack : public ::testing::Test
{
protected:
    void Start(const std::vector<std::string>& simArguments)
    {
        sim = StartSim(simArguments);
        ASSERT_TRUE(sim);
        WriteEditorSettings(folder, *sim);
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
        view.reset();
        host.reset();
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

    void ClickAt(float x, float y)
    {
        const float scale = view->Graphics().GetDrawScale();
        QTest::mouseClick(view.get(), Qt::LeftButton, Qt::NoModifier,
                          QPoint(static_cast<int>(x * scale), static_cast<int>(y * scale)));
    }

    // The text of the message box the editor opens, answered OK; empty when none opens.
    static std::string TakeMessageBox()
    {
        const auto box = []
        { return qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); };
        if (!WaitUntil([&] { return box() != nullptr; }))
            return {};
        const std::string text = box()->text().toStdString();
        box()->button(QMessageBox::Ok)->click();
        return text;
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
        return std::ranges::count_if(sim->child->Messages("in"), [&](const Bytes& bytes)
                                     { return bytes.size() > 5 && bytes[5] == command; });
    }

    const std::filesystem::path folder = ScratchFolder();
    bool serverStopped = false;
    std::unique_ptr<Sim> sim;
    QtTimerBackend timers;
    RtMidiPortFactory ports{MidiSystem::kJack};
    std::unique_ptr<AppHost> host;
    ctrlWaveStomplet* editor = nullptr; // owned by the host
    std::unique_ptr<ViewWidget> view;
};

static Bytes ToBytes(const auto& message)
{
    return Bytes(message.bytes.begin(), message.bytes.end());
}

TEST_F(EditorOverJack, AMusiciansSessionFromInterfaceModeToTheLargestFirmwareImage)
{
    const std::filesystem::path written = folder / "received.bin";
    ASSERT_NO_FATAL_FAILURE(Start({"--firmware-out", written.string()}));
    ASSERT_TRUE(ReachInterfaceMode()) << Text(kCtrlTagDeviceText3) << sim->child->Transcript();
    auto dump = StartDump(JackPorts()[sim->input].at(0)); // the editor's output
    ASSERT_TRUE(dump);

    // A loaded preset reaches the box as one All Settings message, and the box holds it.
    PresetValues values{};
    for (int idx = 0; idx < kNumParams; ++idx)
        values[static_cast<std::size_t>(idx)] =
            static_cast<std::uint8_t>(editor->GetParam(idx)->Int());
    values[kPedal2Controller] = 74;
    values[kSwitchA2Controller] = 127;
    std::ofstream(folder / "set.csx", std::ios::binary) << FormatPresetFile(values);
    editor->LoadPreset((folder / "set.csx").string());
    const Bytes allSettings = ToBytes(*BuildAllSettings(values));
    // The settings the box sent differ from those of the last preset (none): the editor asks.
    EXPECT_EQ(TakeMessageBox(), kUnsavedPresetQuestion);
    ASSERT_TRUE(WaitUntil([&] { return sim->child->Count(allSettings, "in") > 0; }))
        << sim->child->Transcript();
    editor->SendSysExMessage(BuildStatusRequest().Message());
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            const std::vector<Bytes> sent = sim->child->Messages("out");
            const auto reply = sent.empty() ? std::nullopt : RecogniseStatusReply(sent.back());
            return reply && reply->values == values;
        }))
        << sim->child->Transcript();
    EXPECT_EQ(Received(kCommandAllSettings), 1u);

    // With AUDITION on, pedal 1 (controller 11 on channel 1) shows on its LCD and is passed on.
    ClickAt(720.f, 23.f); // the AUDITION toggle in the header bar
    bool shown = false;
    bool passedOn = false;
    for (int attempt = 0; attempt < kSendAttempts && !(shown && passedOn); ++attempt)
    {
        const int position = 40 + attempt; // somewhere new each time
        sim->child->Write("pedal 1 " + std::to_string(position) + "\n");
        shown = WaitUntil([&] { return Text(kCtrlTagJack1PedalValue) == std::to_string(position); },
                          3s);
        const Bytes expected{0xB0, 0x0B, static_cast<std::uint8_t>(position)};
        passedOn = WaitUntil([&] { return dump->Count(expected) > 0; }, 3s);
    }
    EXPECT_TRUE(shown) << Text(kCtrlTagJack1PedalValue) << sim->child->Transcript();
    EXPECT_TRUE(passedOn) << "the pedal's control change never came out of the editor";

    // "JACK 1 Mode" picked from its caption's menu reaches the box once, after the edit rests.
    bool once = false;
    for (int attempt = 0; attempt < kSendAttempts && !once; ++attempt)
    {
        // A try the server lost is undone by the next, so that each click changes the setting.
        const int target = attempt % 2 == 0 ? kJackModeSwitches : kJackModePedal;
        const Bytes expected = ToBytes(*BuildSingleSetting(kJack1Mode, target));
        const std::size_t before = sim->child->Count(expected, "in");
        const IRECT& caption = view->Graphics().GetControlWithTag(kCtrlTagJack1Mode)->GetRECT();
        ClickAt(caption.MW(), caption.MH());
        QMenu* menu = view->Platform().OpenMenu();
        ASSERT_TRUE(menu && menu->actions().size() == 2);
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                          menu->actionGeometry(menu->actions()[target]).center());
        ASSERT_TRUE(WaitUntil([&] { return editor->GetParam(kJack1Mode)->Int() == target; }));
        QTest::qWait(1500); // the edit rests, and a second send would have come
        once = sim->child->Count(expected, "in") == before + 1;
        ASSERT_LE(sim->child->Count(expected, "in"), before + 1) << "one edit sent twice";
    }
    EXPECT_TRUE(once) << sim->child->Transcript();

    // The largest image (all eight bits in use) is written back whole, on schedule. The view and
    // the observer go first: on a loaded machine their work can hold a tick or a cycle back.
    editor->CloseView();
    view.reset();
    dump.reset();
    std::mt19937 random(7);
    std::string image(16383, '\0');
    for (char& byte : image)
        byte = static_cast<char>(random() & 0xFF);
    std::ofstream(folder / "image.bin", std::ios::binary) << image;
    // The server delivers MIDI once per 21 ms period, so blocks sent 100 ms apart arrive 79 to
    // 121 ms apart: two blocks in one period would arrive together, a block held back a whole
    // tick about 200 ms after the one before. A transfer that lost a block to the server or met
    // a late tick on a loaded machine is run again; a fault in the pacing shows in every run.
    std::string fault = "not run";
    for (int attempt = 0; attempt < kSendAttempts && !fault.empty(); ++attempt)
    {
        const std::size_t before = sim->child->HexLines().size();
        editor->LoadFirmware((folder / "image.bin").string());
        ASSERT_TRUE(editor->FirmwareTransferRunning());
        ASSERT_TRUE(WaitUntil([&] { return !editor->FirmwareTransferRunning(); }, 90s));
        QTest::qWait(500); // the last block reaches the box
        const std::vector<HexLine> lines = sim->child->HexLines();
        std::vector<double> stamps; // the Firmware Start's, then each block's
        for (std::size_t i = before; i < lines.size(); ++i)
            if (lines[i].direction == "in" && lines[i].bytes.size() > 6 &&
                lines[i].bytes[4] == kModelFirmware)
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
    Bytes back;
    WaitUntil([&] { return (back = FileBytes(written)).size() == 16384; }); // sixteen whole pages
    ASSERT_EQ(back.size(), 16384u) << sim->child->Transcript();
    EXPECT_EQ(back.back(), 0xFF); // the page's erased rest
    back.pop_back();
    EXPECT_EQ(back, Bytes(image.begin(), image.end()));
}

TEST_F(EditorOverJack, TheBoxKilledAndTheServerStoppedAreShownAndTheBoxComesBackByItself)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    ASSERT_TRUE(ReachInterfaceMode()) << sim->child->Transcript();
    const std::string boxInput = sim->input;

    // Unplugged in the middle of a firmware update: it stops and says so.
    std::ofstream(folder / "image.bin", std::ios::binary) << std::string(4096, '\x5A');
    editor->LoadFirmware((folder / "image.bin").string());
    ASSERT_TRUE(WaitUntil([&] { return Received(kCommandFirmwareBlock) >= 3; }))
        << sim->child->Transcript();
    sim->child->Signal(SIGKILL);
    ASSERT_NE(sim->child->WaitForExit(), -1);
    EXPECT_TRUE(ShowsNoPort()) << Text(kCtrlTagDeviceText1);
    EXPECT_EQ(Text(kCtrlTagDeviceText3), "");
    EXPECT_EQ(TakeMessageBox(), kFirmwareFailedText);  // and the transfer stopped
    EXPECT_EQ(StoredPort(folder, "outdev"), boxInput); // the file keeps the name
    // Back under the same names: the editor reopens the ports by itself, and the box gets no
    // leftover of the abandoned update.
    ASSERT_TRUE(sim = StartSim({}));
    EXPECT_TRUE(ReachInterfaceMode()) << sim->child->Transcript();
    EXPECT_EQ(Received(kCommandFirmwareBlock) + Received(kCommandFirmwareStart), 0u);

    // The server stopped while Preferences is open: its ports are gone as an unplugged box's are,
    // the file keeps the name, and Cancel puts back the settings from before, name and all.
    const std::string secondInput = sim->input;
    {
        PreferencesDialog dialog(*host, nullptr, false);
        dialog.open();
        ASSERT_TRUE(serverStopped = JackServer("stop"));
        EXPECT_TRUE(ShowsNoPort()) << Text(kCtrlTagDeviceText1);
        EXPECT_EQ(StoredPort(folder, "outdev"), secondInput);
        dialog.reject();
    }
    EXPECT_EQ(host->Settings().midiOutputPort, secondInput);
    ASSERT_TRUE(JackServer("start"));
    serverStopped = false;
    // With the server and the box back, the editor is back in Interface Mode by itself.
    ASSERT_TRUE(sim = StartSim({}));
    EXPECT_TRUE(ReachInterfaceMode()) << sim->child->Transcript();
}
