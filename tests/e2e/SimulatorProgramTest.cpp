// stomplet-sim as a program: help, version, exit statuses and signals.

#include "ChildProcess.h"
#include "JackMidiEndpoint.h"
#include "JackTools.h"
#include "RetryingSend.h"
#include "SimulatorProcess.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
using namespace std::chrono_literals;
constexpr auto kLimit = 20000ms;

std::optional<e2e::ProgramResult> RunSimulator(const std::vector<std::string>& arguments,
                                               const std::vector<std::string>& environment = {})
{
    std::vector<std::string> argv{STOMPLET_SIM_PROGRAM};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    return e2e::RunProgram(argv, kLimit, environment);
}

std::string Joined(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\n";
    return text;
}
} // namespace

TEST(SimulatorProgram, HelpDocumentsOptionsPortsAndCommandsAndExitsZero)
{
    const auto result = RunSimulator({"--help"});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->exitStatus, 0);
    EXPECT_TRUE(result->err.empty());
    const std::string text = Joined(result->out);
    for (const char* word : {"--midi-api alsa|jack", "--standalone", "--version-byte N",
                             "--firmware-out FILE", "--no-stdin", "pedal J P", "press S",
                             "release S", "quit", "\"Korvo-Audio ctrlWave Stomplet\""})
        EXPECT_NE(text.find(word), std::string::npos) << word;
}

TEST(SimulatorProgram, VersionPrintsTheProgramNameAndVersion)
{
    const auto result = RunSimulator({"--version"});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->exitStatus, 0);
    EXPECT_EQ(result->out, std::vector<std::string>{"stomplet-sim 1.0.0"});
}

TEST(SimulatorProgram, ABadArgumentEndsWithStatusTwoAndOneLine)
{
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"--version-byte", "128"},
          {"--midi-api", "coreaudio"},
          {"--bogus"},
          {"--firmware-out"},
          {"leftover"}})
    {
        const auto result = RunSimulator(arguments);
        ASSERT_TRUE(result);
        EXPECT_EQ(result->exitStatus, 2) << arguments[0];
        EXPECT_TRUE(result->out.empty()) << arguments[0];
        ASSERT_EQ(result->err.size(), 1u) << arguments[0];
        EXPECT_TRUE(result->err[0].starts_with("stomplet-sim: ")) << result->err[0];
    }
}

TEST(SimulatorProgram, AMidiSystemThatCannotBeReachedEndsWithStatusThree)
{
    // No JACK server has this name; the JACK library adds lines of its own.
    const auto result =
        RunSimulator({"--midi-api", "jack"}, {"JACK_DEFAULT_SERVER=stomplet-e2e-no-such-server"});
    ASSERT_TRUE(result);
    EXPECT_EQ(result->exitStatus, 3);
    EXPECT_TRUE(result->out.empty());
    const auto ours =
        std::count_if(result->err.begin(), result->err.end(),
                      [](const auto& line) { return line.starts_with("stomplet-sim: "); });
    EXPECT_EQ(ours, 1);
    EXPECT_NE(Joined(result->err).find("stomplet-sim: JACK MIDI ports cannot be opened: "),
              std::string::npos);
}

TEST(SimulatorProgram, WithoutStandardInputItKeepsAnsweringUntilASignalEndsItWithStatusZero)
{
    for (const int signal : {SIGTERM, SIGINT})
    {
        std::string error;
        auto sim = e2e::SimulatorProcess::Start({"--no-stdin"}, true, error);
        ASSERT_TRUE(sim) << error;
        sim->Process().CloseInput();

        e2e::JackMidiEndpoint endpoint("e2e-signal-tester");
        ASSERT_FALSE(endpoint.ConnectOutputTo(sim->InputPort()));
        ASSERT_FALSE(endpoint.ConnectInputFrom(sim->OutputPort()));
        ASSERT_TRUE(e2e::RequestStatus(endpoint)) << "signal " << signal << sim->Transcript();
        EXPECT_TRUE(sim->Process().Running());

        sim->Process().Signal(signal);
        EXPECT_EQ(sim->Process().WaitForExit(kLimit), 0) << "signal " << signal;
    }
}
