// The editor itself (ctrlWaveStomplet in AppHost, on RtMidi JACK ports) against stomplet-sim: a
// firmware image and a preset go out through the editor's own flows, and the simulator's traffic
// and its written-back image show what reached the box. The test thread is the main thread; the
// editor's timers run on the steady clock, fired by the test's loop.

#include "EditorOverJack.h"
#include "ScratchFolder.h"
#include "SimulatorProcess.h"
#include "app/AppHost.h"
#include "app/RtMidiPorts.h"
#include "core/Timer.h"
#include "device/SysExMessages.h"
#include "editor/PresetFile.h"
#include "editor/ctrlWaveStomplet.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <thread>
#include <vector>

namespace editor_flows_over_jack
{
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;

// Timers on the steady clock, fired when the loop calls FireDue: like a desktop event loop, a
// timer that fell behind fires once and then keeps its rhythm from its schedule, so ticks can come
// closer together than their period after a late one.
class SteadyTimerBackend final : public TimerBackend
{
public:
    SteadyTimerBackend() : mPrevious(GetTimerBackend()) { SetTimerBackend(this); }
    ~SteadyTimerBackend() override { SetTimerBackend(mPrevious); }
    SteadyTimerBackend(const SteadyTimerBackend&) = delete;
    SteadyTimerBackend& operator=(const SteadyTimerBackend&) = delete;

    Id StartTimer(std::uint32_t periodMs) override
    {
        const Id id = mNextId++;
        mTimers[id] = {periodMs, NowMs() + periodMs};
        return id;
    }
    void StopTimer(Id id) override { mTimers.erase(id); }

    void FireDue()
    {
        const std::int64_t now = NowMs();
        std::vector<Id> due;
        for (const auto& [id, entry] : mTimers)
            if (entry.dueMs <= now)
                due.push_back(id);
        for (Id id : due)
        {
            const auto found = mTimers.find(id);
            if (found == mTimers.end())
                continue;
            found->second.dueMs += found->second.periodMs;
            if (found->second.dueMs <= now)
                found->second.dueMs = now + found->second.periodMs;
            Timer_impl::TimerProc(id);
        }
    }

private:
    struct Entry
    {
        std::int64_t periodMs;
        std::int64_t dueMs;
    };
    TimerBackend* mPrevious;
    std::map<Id, Entry> mTimers;
    Id mNextId = 1;
};

// The editor in its host, its ports wired to the simulator's.
struct EditorHost
{
    EditorHost(const std::filesystem::path& folder, const e2e::SimulatorProcess& sim)
        : ports(MidiSystem::kJack)
    {
        e2e::WriteEditorSettings(folder, sim);
        auto app = std::make_unique<ctrlWaveStomplet>();
        editor = app.get();
        host = std::make_unique<AppHost>(std::move(app), ports, folder, [](std::string_view) {});
        host->Start();
    }

