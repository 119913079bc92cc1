// The stomplet program against stomplet-sim on the private JACK server: every command, its exit
// statuses and its files, command families sharing one simulator, checked against what the
// simulator reports it received and holds.

#include "ChildProcess.h"
#include "ScratchFolder.h"
#include "SimulatorProcess.h"
#include "device/PresetFile.h"
#include "device/SysExMessages.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace stompletprogram
{
using namespace std::chrono_literals;
using e2e::ProgramResult;
using e2e::SimulatorProcess;
using Bytes = std::vector<std::uint8_t>;

constexpr auto kLimit = 40000ms;

// Runs stomplet on JACK with `arguments`; a generous timeout keeps a loaded machine from failing
// the tests that expect an answer.
ProgramResult RunStomplet(std::vector<std::string> arguments, bool withTimeout = true)
{
    std::vector<std::string> argv{STOMPLET_CLI_PROGRAM, "--midi-api", "jack"};
    if (withTimeout)
        argv.insert(argv.end(), {"--timeout", "5000"});
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    std::optional<ProgramResult> result = e2e::RunProgram(argv, kLimit);
    EXPECT_TRUE(result) << "stomplet did not end";
    return result.value_or(ProgramResult{});
}

std::string Text(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

Bytes FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The settings the simulator sent in its latest Status Reply.
std::optional<Bytes> LatestReplyValues(const SimulatorProcess& sim)
{
    std::optional<Bytes> values;
    for (const e2e::TrafficLine& line : sim.Traffic())
        if (line.sent)
            if (const auto reply = RecogniseStatusReply(line.bytes))
                values = Bytes(reply->values.begin(), reply->values.end());
    return values;
}

class StompletProgram : public ::testing::Test
{
protected:
    void StartBox(const std::vector<std::string>& arguments, bool pipeStandardInput = false)
    {
        std::string error;
        sim = SimulatorProcess::Start(arguments, pipeStandardInput, error);
        ASSERT_TRUE(sim) << error;
    }

    std::unique_ptr<SimulatorProcess> sim;
    const std::filesystem::path folder = e2e::ScratchFolder();
};
} // namespace stompletprogram

using e2e::ProgramResult;
using e2e::SimulatorProcess;
using namespace std::chrono_literals;
using stompletprogram::Bytes;
using stompletprogram::kLimit;
using stompletprogram::RunStomplet;
using stompletprogram::StompletProgram;
using stompletprogram::Text;

TEST_F(StompletProgram, StatusDumpSetCalibrateResetSaveExportAndLoadAgainstOneBox)
{
    ASSERT_NO_FATAL_FAILURE(StartBox({"--no-stdin"}));
    const ProgramResult status = RunStomplet({"status"});
    EXPECT_EQ(status.exitStatus, 0) << Text(status.err);
    EXPECT_EQ(status.out, (std::vector<std::string>{"DEVICE: Korvo-Audio ctrlWave Stomplet",
                                                    "STATE: Interface Mode", "VERSION: 1.2"}));
    const ProgramResult lines = RunStomplet({"dump"});
    ASSERT_EQ(lines.exitStatus, 0) << Text(lines.err);
    ASSERT_EQ(lines.out.size(), 38u);
    EXPECT_EQ(lines.out[23], "23  PEDAL1 Controller            11");
    const ProgramResult json = RunStomplet({"dump", "--json"});
    ASSERT_EQ(json.exitStatus, 0);
    EXPECT_EQ(json.out.front(), "{\"version\": \"1.2\", \"settings\": [");

    const ProgramResult set = RunStomplet({"set", "SWITCHA1 Midi Channel", "10"});
    EXPECT_EQ(set.exitStatus, 0) << Text(set.err);
    EXPECT_EQ(set.out, std::vector<std::string>{"SWITCHA1 Midi Channel = 10"});
    // F0, maker 00 3F 5A, model 04, write value 02, address 1C (SWITCHA1 channel), value 09, F7.
    const Bytes single{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x1C, 0x09, 0xF7};
    EXPECT_TRUE(sim->WaitForTraffic([&](const auto& traffic)
                                    { return e2e::CountTraffic(traffic, false, single) == 1; },
                                    5000ms));
    const ProgramResult calibrate = RunStomplet({"calibrate", "pedal2", "high"});
    EXPECT_EQ(calibrate.exitStatus, 0) << Text(calibrate.err);
    // The simulator's pedal rests at the heel, so the high end becomes 0.
    EXPECT_EQ(calibrate.out, std::vector<std::string>{"PEDAL2 Calibration High End: 0.0%"});
    const ProgramResult reset = RunStomplet({"reset"});
    EXPECT_EQ(reset.exitStatus, 0) << Text(reset.err);
    ASSERT_EQ(reset.out.size(), 38u);
    EXPECT_EQ(reset.out[28], "28  SWITCHA1 Midi Channel        1");
    EXPECT_EQ(reset.out[10], "10  PEDAL2 Calibration High End  127 (100.0%)");

    // save, export and load round-trip what the box holds.
    ASSERT_EQ(RunStomplet({"set", "JACK 1 Mode", "Switches"}).exitStatus, 0);
    const std::string preset = (folder / "rig.csx").string();
    const ProgramResult save = RunStomplet({"save", preset});
    ASSERT_EQ(save.exitStatus, 0) << Text(save.err);
    const std::optional<Bytes> saved = stompletprogram::LatestReplyValues(*sim);
    ASSERT_TRUE(saved);
    const PresetReadResult read = ReadPresetFile(preset);
    ASSERT_TRUE(std::holds_alternative<PresetFileContent>(read));
    EXPECT_EQ(Bytes(std::get<PresetFileContent>(read).values.begin(),
                    std::get<PresetFileContent>(read).values.end()),
              *saved);
    // "-" is standard output.
    const ProgramResult printed = RunStomplet({"save", "-"});
    EXPECT_EQ(printed.exitStatus, 0) << Text(printed.err);
    ASSERT_EQ(printed.out.size(), 46u);
    EXPECT_EQ(printed.out.front(), "F0\r");
    EXPECT_EQ(printed.out.back(), "F7\r");
    // Mended: an upper-case extension was read as a preset's text and refused.
    const std::string syx = (folder / "RIG.SYX").string();
    ASSERT_EQ(RunStomplet({"export", syx}).exitStatus, 0);
    PresetValues values{};
    std::copy(saved->begin(), saved->end(), values.begin());
    const AllSettingsMessage expected = BuildAllSettings(values).value();
    EXPECT_EQ(stompletprogram::FileBytes(syx), Bytes(expected.bytes.begin(), expected.bytes.end()));
    for (const std::string& file : {preset, syx})
    {
        ASSERT_EQ(RunStomplet({"reset"}).exitStatus, 0);
        const ProgramResult load = RunStomplet({"load", file});
        EXPECT_EQ(load.exitStatus, 0) << Text(load.err);
        EXPECT_EQ(stompletprogram::LatestReplyValues(*sim), saved) << file;
    }

    // The box ran on without standard input; a signal ends it with status 0.
    sim->Process().Signal(SIGTERM);
    EXPECT_EQ(sim->Process().WaitForExit(kLimit), 0);
}

TEST_F(StompletProgram, MonitorFirmwareAndTheStatusesOfNoAnswerAndNoPort)
{
    const std::filesystem::path received = folder / "received.bin";
    ASSERT_NO_FATAL_FAILURE(StartBox({"--firmware-out", received.string()}, true));
    std::string error;
    std::unique_ptr<e2e::ChildProcess> monitor = e2e::ChildProcess::Start(
        {{STOMPLET_CLI_PROGRAM, "--midi-api", "jack", "monitor", "--hex"}, false, {}}, error);
    ASSERT_TRUE(monitor) << error;
    bool seen = false;
    for (int attempt = 0; attempt < 10 && !seen; ++attempt)
    {
        sim->Process().WriteInput("pedal 1 " + std::to_string(64 + attempt) + "\n");
        const std::string line = "Control Change ch 1  #11 = " + std::to_string(64 + attempt);
        seen = e2e::PollUntil(
            [&] { return Text(monitor->Lines().out).find(line) != std::string::npos; }, 1000ms);
    }
    EXPECT_TRUE(seen) << Text(monitor->Lines().out);
    monitor->Signal(SIGTERM);
    EXPECT_EQ(monitor->WaitForExit(5000ms), 0);

    const std::filesystem::path image = folder / "fw.bin";
    {
        std::ofstream out(image, std::ios::binary);
        for (int i = 0; i < 1500; ++i)
            out.put(static_cast<char>(i * 7));
    }
    const ProgramResult firmware = RunStomplet({"firmware", image.string()});
    EXPECT_EQ(firmware.exitStatus, 0) << Text(firmware.err);
    EXPECT_EQ(firmware.out.front(), "firmware: 3 %");
    EXPECT_EQ(firmware.out.back(), "firmware: " + image.string() + " sent, 32 blocks");
    ASSERT_TRUE(e2e::PollUntil([&] { return !sim->Process().Lines().err.empty(); }, 5000ms));
    EXPECT_EQ(sim->Process().Lines().err[0],
              "stomplet-sim: firmware transfer complete: 2 pages, 2048 bytes, 0 blocks with a bad "
              "checksum; image written to " +
                  received.string());
    const Bytes got = stompletprogram::FileBytes(received);
    const Bytes sent = stompletprogram::FileBytes(image);
    ASSERT_EQ(got.size(), 2048u); // two pages, the rest FF
    EXPECT_TRUE(std::equal(sent.begin(), sent.end(), got.begin()));

    const ProgramResult other = RunStomplet({"--port", "No Such Device", "status"});
    EXPECT_EQ(other.exitStatus, 3);
    EXPECT_EQ(other.err, std::vector<std::string>{
                             "stomplet: no MIDI output port begins with \"No Such Device\" (see "
                             "stomplet ports)"});
    const ProgramResult ports = RunStomplet({"ports"});
    EXPECT_EQ(ports.exitStatus, 0);
    EXPECT_NE(Text(ports.out).find("* Korvo-Audio ctrlWave Stomplet"), std::string::npos);
    // The box answers nothing while a firmware transfer is open: start a long one.
    const std::filesystem::path longImage = folder / "long.bin";
    std::ofstream(longImage, std::ios::binary) << std::string(16000, 'x');
    std::unique_ptr<e2e::ChildProcess> transfer = e2e::ChildProcess::Start(
        {{STOMPLET_CLI_PROGRAM, "--midi-api", "jack", "firmware", longImage.string()}, false, {}},
        error);
    ASSERT_TRUE(transfer) << error;
    ASSERT_TRUE(e2e::PollUntil([&] { return transfer->Lines().out.size() >= 2; }, 10000ms));
    const ProgramResult silent = RunStomplet({"--timeout", "300", "dump"}, false);
    EXPECT_EQ(silent.exitStatus, 1) << Text(silent.err);
    ASSERT_EQ(silent.err.size(), 1u);
    EXPECT_NE(silent.err[0].find("no answer from the box"), std::string::npos);
}

TEST_F(StompletProgram, StandaloneStatusAndBadArgumentsOrFilesWithStatusTwo)
{
    ASSERT_NO_FATAL_FAILURE(StartBox({"--no-stdin", "--standalone", "--version-byte", "105"}));
    const ProgramResult standalone = RunStomplet({"status"});
    EXPECT_EQ(standalone.exitStatus, 0) << Text(standalone.err);
    EXPECT_EQ(Text(standalone.out), "DEVICE: Korvo-Audio ctrlWave Stomplet\n"
                                    "STATE: Standalone Mode\nVERSION: 10.5\n");

    const std::filesystem::path bad = folder / "bad.csx";
    std::ofstream(bad, std::ios::binary) << "F0\r\n00\r\n3F\r\n5A\r\n04\r\n02\r\n";
    const std::filesystem::path empty = folder / "empty.bin";
    std::ofstream(empty, std::ios::binary).flush();
    // Mended: a FIFO with no writer blocked load and firmware until the test's time ran out.
    const std::filesystem::path fifo = folder / "fifo.csx";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    const std::vector<std::pair<std::vector<std::string>, std::string>> cases{
        {{"load", bad.string()},
         "stomplet: " + bad.string() + ": line 6: 02 where a preset has 03"},
        {{"load", (folder / "missing.csx").string()},
         "stomplet: " + (folder / "missing.csx").string() + ": no such file"},
        {{"load", fifo.string()}, "stomplet: " + fifo.string() + ": is not a regular file"},
        {{"firmware", fifo.string()}, "stomplet: " + fifo.string() + ": is not a regular file"},
        {{"firmware", empty.string()},
         "stomplet: " + empty.string() + ": is empty: nothing to send"},
        {{"set", "Volume", "3"},
         "stomplet: no setting is called \"Volume\"; the nearest are \"JACK2 Mode\", "
         "\"JACK 1 Mode\" or \"PEDAL2 Mode\" (or give an index 0 to 37; see stomplet dump)"},
    };
    for (const auto& [arguments, line] : cases)
    {
        const ProgramResult result = RunStomplet(arguments);
        EXPECT_EQ(result.exitStatus, 2) << arguments[0];
        EXPECT_EQ(result.err, std::vector<std::string>{line});
    }
    sim->Process().Signal(SIGINT);
    EXPECT_EQ(sim->Process().WaitForExit(kLimit), 0);
}

TEST_F(StompletProgram, EveryCommandsHelpRunsAndDescribesThatCommand)
{
    const ProgramResult general = RunStomplet({"--help"}, false);
    EXPECT_EQ(general.exitStatus, 0);
    for (const char* command : {"ports", "detect", "status", "dump", "save", "load", "diff", "set",
                                "reset", "calibrate", "firmware", "monitor", "export"})
    {
        EXPECT_NE(Text(general.out).find(std::string("  ") + command), std::string::npos);
        const ProgramResult help = RunStomplet({command, "--help"}, false);
        EXPECT_EQ(help.exitStatus, 0) << command;
        ASSERT_FALSE(help.out.empty());
        EXPECT_TRUE(help.out[0].starts_with(std::string("Usage: stomplet ") + command)) << command;
        EXPECT_NE(Text(help.out).find("Exit status: 0 success"), std::string::npos);
    }
}
