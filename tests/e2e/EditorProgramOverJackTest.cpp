// The editor program on the private JACK server, offscreen, with stomplet-sim as the box.

#include "ChildProcess.h"
#include "EditorOverJack.h"
#include "JackObserver.h"
#include "ScratchFolder.h"
#include "SimulatorProcess.h"
#include "device/SysExMessages.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace editorprogram
{
using namespace std::chrono_literals;
constexpr auto kLimit = 20000ms;

bool Connected(const e2e::JackConnections& c, std::string_view a, std::string_view b)
{
    const auto port = c.find(std::string(a));
    return port != c.end() &&
           std::find(port->second.begin(), port->second.end(), b) != port->second.end();
}

// Both directions of the editor's connection to the box.
bool EditorWiredTo(const e2e::SimulatorProcess& sim)
{
    const e2e::JackConnections c = e2e::JackObserver::Get()->Connections();
    return Connected(c, sim.InputPort(), e2e::kEditorOutputPort) &&
           Connected(c, sim.OutputPort(), e2e::kEditorInputPort);
}

// The editor's standard error, for a failure message.
std::string Diagnostics(e2e::ChildProcess& process)
{
    std::string text = "\neditor's standard error:";
    for (const std::string& line : process.Lines().err)
        text += "\n  " + line;
    return text;
}
} // namespace editorprogram

using namespace editorprogram;

TEST(EditorProgramOverJack, ExchangesStatusWithTheBoxAndClosesItsPortsButRunsOnWhenTheBoxDies)
{
    std::string error;
    auto sim = e2e::SimulatorProcess::Start({"--no-stdin"}, false, error);
    ASSERT_TRUE(sim) << error;
    const std::filesystem::path folder = e2e::ScratchFolder();
    e2e::WriteEditorSettings(folder, *sim);
    auto editor = e2e::ChildProcess::Start(
        {{STOMPLET_EDITOR_PROGRAM, "--settings-dir", folder.string(), "--midi-api", "jack"},
         false,
         {}},
        error);
    ASSERT_TRUE(editor) << error;
    ASSERT_TRUE(e2e::PollUntil([&] { return EditorWiredTo(*sim) || !editor->Running(); }, kLimit));
    ASSERT_TRUE(editor->Running()) << "the editor ended" << Diagnostics(*editor);

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

    const std::string simInput = sim->InputPort();
    const std::string simOutput = sim->OutputPort();
    sim->Process().Signal(SIGKILL);
    ASSERT_TRUE(sim->Process().WaitForExit(kLimit));
    // The editor's probe notices and closes both of its ports, which takes them off the server.
    EXPECT_TRUE(e2e::PollUntil(
        [&]
        {
            const e2e::JackConnections c = e2e::JackObserver::Get()->Connections();
            return !c.contains(std::string(e2e::kEditorInputPort)) &&
                   !c.contains(std::string(e2e::kEditorOutputPort)) && !c.contains(simInput);
        },
        kLimit))
        << Diagnostics(*editor);
    EXPECT_TRUE(editor->Running()) << Diagnostics(*editor);

    // Losing a port does not rewrite the file: it keeps the names until its next write.
    const e2e::StoredPorts stored = e2e::ReadStoredPorts(folder);
    EXPECT_EQ(stored.input, simOutput);
    EXPECT_EQ(stored.output, simInput);
}