    RtMidiPortFactory ports;
    ctrlWaveStomplet* editor = nullptr; // owned by the host
    std::unique_ptr<AppHost> host;
};

void WriteFile(const std::filesystem::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<e2e::TrafficLine> Received(const std::vector<e2e::TrafficLine>& traffic,
                                       std::uint8_t model, std::uint8_t command)
{
    std::vector<e2e::TrafficLine> found;
    for (const e2e::TrafficLine& line : traffic)
        if (!line.sent && line.bytes.size() > 5 && line.bytes[4] == model &&
            line.bytes[5] == command)
            found.push_back(line);
    return found;
}
} // namespace editor_flows_over_jack

using namespace editor_flows_over_jack;

TEST(EditorFlowsOverJack, FirmwareImageArrivesWholeAfter256BlocksPacedAtLeast100MsApart)
{
    const std::filesystem::path folder = e2e::ScratchFolder();
    const std::filesystem::path written = folder / "received.bin";
    std::string error;
    auto sim = e2e::SimulatorProcess::Start({"--no-stdin", "--firmware-out", written.string()},
                                            false, error);
    ASSERT_TRUE(sim) << error;
    SteadyTimerBackend timers;
    EditorHost running(folder, *sim);

    std::mt19937 random(16383);
    std::string image(16383, '\0');
    for (char& b : image)
        b = static_cast<char>(random());
    WriteFile(folder / "image.bin", image);
    running.editor->LoadFirmware((folder / "image.bin").string());
    ASSERT_TRUE(running.editor->FirmwareTransferRunning());

    const auto limit = std::chrono::steady_clock::now() + 45s;
    while (running.editor->FirmwareTransferRunning() && std::chrono::steady_clock::now() < limit)
    {
        std::this_thread::sleep_for(5ms);
        timers.FireDue();
    }
    ASSERT_FALSE(running.editor->FirmwareTransferRunning());

    const auto allBlocks = [](const std::vector<e2e::TrafficLine>& traffic)
    { return Received(traffic, kModelFirmware, kCommandFirmwareBlock).size() >= 256; };
    ASSERT_TRUE(sim->WaitForTraffic(allBlocks, 5000ms)) << sim->Transcript();
    const std::vector<e2e::TrafficLine> blocks =
        Received(sim->Traffic(), kModelFirmware, kCommandFirmwareBlock);
    EXPECT_EQ(blocks.size(), 256u);
    // The server hands MIDI over once per period (4096 frames at 48 kHz, 85.3 ms), so arrival
    // times are whole periods apart: blocks sent 100 ms apart arrive one or two periods apart.
    // Two blocks in one period, or the run shorter than 255 spacings, would show a block sent
    // early.
    for (std::size_t b = 1; b < blocks.size(); ++b)
        EXPECT_GE(blocks[b].milliseconds - blocks[b - 1].milliseconds, 75.0) << "block " << b;
    ASSERT_FALSE(blocks.empty());
    EXPECT_GE(blocks.back().milliseconds - blocks.front().milliseconds, 255 * 100.0 - 2 * 85.4);

    std::string back;
    for (auto wait = 0ms; wait < 5000ms && back.size() < 16384; wait += 50ms)
    {
        std::this_thread::sleep_for(50ms);
        back = ReadFile(written);
    }
    ASSERT_EQ(back.size(), 16384u) << sim->Transcript(); // 16 whole pages
    EXPECT_EQ(back.substr(0, 16383), image);
    EXPECT_EQ(static_cast<unsigned char>(back.back()), 0xFF);
}

TEST(EditorFlowsOverJack, LoadedPresetArrivesAsOneAllSettingsMessageAndTheBoxTakesItsSettings)
{
    const std::filesystem::path folder = e2e::ScratchFolder();
    std::string error;
    auto sim = e2e::SimulatorProcess::Start({"--no-stdin"}, false, error);
    ASSERT_TRUE(sim) << error;
    SteadyTimerBackend timers;
    EditorHost running(folder, *sim);

    PresetValues values{};
    values[kJack1Mode] = 1;
    values[kPedal1Controller] = 74;
    values[kSwitchA2Controller] = 127;
    WriteFile(folder / "set.csx", FormatPresetFile(values));
    running.editor->LoadPreset((folder / "set.csx").string());
    // The box reports what it now holds.
    running.editor->SendSysExMessage(BuildStatusRequest().Message());

    const auto replied = [](const std::vector<e2e::TrafficLine>& traffic)
    {
        for (const e2e::TrafficLine& line : traffic)
            if (line.sent && RecogniseStatusReply(line.bytes))
                return true;
        return false;
    };
    ASSERT_TRUE(sim->WaitForTraffic(replied, 5000ms)) << sim->Transcript();
    const std::vector<e2e::TrafficLine> traffic = sim->Traffic();
    const std::vector<e2e::TrafficLine> settings =
        Received(traffic, kModelConfiguration, kCommandAllSettings);
    ASSERT_EQ(settings.size(), 1u) << sim->Transcript();
    const AllSettingsMessage expected = *BuildAllSettings(values);
    EXPECT_EQ(settings[0].bytes, Bytes(expected.bytes.begin(), expected.bytes.end()));
    for (const e2e::TrafficLine& line : traffic)
    {
        const std::optional<StatusReply> reply = RecogniseStatusReply(line.bytes);
        if (line.sent && reply)
        {
            EXPECT_EQ(reply->values, values);
        }
    }
}
