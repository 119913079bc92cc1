// stomplet-sim as a program: help, version, exit statuses and its standard-input commands on the
// private JACK server as its traffic lines and jack_midi_dump show them. That it keeps answering
// without standard input until a signal ends it shows in the stomplet program's tests.

#include "ChildProcess.h"
#include "JackObserver.h"
#include "MidiDumpProcess.h"
#include "SimulatorProcess.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace simprogram
{
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
constexpr auto kLimit = 20000ms;

e2e::ProgramResult RunSimulator(const std::vector<std::string>& arguments,
                                const std::vector<std::string>& environment = {})
{
    std::vector<std::string> argv{STOMPLET_SIM_PROGRAM};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    const std::optional<e2e::ProgramResult> result = e2e::RunProgram(argv, kLimit, environment);
    EXPECT_TRUE(result) << "stomplet-sim did not end";
    return result.value_or(e2e::ProgramResult{});
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}
} // namespace simprogram

using namespace simprogram;

TEST(SimulatorProgram, HelpVersionAndBadArgumentsEndWithTheirStatusAndText)
{
    const e2e::ProgramResult help = RunSimulator({"--help"});
    EXPECT_EQ(help.exitStatus, 0);
    EXPECT_TRUE(help.err.empty());
    EXPECT_NE(Joined(help.out).find("--no-stdin"), std::string::npos);

    const e2e::ProgramResult version = RunSimulator({"--version"});
    EXPECT_EQ(version.exitStatus, 0);
    EXPECT_EQ(version.out, std::vector<std::string>{"stomplet-sim 1.0.0"});

    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--version-byte", "128"}, {"leftover"}})
    {
        const e2e::ProgramResult bad = RunSimulator(arguments);
        EXPECT_EQ(bad.exitStatus, 2) << arguments[0];
        EXPECT_TRUE(bad.out.empty()) << arguments[0];
        ASSERT_EQ(bad.err.size(), 1u) << arguments[0];
        EXPECT_TRUE(bad.err[0].starts_with("stomplet-sim: ")) << bad.err[0];
    }

    // No JACK server has this name. Mended: the libraries' own lines came with ours.
    const e2e::ProgramResult unreachable =
        RunSimulator({"--midi-api", "jack"}, {"JACK_DEFAULT_SERVER=stomplet-e2e-no-such-server"});
    EXPECT_EQ(unreachable.exitStatus, 3);
    EXPECT_EQ(unreachable.err, std::vector<std::string>{"stomplet-sim: no MIDI: the JACK server "
                                                        "cannot be reached, so the box's ports "
                                                        "cannot be opened"});
}

TEST(SimulatorProgram, StandardInputCommandsReachAnObserverAndABadOneOnlyPrintsAnError)
{
    std::string error;
    auto sim = e2e::SimulatorProcess::Start({}, true, error);
    ASSERT_TRUE(sim) << error;
    auto dump = e2e::MidiDumpProcess::Start("e2e-observer", error);
    ASSERT_TRUE(dump) << error;
    ASSERT_TRUE(e2e::JackObserver::Get()->Connect(sim->OutputPort(), dump->InputPort()));
    ASSERT_TRUE(sim->Process().WriteInput("pedal 3 64\n"));

    // Each try moves pedal 1 somewhere new, so a try the server lost is told from the next.
    bool observed = false;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !observed; ++attempt)
    {
        const auto position = static_cast<std::uint8_t>(64 + attempt);
        const Bytes expected{0xB0, 0x0B, position}; // control change, channel 1, controller 11
        ASSERT_TRUE(sim->Process().WriteInput("pedal 1 " + std::to_string(position) + "\n"));
        ASSERT_TRUE(sim->WaitForTraffic(
            [&](const auto& t) { return e2e::CountTraffic(t, true, expected) == 1; }, kLimit));
        observed = e2e::PollUntil(
            [&]
            {
                const std::vector<Bytes> dumped = dump->Messages();
                return std::find(dumped.begin(), dumped.end(), expected) != dumped.end();
            },
            e2e::kAttemptLimit);
    }
    EXPECT_TRUE(observed) << "jack_midi_dump never saw the pedal's message";
    for (const e2e::TrafficLine& line : sim->Traffic())
        EXPECT_TRUE(line.sent); // the bad command sent nothing

    // The end of standard input ends the simulator as "quit" does.
    sim->Process().CloseInput();
    EXPECT_EQ(sim->Process().WaitForExit(kLimit), 0);
    sim->Process().WaitForEnd(kLimit);
    const std::vector<std::string> err = sim->Process().Lines().err;
    ASSERT_EQ(err.size(), 1u);
    EXPECT_TRUE(err[0].starts_with("stomplet-sim: pedal takes")) << err[0];
}
