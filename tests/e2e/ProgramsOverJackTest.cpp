// The programs as a user runs them on the private JACK server: stomplet-sim as the box, stomplet's
// commands against it, and the editor program reading its settings file. Each row runs a program
// (stomplet when the first word is not a path) and pins its exit status, the texts its output holds
// (lines joined by "\n") and the start of its one error line (none when empty).

#include "E2e.h"
#include "device/PresetFile.h"
#include "device/SysExMessages.h"

#include <sys/stat.h>

using namespace e2e;

namespace
{
struct Row
{
    int status;
    std::vector<std::string> argv, out;
    std::string err = {};
};

void RunRows(const std::vector<Row>& rows)
{
    for (const Row& row : rows)
    {
        std::vector<std::string> argv = row.argv;
        // A command of stomplet's goes over JACK, its answer awaited long enough on a loaded
        // machine.
        if (!argv[0].starts_with('/') && argv[0] != "env")
            argv.insert(argv.begin(),
                        {STOMPLET_CLI_PROGRAM, "--midi-api", "jack", "--timeout", "5000"});
        const Result result = Run(argv);
        std::string out, command;
        for (const std::string& line : result.out)
            out += line + "\n";
        for (const std::string& word : row.argv)
            command += word + " ";
        EXPECT_EQ(result.status, row.status) << command;
        for (const std::string& part : row.out)
            EXPECT_NE(out.find(part), std::string::npos) << command << "lacks " << part << out;
        EXPECT_EQ(result.err.size(), row.err.empty() ? 0u : 1u) << command;
        EXPECT_TRUE(result.err.empty() || result.err[0].starts_with(row.err)) << result.err[0];
    }
}
} // namespace

TEST(Programs, StompletSimAndStompletHelpVersionAndBadArguments)
{
    const std::string sim = STOMPLET_SIM_PROGRAM;
    RunRows({
        {0, {sim, "--help"}, {"--no-stdin"}},
        {0, {sim, "--version"}, {"stomplet-sim 1.0.0\n"}},
        {2, {sim, "--version-byte", "128"}, {}, "stomplet-sim: "},
        {2, {sim, "leftover"}, {}, "stomplet-sim: "},
        // Mended: the libraries' own lines came with ours.
        {3,
         {"env", "JACK_DEFAULT_SERVER=stomplet-e2e-no-such-server", sim, "--midi-api", "jack"},
         {},
         "stomplet-sim: no MIDI: the JACK server cannot be reached, so the box's ports cannot "
         "be opened"},
        {0, {"--help"}, {"  status"}},
        {0, {"calibrate", "--help"}, {"Usage: stomplet calibrate"}},
        {2, {"flash"}, {}, "stomplet: unknown command \"flash\""},
    });
}

