// The editor as a musician uses it: its real view on the offscreen platform, clicked in design
// coordinates, on RtMidi JACK ports wired to stomplet-sim, with jack_midi_dump on the editor's
// output as an independent observer. The test thread is Qt's main thread; the event loop runs the
// editor's timers while the tests wait.
//
// The dummy server may drop the MIDI of a cycle a client misses (see RetryingSend.h), so a step
// whose repetition changes nothing is repeated until its effect shows, and only what did arrive
// is counted as evidence.

#include "EditorOverJack.h"
#include "JackObserver.h"
#include "MidiDumpProcess.h"
#include "RetryingSend.h"
#include "ScratchFolder.h"
#include "SimulatorProcess.h"
#include "app/AppHost.h"
#include "app/QtTimerBackend.h"
#include "app/RtMidiPorts.h"
#include "app/ViewWidget.h"
#include "device/DeviceStatus.h"
#include "device/SysExMessages.h"
#include "editor/AssignmentSummary.h"
#include "editor/ctrlWaveStomplet.h"
#include "sim/VirtualStomplet.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVectorBase.h"
#include "ui/ControlTags.h"

#include <QMenu>
#include <QtTest/QTest>
#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace editorscreen
{
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;

// The editor's timers run only while the event loop does: every wait runs it, in 10 ms slices,
// until `done` holds, at most `slices` slices (20 s by default, 3 s for one try).
constexpr int kAttemptSlices = 300;
bool WaitUntil(const std::function<bool()>& done, int slices = 2000)
{
    for (int slice = 0; slice < slices && !done(); ++slice)
        QTest::qWait(10);
    return done();
}

Bytes ToBytes(const CommandMessage& msg)
{
    return Bytes(msg.bytes.begin(), msg.bytes.end());
}

// The editor program's parts as main() puts them together, on the simulator's ports.
class EditorScreen : public ::testing::Test
{
protected:
    // Starts the simulator with `simArguments` (its standard input piped for pedal commands),
    // then the editor with its view shown.
    void Start(const std::vector<std::string>& simArguments)
    {
        std::string error;
        sim = e2e::SimulatorProcess::Start(simArguments, true, error);
        ASSERT_TRUE(sim) << error;
        const std::filesystem::path folder = e2e::ScratchFolder();
        e2e::WriteEditorSettings(folder, *sim);
        host = std::make_unique<AppHost>(std::make_unique<ctrlWaveStomplet>(), ports, folder,
                                         [](std::string_view) {});
        host->Start();
        editor = static_cast<ctrlWaveStomplet*>(&host->App());
        view = std::make_unique<ViewWidget>(*editor);
        view->show();
    }

    void TearDown() override
    {
        if (editor)
            editor->CloseView();
        view.reset();
        host.reset();
    }

    // Waits for Interface Mode; a Status Request or reply the server dropped leaves the editor
    // in Standalone Mode, so the port is announced again, as choosing it in Preferences does.
    bool ReachInterfaceMode()
    {
        for (int attempt = 0; attempt < e2e::kSendAttempts; ++attempt)
        {
            if (WaitUntil([&] { return Text(kCtrlTagDeviceText3) == kInterfaceModeText; }))
                return true;
            editor->OnMidiOutputPortSelected(sim->InputPort());
            WaitUntil([&] { return editor->DeviceModeKnown(); });
        }
        return false;
    }

    // jack_midi_dump on the port the editor's output is wired to.
    std::unique_ptr<e2e::MidiDumpProcess> DumpEditorOutput()
    {
        std::string error;
        auto dump = e2e::MidiDumpProcess::Start("e2e-screen-dump", error);
        EXPECT_TRUE(dump) << error;
        if (!dump)
            return nullptr;
        const std::vector<std::string> toBox =
            e2e::JackObserver::Get()->Connections()[sim->InputPort()];
        EXPECT_EQ(toBox.size(), 1u);
        if (toBox.size() != 1 || !e2e::JackObserver::Get()->Connect(toBox[0], dump->InputPort()))
            return nullptr;
        return dump;
    }

    std::string Text(int tag) const
    {
        const auto* text = dynamic_cast<const ITextControl*>(Graphics().GetControlWithTag(tag));
        return text ? text->GetStr() : std::string();
    }

    IGraphics& Graphics() const { return view->Graphics(); }

    // A left click in the middle of `control`, given in design coordinates.
    void ClickOn(const IControl& control)
    {
        const IRECT& r = control.GetRECT();
        const float scale = Graphics().GetDrawScale();
        QTest::mouseClick(
            view.get(), Qt::LeftButton, Qt::NoModifier,
            QPoint(static_cast<int>(r.MW() * scale), static_cast<int>(r.MH() * scale)));
    }

    // The visible vector control labelled `label`, or nullptr.
    IControl* ControlLabelled(std::string_view label) const
    {
        for (int i = 0; i < Graphics().NControls(); ++i)
        {
            IControl* control = Graphics().GetControl(i);
            const auto* vector = dynamic_cast<const IVectorBase*>(control);
            if (vector && vector->GetLabelStr() == label && !control->IsHidden())
                return control;
        }
        return nullptr;
    }

    // The topmost visible control under the design point `x`, `y`, or nullptr.
    IControl* ControlAt(float x, float y) const
    {
        for (int i = Graphics().NControls() - 1; i >= 0; --i)
        {
            IControl* control = Graphics().GetControl(i);
            if (!control->IsHidden() && control->GetRECT().Contains(x, y))
                return control;
        }
        return nullptr;
    }

    // The box's traffic in one direction: `fromBox` for what it sent.
    std::vector<Bytes> Traffic(bool fromBox) const
    {
        std::vector<Bytes> messages;
        for (const e2e::TrafficLine& line : sim->Traffic())
            if (line.sent == fromBox)
                messages.push_back(line.bytes);
        return messages;
    }

    std::unique_ptr<e2e::SimulatorProcess> sim;
    QtTimerBackend timers;
    RtMidiPortFactory ports{MidiSystem::kJack};
    std::unique_ptr<AppHost> host;
    ctrlWaveStomplet* editor = nullptr; // owned by the host
    std::unique_ptr<ViewWidget> view;
};
} // namespace editorscreen

