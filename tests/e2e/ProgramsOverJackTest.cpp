// The programs as a user runs them on the private JACK server: stomplet-sim as the box, stomplet's
// commands against it, and the editor program reading its settings file. Each row runs a program
// and pins its exit status, a text its output holds and the start of its one error line (none
// when empty).

#include "E2e.h"
#include "device/PresetFile.h"
#include "device/SysExMessages.h"

#include <csignal>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

using namespace e2e;

namespace
{
struct Row
{
    std::vector<std::string> argv;
    int status;
    std::vector<std::string> out; // each a part of the output, lines joined by "\n"
    std::string err = {};
    std::vector<std::pair<std::string, std::string>> environment = {};
};

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}

void RunRows(const std::vector<Row>& rows)
{
    for (const Row& row : rows)
    {
        std::vector<std::string> argv = row.argv;
        if (argv[0] == "stomplet")
        {
            // A generous timeout keeps a loaded machine from failing the rows that expect answers.
            argv[0] = STOMPLET_CLI_PROGRAM;
            argv.insert(argv.begin() + 1, {"--midi-api", "jack"});
            if (std::find(argv.begin(), argv.end(), "--timeout") == argv.end())
                argv.insert(argv.begin() + 1, {"--timeout", "5000"});
        }
        const Result result = Run(argv, row.environment);
        const std::string command = Joined(row.argv);
        EXPECT_EQ(result.status, row.status) << command << Joined(result.err);
        for (const std::string& part : row.out)
            EXPECT_NE(Joined(result.out).find(part), std::string::npos) << command << part;
        if (row.err.empty())
            EXPECT_TRUE(result.err.empty()) << command << Joined(result.err);
        else
            EXPECT_TRUE(result.err.size() == 1 && result.err[0].starts_with(row.err))
                << command << Joined(result.err);
    }
}

Bytes FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// The settings of the box's latest Status Reply.
std::optional<PresetValues> LatestReply(const Sim& sim)
{
    std::optional<PresetValues> values;
    for (const Bytes& bytes : sim.Messages(false))
        if (const auto reply = RecogniseStatusReply(bytes))
            values = reply->values;
    return values;
}
} // namespace

TEST(Programs, StompletSimHelpVersionAndBadArguments)
{
    const std::string sim = STOMPLET_SIM_PROGRAM;
    RunRows({
        {{sim, "--help"}, 0, {"--no-stdin"}},
        {{sim, "--version"}, 0, {"stomplet-sim 1.0.0\n"}},
        {{sim, "--version-byte", "128"}, 2, {}, "stomplet-sim: "},
        {{sim, "leftover"}, 2, {}, "stomplet-sim: "},
        // Mended: the libraries' own lines came with ours.
        {{sim, "--midi-api", "jack"},
         3,
         {},
         "stomplet-sim: no MIDI: the JACK server cannot be reached, so the box's ports cannot be "
         "opened",
         {{"JACK_DEFAULT_SERVER", "stomplet-e2e-no-such-server"}}},
    });
    std::vector<Row> help{{{"stomplet", "--help"}, 0, {}}};
    for (const char* command : {"ports", "status", "dump", "save", "load", "set", "reset",
                                "calibrate", "firmware", "monitor", "export"})
    {
        help[0].out.push_back(std::string("  ") + command);
        help.push_back({{"stomplet", command, "--help"},
                        0,
                        {std::string("Usage: stomplet ") + command, "Exit status: 0 success"}});
    }
    RunRows(help);
}

TEST(Programs, TheBoxsStandardInputReachesJackMidiDumpAndStompletMonitor)
{
    auto sim = StartSim({});
    ASSERT_TRUE(sim);
    auto dump = StartDump(sim->output);
    ASSERT_TRUE(dump);
    Child monitor({STOMPLET_CLI_PROGRAM, "--midi-api", "jack", "monitor", "--hex"});
    sim->child->Write("pedal 3 64\n"); // refused: only an error line
    bool dumped = false;
    bool monitored = false;
    for (int attempt = 0; attempt < 2 * kSendAttempts && !(dumped && monitored); ++attempt)
    {
        const int position = 64 + attempt; // somewhere new each time
        sim->child->Write("pedal 1 " + std::to_string(position) + "\n");
        const Bytes expected{0xB0, 0x0B, static_cast<std::uint8_t>(position)};
        ASSERT_TRUE(WaitUntil([&] { return sim->Count(false, expected) == 1; }));
        dumped = dumped || WaitUntil(
                               [&]
                               {
                                   const std::vector<Bytes> seen = dump->Messages();
                                   return std::count(seen.begin(), seen.end(), expected) == 1;
                               },
                               3s);
        const std::string line = "Control Change ch 1  #11 = " + std::to_string(position);
        monitored =
            monitored ||
            WaitUntil([&] { return Joined(monitor.Out()).find(line) != std::string::npos; }, 1s);
    }
    EXPECT_TRUE(dumped) << "jack_midi_dump never saw the pedal's message";
    EXPECT_TRUE(monitored) << Joined(monitor.Out());
    EXPECT_TRUE(sim->Messages(true).empty()); // the bad command sent nothing
    monitor.Signal(SIGTERM);
    EXPECT_EQ(monitor.WaitForExit(), 0);

    // The end of standard input ends the simulator as "quit" does.
    sim->child->CloseInput();
    EXPECT_EQ(sim->child->WaitForExit(), 0);
    ASSERT_EQ(sim->child->Err().size(), 1u);
    EXPECT_TRUE(sim->child->Err()[0].starts_with("stomplet-sim: pedal takes"));
}

