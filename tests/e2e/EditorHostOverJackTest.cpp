// The editor's host in this process (AppHost on RtMidi JACK ports) against stomplet-sim, with
// jack_midi_dump and jack_lsp as independent observers. The test thread is the main thread: it
// drives the application tick itself.

#include "ChildProcess.h"
#include "EditorOverJack.h"
#include "JackObserver.h"
#include "MidiDumpProcess.h"
#include "RecordingApp.h"
#include "RetryingSend.h"
#include "ScratchFolder.h"
#include "SimulatorProcess.h"
#include "app/AppHost.h"
#include "app/RtMidiPorts.h"
#include "device/SysExMessages.h"
#include "sim/VirtualStomplet.h"

#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using e2e::RecordingApp;
using e2e::SimulatorProcess;
constexpr auto kLimit = 20000ms;

// A host started on the simulator's ports, and the application object it owns.
struct RunningHost
{
    std::unique_ptr<RtMidiPortFactory> ports;
    RecordingApp* app = nullptr; // owned by the host
    std::vector<std::string> diagnostics;
    std::unique_ptr<AppHost> host;
};

std::unique_ptr<RunningHost> StartHost(const std::filesystem::path& folder,
                                       const SimulatorProcess& sim)
{
    e2e::WriteEditorSettings(folder, sim);
    auto running = std::make_unique<RunningHost>();
    running->ports = std::make_unique<RtMidiPortFactory>(MidiSystem::kJack);
    auto app = std::make_unique<RecordingApp>();
    running->app = app.get();
    running->host = std::make_unique<AppHost>(std::move(app), *running->ports, folder,
                                              [r = running.get()](std::string_view line)
                                              { r->diagnostics.emplace_back(line); });
    running->host->Start();
    return running;
}

std::size_t ViewSysExCount(const RecordingApp& app)
{
    std::size_t count = 0;
    for (const RecordingApp::SysExEvent& event : app.SysExEvents())
        count += event.hook == RecordingApp::Hook::kOnSysExForView ? 1 : 0;
    return count;
}
} // namespace

TEST(EditorHostOverJack, SysExSentByTheAppIsDumpedByteForByteAndTheBoxReplyReachesTheView)
{
    std::string error;
    auto sim = SimulatorProcess::Start({"--no-stdin", "--version-byte", "14"}, false, error);
    ASSERT_TRUE(sim) << error;
    auto running = StartHost(e2e::ScratchFolder(), *sim);
    AppHost& host = *running->host;
    ASSERT_EQ(host.Router().OpenPortName(MidiRoute::kOutput), sim->InputPort());
    ASSERT_EQ(host.Router().OpenPortName(MidiRoute::kInput), sim->OutputPort());
    EXPECT_EQ(running->app->OutputPortAnnouncements(), std::vector<std::string>{sim->InputPort()});

    // jack_midi_dump listens to the host's output port too: the one wired to the box's input.
    auto dump = e2e::MidiDumpProcess::Start("e2e-editor-dump", error);
    ASSERT_TRUE(dump) << error;
    e2e::JackObserver& observer = *e2e::JackObserver::Get();
    const std::vector<std::string> toBox = observer.Connections()[sim->InputPort()];
    ASSERT_EQ(toBox.size(), 1u);
    ASSERT_TRUE(observer.Connect(toBox[0], dump->InputPort()));

    // The request goes again only when the server lost it or the box's answer (see
    // RetryingSend.h); the application ticks all the while, as its 20 ms timer would.
    const CommandMessage request = BuildStatusRequest();
    bool replied = false;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !replied; ++attempt)
    {
        ASSERT_TRUE(host.App().SendSysExMessage(request.Message()));
        replied = e2e::PollUntil(
            [&]
            {
                host.App().OnTimerTick();
                return ViewSysExCount(*running->app) >= 1;
            },
            e2e::kAttemptLimit);
    }
    ASSERT_TRUE(replied);

    // jack_midi_dump printed the request byte for byte, as often as it got it.
    ASSERT_TRUE(dump->WaitForMessages(1, kLimit));
    // F0, maker 00 3F 5A, model 04, write value 02, address 71 (status request), value 00, F7.
    const Bytes requestBytes{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x71, 0x00, 0xF7};
    for (const Bytes& dumped : dump->Messages())
        EXPECT_EQ(dumped, requestBytes);

    // The reply went through the pump (HandleSysEx) to the next tick (OnSysExForView).
    const std::vector<RecordingApp::SysExEvent> events = running->app->SysExEvents();
    ASSERT_GE(events.size(), 2u);
    EXPECT_EQ(events[0].hook, RecordingApp::Hook::kHandleSysEx);
    EXPECT_EQ(events[1].hook, RecordingApp::Hook::kOnSysExForView);
    EXPECT_EQ(events[1].bytes, events[0].bytes);
    const std::optional<StatusReply> reply = RecogniseStatusReply(events[1].bytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->version, 14);
    EXPECT_EQ(reply->values, VirtualStomplet::FactorySettings());

    // The box saw the request before it answered, and its answer is what the app got.
    const std::vector<e2e::TrafficLine> traffic = sim->Traffic();
    ASSERT_GE(traffic.size(), 2u);
    EXPECT_FALSE(traffic[0].sent);
    EXPECT_EQ(traffic[0].bytes, requestBytes);
    EXPECT_TRUE(traffic[1].sent);
    EXPECT_EQ(traffic[1].bytes, events[0].bytes);
}

