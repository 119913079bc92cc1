// The programs as a user runs them on the private JACK server: stomplet-sim as the box and
// stomplet's commands against it. Each row runs a program (stomplet when the first word is not a
// path) and pins its exit status, the texts its output holds and the start of its one error line
// (none when empty). The texts themselves are the unit tests'.

#include "E2e.h"

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
        Child child(argv);
        const int status = child.WaitForExit(40s);
        const std::string command = testing::PrintToString(row.argv), err = child.Text(true);
        EXPECT_EQ(status, row.status) << command << child.Transcript();
        for (const std::string& part : row.out)
            EXPECT_NE(child.Text().find(part), std::string::npos) << command << child.Text();
        EXPECT_EQ(std::ranges::count(err, '\n'), row.err.empty() ? 0 : 1) << command;
        EXPECT_TRUE(err.starts_with(row.err)) << err;
    }
}
} // namespace

TEST(Programs, StompletCommandsAgainstTheBoxAndTheExitStatusOfEachOutcome)
{
    const testfiles::TempFolder temp;
    const std::filesystem::path& folder = temp.Path();
    auto sim = StartSim({"--firmware-out", (folder / "received.bin").string()});
    ASSERT_TRUE(sim);
    const std::string rig = (folder / "rig.csx").string();
    const std::string syx = (folder / "RIG.SYX").string(); // Mended: was read as a preset's text
    const std::string missing = (folder / "missing.csx").string();
    const std::string fifo = (folder / "fifo.csx").string();
    const std::string empty = (folder / "empty.bin").string();
    const std::string image = (folder / "fw.bin").string();
    testfiles::WriteBytes(empty, "");
    // Mended: a FIFO with no writer blocked load and firmware until the test's time ran out.
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
    testfiles::WriteBytes(image, std::string(1500, '\x5A'));

    RunRows({
        {0, {"--help"}, {"  status"}},
        {2, {"flash"}, {}, "stomplet: unknown command \"flash\""},
        {2, {STOMPLET_SIM_PROGRAM, "--version-byte", "128"}, {}, "stomplet-sim: "},
        // Mended: the libraries' own lines came with ours.
        {3,
         {"env", "JACK_DEFAULT_SERVER=stomplet-e2e-nothing", STOMPLET_SIM_PROGRAM, "--midi-api",
          "jack"},
         {},
         "stomplet-sim: no MIDI: the JACK server cannot be reached"},
        {0, {"status"}, {"STATE: Interface Mode\nVERSION: 1.2\n"}},
        {0, {"dump"}, {"\n23  PEDAL1 Controller            11\n"}},
        // The simulator's pedal rests at the heel, so the high end becomes 0.
        {0, {"calibrate", "pedal2", "high"}, {"PEDAL2 Calibration High End: 0.0%\n"}},
        {0, {"reset"}, {"\n10  PEDAL2 Calibration High End  127 (100.0%)\n"}},
        {0, {"set", "JACK 1 Mode", "Switches"}, {"JACK 1 Mode = Switches\n"}},
        {0, {"save", rig}, {}},
        {0, {"save", "-"}, {"F0\r\n00\r\n3F\r\n5A\r\n04\r\n03\r\n"}},
        {0, {"export", syx}, {}},
        {0, {"ports"}, {"* Korvo-Audio ctrlWave Stomplet"}},
        {3, {"--port", "No Such Device", "status"}, {}, "stomplet: no MIDI output port begins"},
        {2, {"load", missing}, {}, "stomplet: " + missing + ": no such file"},
        {2, {"load", fifo}, {}, "stomplet: " + fifo + ": is not a regular file"},
        {2, {"firmware", fifo}, {}, "stomplet: " + fifo + ": is not a regular file"},
        {2, {"firmware", empty}, {}, "stomplet: " + empty + ": is empty: nothing to send"},
        {0, {"firmware", image}, {"firmware: 3 %\n", "firmware: " + image + " sent, 32 blocks\n"}},
        // A reset box differs from the saved file, and the exported message puts it back.
        {0, {"reset"}, {}},
        {4, {"diff", rig}, {"JACK 1 Mode: box Pedal, file Switches\n"}},
        {0, {"load", syx}, {"the box holds them\n"}},
        {0, {"diff", rig}, {}}, // the file saved holds what the box held
        // No answer within a millisecond: the server carries the reply a period (21 ms) later.
        {1, {"dump", "--timeout", "1"}, {}, "stomplet: no answer from the box"},
    });
    EXPECT_NE(sim->child->Text(true).find("firmware transfer complete: 2 pages, 2048 bytes"),
              std::string::npos);

    // The end of standard input ends the box as "quit" does, with status 0.
    sim->child->CloseInput();
    EXPECT_EQ(sim->child->WaitForExit(), 0);

    // A box behind a generic USB-MIDI interface: detect finds it and leaves a running stomplet's
    // own port alone, and --out/--in reach it.
    sim = StartSim({"--no-stdin", "--name", "Generic USB MIDI"});
    ASSERT_TRUE(sim);
    Child listener({STOMPLET_CLI_PROGRAM, "--midi-api", "jack", "monitor", "--filter", "sysex",
                    "--in", sim->output});
    ASSERT_TRUE(WaitUntil([&] { return !listener.Text(true).empty(); })) << listener.Transcript();
    RunRows({
        {0, {"--out", sim->input, "--in", sim->output, "status"}, {"STATE: Interface Mode\n"}},
        {0, {"detect"}, {"out \"" + sim->input + "\" in \"" + sim->output + "\" VERSION: 1.2"}},
    });
    EXPECT_TRUE(
        WaitUntil([&] { return listener.Text().find("Status Reply") != std::string::npos; }));
    EXPECT_EQ(listener.Text().find("SysEx  9 bytes"), std::string::npos) << "detect sent to it";
}