TEST(Programs, StompletCommandsAgainstOneBox)
{
    const std::filesystem::path folder = ScratchFolder();
    const std::filesystem::path received = folder / "received.bin";
    auto sim = StartSim({"--no-stdin", "--firmware-out", received.string()}, false);
    ASSERT_TRUE(sim);
    const std::string rig = (folder / "rig.csx").string();
    const std::string syx = (folder / "RIG.SYX").string(); // Mended: was read as a preset's text
    const std::string bad = (folder / "bad.csx").string();
    const std::string missing = (folder / "missing.csx").string();
    const std::string fifo = (folder / "fifo.csx").string();
    const std::string empty = (folder / "empty.bin").string();
    const std::string image = (folder / "fw.bin").string();
    std::ofstream(bad, std::ios::binary) << "F0\r\n00\r\n3F\r\n5A\r\n04\r\n02\r\n";
    std::ofstream(empty, std::ios::binary).flush();
    // Mended: a FIFO with no writer blocked load and firmware until the test's time ran out.
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    std::string bytes;
    for (int i = 0; i < 1500; ++i)
        bytes += static_cast<char>(i * 7);
    std::ofstream(image, std::ios::binary) << bytes;

    RunRows({
        {{"stomplet", "status"},
         0,
         {"DEVICE: Korvo-Audio ctrlWave Stomplet\nVERSION: 1.2\nSTATE: Interface Mode\n"}},
        {{"stomplet", "dump"}, 0, {"\n23  PEDAL1 Controller            11\n"}},
        {{"stomplet", "dump", "--json"}, 0, {"{\"version\": \"1.2\", \"settings\": [\n"}},
        {{"stomplet", "set", "SWITCHA1 Midi Channel", "10"}, 0, {"SWITCHA1 Midi Channel = 10\n"}},
        // The simulator's pedal rests at the heel, so the high end becomes 0.
        {{"stomplet", "calibrate", "pedal2", "high"}, 0, {"PEDAL2 Calibration High End: 0.0%\n"}},
        {{"stomplet", "reset"},
         0,
         {"\n10  PEDAL2 Calibration High End  127\n", "\n28  SWITCHA1 Midi Channel        1\n"}},
        {{"stomplet", "set", "JACK 1 Mode", "Switches"}, 0, {"JACK 1 Mode = Switches\n"}},
        {{"stomplet", "save", rig}, 0, {}},
        {{"stomplet", "save", "-"}, 0, {"F0\r\n00\r\n3F\r\n5A\r\n04\r\n03\r\n"}},
        {{"stomplet", "export", syx}, 0, {}},
        {{"stomplet", "ports"}, 0, {"* Korvo-Audio ctrlWave Stomplet"}},
        {{"stomplet", "--port", "No Such Device", "status"},
         3,
         {},
         "stomplet: no MIDI output port begins with \"No Such Device\" (see stomplet ports)"},
        {{"stomplet", "load", bad},
         2,
         {},
         "stomplet: " + bad + ": line 6: 02 where a preset has 03"},
        {{"stomplet", "load", missing}, 2, {}, "stomplet: " + missing + ": no such file"},
        {{"stomplet", "load", fifo}, 2, {}, "stomplet: " + fifo + ": is not a regular file"},
        {{"stomplet", "firmware", fifo}, 2, {}, "stomplet: " + fifo + ": is not a regular file"},
        {{"stomplet", "firmware", empty},
         2,
         {},
         "stomplet: " + empty + ": is empty: nothing to send"},
        {{"stomplet", "set", "Volume", "3"},
         2,
         {},
         "stomplet: no setting is called \"Volume\": give a name or an index 0 to 37"},
        {{"stomplet", "firmware", image},
         0,
         {"firmware: 3 %\n", "firmware: " + image + " sent, 32 blocks\n"}},
    });
    // F0, maker 00 3F 5A, model 04, write value 02, address 1C (SWITCHA1 channel), value 09, F7.
    EXPECT_EQ(sim->Count(true, {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x1C, 0x09, 0xF7}), 1u);
    ASSERT_TRUE(WaitUntil([&] { return !sim->child->Err().empty(); }));
    EXPECT_EQ(sim->child->Err()[0],
              "stomplet-sim: firmware transfer complete: 2 pages, 2048 bytes, "
              "0 blocks with a bad checksum; image written to " +
                  received.string());
    const Bytes got = FileBytes(received);
    ASSERT_EQ(got.size(), 2048u); // two pages, the rest FF
    EXPECT_TRUE(std::equal(bytes.begin(), bytes.end(), got.begin(),
                           [](char a, std::uint8_t b) { return std::uint8_t(a) == b; }));

    // save, export and load carry what the box held.
    const PresetReadResult saved = ReadPresetFile(rig);
    ASSERT_TRUE(std::holds_alternative<PresetFileContent>(saved));
    const PresetValues values = std::get<PresetFileContent>(saved).values;
    EXPECT_EQ(values[kJack1Mode], kJackModeSwitches);
    const AllSettingsMessage message = *BuildAllSettings(values);
    EXPECT_EQ(FileBytes(syx), Bytes(message.bytes.begin(), message.bytes.end()));
    for (const std::string& file : {rig, syx})
    {
        RunRows({{{"stomplet", "reset"}, 0, {}}, {{"stomplet", "load", file}, 0, {}}});
        EXPECT_EQ(LatestReply(*sim), values) << file;
    }

    // The box answers nothing while a firmware transfer is open.
    std::ofstream(folder / "long.bin", std::ios::binary) << std::string(16000, 'x');
    Child transfer(
        {STOMPLET_CLI_PROGRAM, "--midi-api", "jack", "firmware", (folder / "long.bin").string()});
    ASSERT_TRUE(WaitUntil([&] { return transfer.Out().size() >= 2; }));
    RunRows(
        {{{"stomplet", "--timeout", "300", "dump"}, 1, {}, "stomplet: no answer from the box"}});

    // The box ran on without standard input; a signal ends it with status 0.
    sim->child->Signal(SIGTERM);
    EXPECT_EQ(sim->child->WaitForExit(), 0);

    sim = StartSim({"--no-stdin", "--standalone", "--version-byte", "105"}, false);
    ASSERT_TRUE(sim);
    RunRows({{{"stomplet", "status"},
              0,
              {"DEVICE: Korvo-Audio ctrlWave Stomplet\nVERSION: 10.5\nSTATE: Standalone Mode\n"}}});
    sim->child->Signal(SIGINT);
    EXPECT_EQ(sim->child->WaitForExit(), 0);
}