TEST(EditorHostOverJack, AKilledSimulatorTurnsBothPortsOffWithinAFewProbesAndTheHostCarriesOn)
{
    std::string error;
    auto sim = SimulatorProcess::Start({"--no-stdin"}, false, error);
    ASSERT_TRUE(sim) << error;
    const std::filesystem::path folder = e2e::ScratchFolder();
    auto running = StartHost(folder, *sim);
    AppHost& host = *running->host;
    ASSERT_EQ(host.Router().OpenPortName(MidiRoute::kOutput), sim->InputPort());
    const std::string simInput = sim->InputPort();
    const std::string simOutput = sim->OutputPort();

    sim->Process().Signal(SIGKILL);
    ASSERT_TRUE(sim->Process().WaitForExit(kLimit));
    ASSERT_TRUE(e2e::PollUntil(
        [&]
        {
            const e2e::JackConnections c = e2e::JackObserver::Get()->Connections();
            return !c.contains(simInput) && !c.contains(simOutput);
        },
        kLimit));

    // Once the server has dropped the box's ports, the 20 ms probe needs only a tick or two.
    int probes = 0;
    ASSERT_TRUE(e2e::PollUntil(
        [&]
        {
            ++probes;
            host.App().OnTimerTick();
            return running->app->OutputPortAnnouncements().size() >= 2;
        },
        kLimit));
    EXPECT_LE(probes, 3);
    for (int i = 0; i < 5; ++i)
        host.App().OnTimerTick();
    EXPECT_EQ(running->app->OutputPortAnnouncements(), (std::vector<std::string>{simInput, "off"}));
    EXPECT_EQ(host.Settings().midiOutputPort, "off");
    EXPECT_EQ(host.Settings().midiInputPort, "off");
    EXPECT_FALSE(host.Router().OpenPortName(MidiRoute::kOutput));
    EXPECT_FALSE(host.Router().OpenPortName(MidiRoute::kInput));

    // The file keeps the names until its next write, and sending goes nowhere without failing.
    const e2e::StoredPorts stored = e2e::ReadStoredPorts(folder);
    EXPECT_EQ(stored.input, simOutput);
    EXPECT_EQ(stored.output, simInput);
    const CommandMessage request = BuildStatusRequest();
    EXPECT_TRUE(host.App().SendSysExMessage(request.Message()));
}