using editorscreen::Bytes;
using editorscreen::EditorScreen;
using editorscreen::kAttemptSlices;
using editorscreen::ToBytes;
using editorscreen::WaitUntil;

TEST_F(EditorScreen, ShowsInterfaceModeAndTheBoxSettingsAndAClickedEditGoesOutOnce)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    ASSERT_TRUE(ReachInterfaceMode()) << Text(kCtrlTagDeviceText3) << sim->Transcript();
    EXPECT_EQ(Text(kCtrlTagDeviceText1), "DEVICE: Korvo-Audio ctrlWave Stomplet");

    // The box's factory settings are the editor's now, and the pedal LCDs show their summaries.
    const VirtualStomplet::Settings box = VirtualStomplet::FactorySettings();
    ParamValues factory{};
    std::copy(box.begin(), box.end(), factory.begin());
    for (int idx = 0; idx < kNumParams; ++idx)
        EXPECT_EQ(editor->GetParam(idx)->Int(), factory[static_cast<std::size_t>(idx)]) << idx;
    for (int jack : {1, 2})
    {
        SlotRecords records{};
        const int slot = PedalSlotOfJack(jack);
        const SlotSummary summary = *ComposeSlotSummary(slot, factory, records);
        EXPECT_EQ(Text(SlotLineTagsOf(slot).line1), summary.line1) << "jack " << jack;
        EXPECT_EQ(Text(SlotLineTagsOf(slot).line2), summary.line2) << "jack " << jack;
        EXPECT_FALSE(summary.line2.empty());
    }

    // "JACK 1 Mode" on the GLOBAL page: its caption opens a menu, "Switches" is chosen, and once
    // the edit has rested the box takes exactly one Single Setting with the new value.
    auto dump = DumpEditorOutput();
    ASSERT_TRUE(dump);
    const Bytes toSwitches = ToBytes(*BuildSingleSetting(kJack1Mode, kJackModeSwitches));
    const Bytes toPedal = ToBytes(*BuildSingleSetting(kJack1Mode, kJackModePedal));
    bool taken = false;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !taken; ++attempt)
    {
        // A try the server lost is undone first, so that each click changes the setting.
        const int target = attempt % 2 == 0 ? kJackModeSwitches : kJackModePedal;
        ClickOn(*Graphics().GetControlWithTag(kCtrlTagJack1Mode));
        QMenu* menu = view->Platform().OpenMenu();
        ASSERT_NE(menu, nullptr);
        const QList<QAction*> items = menu->actions();
        ASSERT_EQ(items.size(), 2);
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                          menu->actionGeometry(items[target]).center());
        ASSERT_TRUE(WaitUntil([&] { return editor->GetParam(kJack1Mode)->Int() == target; }));
        const Bytes& expected = target == kJackModeSwitches ? toSwitches : toPedal;
        taken = WaitUntil([&] { return e2e::CountTraffic(sim->Traffic(), false, expected) > 0; },
                          kAttemptSlices);
    }
    ASSERT_TRUE(taken) << sim->Transcript();
    // Each click reached the box at most once: the debounce sent one message per edit.
    const std::vector<Bytes> toBox = Traffic(false);
    EXPECT_LE(std::count(toBox.begin(), toBox.end(), toSwitches), 1);
    for (const Bytes& message : dump->Messages())
        EXPECT_TRUE(message == toSwitches || message == toPedal ||
                    message == ToBytes(BuildStatusRequest()))
            << "unexpected message from the editor";
}