TEST(Programs, TheEditorTalksToTheBoxOfItsSettingsFileAndOutlivesIt)
{
    auto sim = StartSim({"--no-stdin"}, false);
    ASSERT_TRUE(sim);
    const std::filesystem::path folder = ScratchFolder();
    WriteEditorSettings(folder, *sim);
    Child editor(
        {STOMPLET_EDITOR_PROGRAM, "--settings-dir", folder.string(), "--midi-api", "jack"});
    const auto wired = [&](const std::string& port, const std::string& editorPort)
    {
        const std::vector<std::string> peers = JackPorts()[port];
        return std::find(peers.begin(), peers.end(), editorPort) != peers.end();
    };
    ASSERT_TRUE(WaitUntil(
        [&]
        {
            return !editor.Running() || (wired(sim->input, "RtMidi Output Client:RtMidi Output") &&
                                         wired(sim->output, "RtMidi Input Client:RtMidi Input"));
        }));
    ASSERT_TRUE(editor.Running()) << editor.Transcript();

    // The start-up Status Request reached the box, which answered it.
    const CommandMessage request = BuildStatusRequest();
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            const std::vector<HexLine> traffic = sim->child->HexLines();
            return traffic.size() >= 2 && traffic[0].direction == "in" &&
                   traffic[0].bytes == Bytes(request.bytes.begin(), request.bytes.end()) &&
                   RecogniseStatusReply(traffic[1].bytes);
        }))
        << sim->child->Transcript();

    // The box gone, the editor's probe closes both its ports and the editor runs on; losing a
    // port does not rewrite the file.
    sim->child->Signal(SIGKILL);
    ASSERT_NE(sim->child->WaitForExit(), -1);
    EXPECT_TRUE(WaitUntil(
        [&]
        {
            const auto ports = JackPorts();
            return !ports.contains("RtMidi Input Client:RtMidi Input") &&
                   !ports.contains("RtMidi Output Client:RtMidi Output");
        }))
        << editor.Transcript();
    EXPECT_TRUE(editor.Running()) << editor.Transcript();
    EXPECT_EQ(StoredPort(folder, "indev"), sim->output);
    EXPECT_EQ(StoredPort(folder, "outdev"), sim->input);
}