TEST(Programs, StompletCommandsAgainstOneBoxDrivenThroughItsStandardInput)
{
    const std::filesystem::path folder = ScratchFolder();
    const std::string received = (folder / "received.bin").string();
    auto sim = StartSim({"--firmware-out", received});
    ASSERT_TRUE(sim);
    // Pedal 1 moved through the box's standard input reaches stomplet monitor; a bad command only
    // prints an error.
    Child monitor({STOMPLET_CLI_PROGRAM, "--midi-api", "jack", "monitor", "--hex"});
    sim->child->Write("pedal 3 64\n");
    bool monitored = false;
    for (int attempt = 0; attempt < 2 * kSendAttempts && !monitored; ++attempt)
    {
        const int position = 64 + attempt; // somewhere new each time
        sim->child->Write("pedal 1 " + std::to_string(position) + "\n");
        const Bytes expected{0xB0, 0x0B, static_cast<std::uint8_t>(position)};
        ASSERT_TRUE(WaitUntil([&] { return sim->child->Count(expected, "out") == 1; }));
        const std::string line = "Control Change ch 1  #11 = " + std::to_string(position);
        monitored = WaitUntil([&] { return monitor.Text().find(line) != std::string::npos; }, 1s);
    }
    EXPECT_TRUE(monitored) << monitor.Text();
    EXPECT_TRUE(sim->child->Messages("in").empty());
    monitor.Signal(SIGTERM);
    EXPECT_EQ(monitor.WaitForExit(), 0);
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
        {0,
         {"status"},
         {"DEVICE: Korvo-Audio ctrlWave Stomplet\nSTATE: Interface Mode\nVERSION: 1.2\n"}},
        {0, {"dump"}, {"\n23  PEDAL1 Controller            11\n"}},
        {0, {"dump", "--json"}, {"{\"version\": \"1.2\", \"settings\": [\n"}},
        {0, {"set", "SWITCHA1 Midi Channel", "10"}, {"SWITCHA1 Midi Channel = 10\n"}},
        // The simulator's pedal rests at the heel, so the high end becomes 0.
        {0, {"calibrate", "pedal2", "high"}, {"PEDAL2 Calibration High End: 0.0%\n"}},
        {0,
         {"reset"},
         {"\n10  PEDAL2 Calibration High End  127 (100.0%)\n",
          "\n28  SWITCHA1 Midi Channel        1\n"}},
        {0, {"set", "JACK 1 Mode", "Switches"}, {"JACK 1 Mode = Switches\n"}},
        {0, {"save", rig}, {}},
        {0, {"save", "-"}, {"F0\r\n00\r\n3F\r\n5A\r\n04\r\n03\r\n"}},
        {0, {"export", syx}, {}},
        {0, {"ports"}, {"* Korvo-Audio ctrlWave Stomplet"}},
        {3,
         {"--port", "No Such Device", "status"},
         {},
         "stomplet: no MIDI output port begins with \"No Such Device\" (see stomplet ports)"},
        {2, {"load", bad}, {}, "stomplet: " + bad + ": line 6: 02 where a preset has 03"},
        {2, {"load", missing}, {}, "stomplet: " + missing + ": no such file"},
        {2, {"load", fifo}, {}, "stomplet: " + fifo + ": is not a regular file"},
        {2, {"firmware", fifo}, {}, "stomplet: " + fifo + ": is not a regular file"},
        {2, {"firmware", empty}, {}, "stomplet: " + empty + ": is empty: nothing to send"},
        {2, {"set", "Volume", "3"}, {}, "stomplet: no setting is called \"Volume\""},
        {0, {"firmware", image}, {"firmware: 3 %\n", "firmware: " + image + " sent, 32 blocks\n"}},
    });
    // F0, maker 00 3F 5A, model 04, write value 02, address 1C (SWITCHA1 channel), value 09, F7.
    EXPECT_EQ(sim->child->Count({0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x1C, 0x09, 0xF7}, "in"), 1u);
    ASSERT_TRUE(WaitUntil([&] { return sim->child->Lines(true).size() == 2; }));
    EXPECT_TRUE(sim->child->Lines(true)[0].starts_with("stomplet-sim: pedal takes"));
    EXPECT_EQ(sim->child->Lines(true)[1], "stomplet-sim: firmware transfer complete: 2 pages, "
                                          "2048 bytes, 0 blocks with a bad checksum; image "
                                          "written to " +
                                              received);
    Bytes got = FileBytes(received);
    ASSERT_EQ(got.size(), 2048u); // two pages, the rest FF
    got.resize(bytes.size());
    EXPECT_EQ(got, Bytes(bytes.begin(), bytes.end()));

    // save, export and load carry what the box held.
    const PresetReadResult saved = ReadPresetFile(rig);
    ASSERT_TRUE(std::holds_alternative<PresetFileContent>(saved));
    const PresetValues values = std::get<PresetFileContent>(saved).values;
    EXPECT_EQ(values[kJack1Mode], kJackModeSwitches);
    const AllSettingsMessage message = *BuildAllSettings(values);
    EXPECT_EQ(FileBytes(syx), Bytes(message.bytes.begin(), message.bytes.end()));
    for (const std::string& file : {rig, syx})
    {
        RunRows({{0, {"reset"}, {}}, {0, {"load", file}, {}}});
        const std::vector<Bytes> sent = sim->child->Messages("out");
        const auto reply = RecogniseStatusReply(sent.back());
        EXPECT_TRUE(reply && reply->values == values) << file;
    }

    // The box answers nothing while a firmware transfer is open.
    std::ofstream(folder / "long.bin", std::ios::binary) << std::string(16000, 'x');
    Child transfer(
        {STOMPLET_CLI_PROGRAM, "--midi-api", "jack", "firmware", (folder / "long.bin").string()});
    ASSERT_TRUE(WaitUntil([&] { return transfer.Lines().size() >= 2; }));
    RunRows({{1,
              {STOMPLET_CLI_PROGRAM, "--midi-api", "jack", "--timeout", "300", "dump"},
              {},
              "stomplet: no answer from the box"}});

    // The end of standard input ends the box as "quit" does; without standard input it runs on
    // until a signal ends it with status 0.
    sim->child->CloseInput();
    EXPECT_EQ(sim->child->WaitForExit(), 0);
    sim = StartSim({"--no-stdin", "--standalone", "--version-byte", "105"}, false);
    ASSERT_TRUE(sim);
    RunRows({{0,
              {"status"},
              {"DEVICE: Korvo-Audio ctrlWave Stomplet\nSTATE: Standalone Mode\nVERSION: 10.5\n"}}});
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
    const std::string editorIn = "RtMidi Input Client:RtMidi Input";
    const std::string editorOut = "RtMidi Output Client:RtMidi Output";
    const auto wired = [&](const std::string& port, const std::string& peer)
    { return std::ranges::count(JackPorts()[port], peer) == 1; };
    ASSERT_TRUE(
        WaitUntil([&] { return wired(sim->input, editorOut) && wired(sim->output, editorIn); }))
        << editor.Transcript();

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
        [&] { return !JackPorts().contains(editorIn) && !JackPorts().contains(editorOut); }))
        << editor.Transcript();
    EXPECT_TRUE(editor.Running()) << editor.Transcript();
    EXPECT_EQ(StoredPort(folder, "indev"), sim->output);
    EXPECT_EQ(StoredPort(folder, "outdev"), sim->input);
}