TEST_F(EditorScreen, ResetAllPutsTheResetThenAStatusRequestOnTheWire)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    ASSERT_TRUE(ReachInterfaceMode()) << sim->Transcript();
    auto dump = DumpEditorOutput();
    ASSERT_TRUE(dump);
    IControl* reset = ControlLabelled("RESET ALL");
    ASSERT_NE(reset, nullptr);

    // F0, maker 00 3F 5A, model 04, write value 02, address 70 (reset), value 00, F7.
    const Bytes resetBytes{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x70, 0x00, 0xF7};
    const Bytes request = ToBytes(BuildStatusRequest());
    const auto resetThenRequest = [&](const std::vector<Bytes>& messages)
    {
        const auto at = std::find(messages.begin(), messages.end(), resetBytes);
        return at != messages.end() && at + 1 != messages.end() && *(at + 1) == request;
    };
    bool seen = false;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !seen; ++attempt)
    {
        const std::size_t before = dump->Messages().size();
        ClickOn(*reset);
        seen = WaitUntil([&] { return dump->Messages().size() >= before + 2; }, kAttemptSlices) &&
               resetThenRequest(dump->Messages());
    }
    EXPECT_TRUE(seen) << "jack_midi_dump never saw the reset followed by the Status Request";
    // Nothing but resets and requests left the editor.
    for (const Bytes& message : dump->Messages())
        EXPECT_TRUE(message == resetBytes || message == request);
}

TEST_F(EditorScreen, ThePedalShowsOnItsLcdAndAuditionPassesItOn)
{
    ASSERT_NO_FATAL_FAILURE(Start({}));
    ASSERT_TRUE(ReachInterfaceMode()) << sim->Transcript();
    auto dump = DumpEditorOutput();
    ASSERT_TRUE(dump);
    IControl* audition = ControlAt(720.f, 23.f); // the AUDITION toggle in the header bar
    ASSERT_NE(audition, nullptr);
    ClickOn(*audition);
    ASSERT_TRUE(WaitUntil([&] { return audition->GetValue() > 0.5; }));

    // Each try moves pedal 1 somewhere new; the factory settings send controller 11 on channel 1.
    bool shown = false;
    bool passedOn = false;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !(shown && passedOn); ++attempt)
    {
        const int position = 40 + attempt;
        const std::size_t before = dump->Messages().size();
        ASSERT_TRUE(sim->Process().WriteInput("pedal 1 " + std::to_string(position) + "\n"));
        shown = WaitUntil([&] { return Text(kCtrlTagJack1PedalValue) == std::to_string(position); },
                          kAttemptSlices);
        const Bytes expected{0xB0, 0x0B, static_cast<std::uint8_t>(position)};
        WaitUntil([&] { return dump->Messages().size() > before; }, kAttemptSlices);
        const std::vector<Bytes> dumped = dump->Messages();
        passedOn = std::count(dumped.begin(), dumped.end(), expected) > 0;
    }
    EXPECT_TRUE(shown) << Text(kCtrlTagJack1PedalValue) << sim->Transcript();
    EXPECT_TRUE(passedOn) << "the pedal's control change never came out of the editor";
}

TEST_F(EditorScreen, AStandaloneBoxShowsItsStateAndTheNotice)
{
    ASSERT_NO_FATAL_FAILURE(Start({"--standalone"}));
    ASSERT_TRUE(WaitUntil([&] { return editor->DeviceModeKnown(); })) << sim->Transcript();
    EXPECT_EQ(Text(kCtrlTagDeviceText3), kStandaloneModeText);
    IControl* notice = Graphics().GetControlWithTag(kCtrlTagStandaloneNotice);
    ASSERT_NE(notice, nullptr);
    EXPECT_FALSE(notice->IsHidden());
}
