#pragma once

// The editor program's parts as main() puts them together (host, editor, view), on RtMidi JACK
// ports wired to stomplet-sim, for the end-to-end tests that watch the screen. The test thread is
// Qt's main thread; every wait runs the event loop, so the editor's timers keep ticking. The
// dummy server may drop MIDI (see SimulatorProcess.h), so a step whose repetition changes nothing
// is repeated until it shows.

#include "EditorOverJack.h"
#include "JackObserver.h"
#include "MidiDumpProcess.h"
#include "ScratchFolder.h"
#include "SimulatorProcess.h"
#include "app/AppHost.h"
#include "app/PreferencesDialog.h"
#include "app/QtTimerBackend.h"
#include "app/ViewWidget.h"
#include "device/DeviceStatus.h"
#include "device/SysExMessages.h"
#include "editor/ctrlWaveStomplet.h"
#include "midi/RtMidiPorts.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVectorBase.h"
#include "ui/ControlTags.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QMessageBox>
#include <QtTest/QTest>
#include <algorithm>
#include <filesystem>
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
inline bool WaitUntil(const std::function<bool()>& done, int slices = 2000)
{
    for (int slice = 0; slice < slices && !done(); ++slice)
        QTest::qWait(10);
    return done();
}

inline Bytes ToBytes(const CommandMessage& msg)
{
    return Bytes(msg.bytes.begin(), msg.bytes.end());
}

// The editor program's parts as main() puts them together, on the simulator's ports.
class EditorScreen : public ::testing::Test
{
protected:
    // Starts the simulator with `simArguments` (its standard input piped for pedal commands),
    // then the editor, with its view shown when `showView`.
    void Start(const std::vector<std::string>& simArguments, bool showView = true)
    {
        simStartArguments = simArguments;
        std::string error;
        sim = e2e::SimulatorProcess::Start(simArguments, true, error);
        ASSERT_TRUE(sim) << error;
        e2e::WriteEditorSettings(folder, *sim);
        host = std::make_unique<AppHost>(std::make_unique<ctrlWaveStomplet>(), ports, folder,
                                         [](std::string_view) {});
        host->Start();
        editor = static_cast<ctrlWaveStomplet*>(&host->App());
        if (!showView)
            return;
        view = std::make_unique<ViewWidget>(*editor);
        view->show();
    }

    void TearDown() override
    {
        if (editor && view)
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
            if (WaitUntil([&] { return Text(kCtrlTagDeviceText3) == kInterfaceModeText; },
                          kAttemptSlices))
                return true;
            editor->OnMidiOutputPortSelected(sim->InputPort());
            WaitUntil([&] { return editor->DeviceModeKnown(); }, kAttemptSlices);
        }
        return false;
    }

    // A new simulator with the same arguments, after the last one has gone.
    void RestartSimulator()
    {
        std::string error;
        sim = e2e::SimulatorProcess::Start(simStartArguments, true, error);
        ASSERT_TRUE(sim) << error;
    }

    // File > Preferences as a user works it: the simulator's ports are picked in the two lists
    // and OK is pressed.
    void ChooseSimulatorInPreferences()
    {
        // New ports are listed from the port probe's next tick on.
        const auto listed = [&](MidiRoute route, const std::string& name)
        {
            const std::vector<std::string>& list = host->Router().PortNameList(route);
            return std::find(list.begin(), list.end(), name) != list.end();
        };
        WaitUntil(
            [&]
            {
                return listed(MidiRoute::kInput, sim->OutputPort()) &&
                       listed(MidiRoute::kOutput, sim->InputPort());
            });
        // A settings file the editor could not read is kept: no question is answered yes.
        PreferencesDialog dialog(*host, nullptr, false,
                                 {[](const QString&) { return false; }, [](const QString&) {}});
        dialog.open();
        const int input = dialog.InputList()->findText(QString::fromStdString(sim->OutputPort()));
        const int output = dialog.OutputList()->findText(QString::fromStdString(sim->InputPort()));
        ASSERT_GE(input, 0) << "the input list lacks " << sim->OutputPort();
        ASSERT_GE(output, 0) << "the output list lacks " << sim->InputPort();
        dialog.InputList()->setCurrentIndex(input);
        dialog.OutputList()->setCurrentIndex(output);
        dialog.accept();
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

    // Presses `button` in the question box the editor shows; false when none shows.
    bool AnswerQuestion(QMessageBox::StandardButton button)
    {
        QMessageBox* box = nullptr;
        WaitUntil(
            [&]
            {
                for (QWidget* widget : QApplication::topLevelWidgets())
                    if (auto* found = qobject_cast<QMessageBox*>(widget);
                        found && found->isVisible())
                        box = found;
                return box != nullptr;
            },
            kAttemptSlices);
        if (!box || !box->button(button))
            return false;
        box->button(button)->click();
        return true;
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

    // The messages the box received with `model` and `command` (bytes 4 and 5).
    std::vector<Bytes> Received(std::uint8_t model, std::uint8_t command) const
    {
        std::vector<Bytes> found;
        for (const Bytes& bytes : Traffic(false))
            if (bytes.size() > 5 && bytes[4] == model && bytes[5] == command)
                found.push_back(bytes);
        return found;
    }

    const std::filesystem::path folder = e2e::ScratchFolder();
    std::vector<std::string> simStartArguments;
    std::unique_ptr<e2e::SimulatorProcess> sim;
    QtTimerBackend timers;
    RtMidiPortFactory ports{MidiSystem::kJack};
    std::unique_ptr<AppHost> host;
    ctrlWaveStomplet* editor = nullptr; // owned by the host
    std::unique_ptr<ViewWidget> view;
};
} // namespace editorscreen
