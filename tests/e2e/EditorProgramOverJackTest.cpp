// The editor program on the private JACK server, offscreen, with stomplet-sim as the box and
// jack_lsp as the observer of its connections.

#include "ChildProcess.h"
#include "EditorOverJack.h"
#include "JackObserver.h"
#include "JackTools.h"
#include "ScratchFolder.h"
#include "SimulatorProcess.h"
#include "device/SysExMessages.h"

#include <chrono>
#include <csignal>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace
{
using namespace std::chrono_literals;
using e2e::SimulatorProcess;
constexpr auto kLimit = 20000ms;

std::unique_ptr<e2e::ChildProcess> StartEditor(const std::filesystem::path& settingsFolder)
{
    e2e::ChildProcess::Options options;
    options.argv = {STOMPLET_EDITOR_PROGRAM, "--settings-dir", settingsFolder.string(),
                    "--midi-api", "jack"};
    std::string error;
    std::unique_ptr<e2e::ChildProcess> editor = e2e::ChildProcess::Start(options, error);
    EXPECT_TRUE(editor) << error;
    return editor;
}

// Both directions of the editor's connection to the box.
bool EditorWiredTo(const e2e::JackConnections& c, const SimulatorProcess& sim)
{
    return e2e::Connected(c, sim.InputPort(), e2e::kEditorOutputPort) &&
           e2e::Connected(c, e2e::kEditorOutputPort, sim.InputPort()) &&
           e2e::Connected(c, sim.OutputPort(), e2e::kEditorInputPort) &&
           e2e::Connected(c, e2e::kEditorInputPort, sim.OutputPort());
}

bool EditorWiredTo(const SimulatorProcess& sim)
{
    return EditorWiredTo(e2e::JackObserver::Get()->Connections(), sim);
}

// Neither the editor's ports nor the box's are on the server.
bool EditorPortsGone(const e2e::JackConnections& c, const std::string& simInput)
{
    return !c.contains(std::string(e2e::kEditorInputPort)) &&
           !c.contains(std::string(e2e::kEditorOutputPort)) && !c.contains(simInput);
}

// The editor's standard error and the server's connections, for a failure message.
std::string Diagnostics(e2e::ChildProcess& process)
{
    std::string text = "\neditor's standard error:";
    for (const std::string& line : process.Lines().err)
        text += "\n  " + line;
    text += "\nports and connections:";
    for (const auto& [port, connections] : e2e::JackObserver::Get()->Connections())
    {
        text += "\n  " + port;
        for (const std::string& other : connections)
            text += "\n    " + other;
    }
    return text;
}
} // namespace

TEST(EditorProgramOverJack, ConnectsToTheSimulatorPortsNamedInItsSettingsAndAsksTheBoxForItsStatus)
{
    std::string error;
    auto sim = SimulatorProcess::Start({"--no-stdin"}, false, error);
    ASSERT_TRUE(sim) << error;
    const std::filesystem::path folder = e2e::ScratchFolder();
    e2e::WriteEditorSettings(folder, *sim);

    auto editor = StartEditor(folder);
    ASSERT_TRUE(editor);
    EXPECT_TRUE(e2e::PollUntil([&] { return EditorWiredTo(*sim) || !editor->Running(); }, kLimit))
        << Diagnostics(*editor);
    ASSERT_TRUE(editor->Running()) << "the editor ended" << Diagnostics(*editor);
    // JACK's own tool confirms it.
    const std::optional<e2e::JackConnections> listed = e2e::ListJackConnections();
    ASSERT_TRUE(listed);
    EXPECT_TRUE(EditorWiredTo(*listed, *sim));

    // The editor's start-up Status Request reached the box, which answered it.
    const CommandMessage request = BuildStatusRequest();
    const std::vector<std::uint8_t> requestBytes(request.bytes.begin(), request.bytes.end());
    EXPECT_TRUE(sim->WaitForTraffic(
        [&](const std::vector<e2e::TrafficLine>& traffic)
        {
            return traffic.size() >= 2 && !traffic[0].sent && traffic[0].bytes == requestBytes &&
                   traffic[1].sent && RecogniseStatusReply(traffic[1].bytes).has_value();
        },
        kLimit))
        << sim->Transcript();

    // Start-up completed the file and kept the port names it was given.
    const e2e::StoredPorts stored = e2e::ReadStoredPorts(folder);
    EXPECT_EQ(stored.input, sim->OutputPort());
    EXPECT_EQ(stored.output, sim->InputPort());
}

TEST(EditorProgramOverJack, KeepsRunningAndClosesItsPortsWhenTheSimulatorIsKilled)
{
    std::string error;
    auto sim = SimulatorProcess::Start({"--no-stdin"}, false, error);
    ASSERT_TRUE(sim) << error;
    const std::filesystem::path folder = e2e::ScratchFolder();
    e2e::WriteEditorSettings(folder, *sim);
    auto editor = StartEditor(folder);
    ASSERT_TRUE(editor);
    ASSERT_TRUE(e2e::PollUntil([&] { return EditorWiredTo(*sim); }, kLimit))
        << Diagnostics(*editor);
    const std::string simInput = sim->InputPort();
    const std::string simOutput = sim->OutputPort();

    sim->Process().Signal(SIGKILL);
    ASSERT_TRUE(sim->Process().WaitForExit(kLimit));

    // The editor's probe notices within a few ticks and closes both of its ports, which takes
    // them off the server.
    const bool closed = e2e::PollUntil(
        [&] { return EditorPortsGone(e2e::JackObserver::Get()->Connections(), simInput); }, kLimit);
    EXPECT_TRUE(closed) << Diagnostics(*editor);
    const std::optional<e2e::JackConnections> listed = e2e::ListJackConnections();
    ASSERT_TRUE(listed);
    EXPECT_TRUE(EditorPortsGone(*listed, simInput));
    EXPECT_TRUE(editor->Running()) << Diagnostics(*editor);

    // Losing a port does not rewrite the file: it keeps the names until its next write.
    const e2e::StoredPorts stored = e2e::ReadStoredPorts(folder);
    EXPECT_EQ(stored.input, simOutput);
    EXPECT_EQ(stored.output, simInput);
}
