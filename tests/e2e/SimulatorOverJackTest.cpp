// stomplet-sim as a program on the private JACK server: driven through the test's own RtMidi
// ports and through its standard input, observed through its traffic lines and jack_midi_dump.

#include "ChildProcess.h"
#include "JackMidiEndpoint.h"
#include "JackObserver.h"
#include "MidiDumpProcess.h"
#include "RetryingSend.h"
#include "ScratchFolder.h"
#include "SimulatorProcess.h"
#include "device/SeptetPacking.h"
#include "device/SysExMessages.h"
#include "sim/VirtualStomplet.h"

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <span>
#include <string>
#include <thread>
#include <vector>

namespace
{
using namespace std::chrono_literals;
using Bytes = std::vector<std::uint8_t>;
using e2e::SimulatorProcess;
using e2e::TrafficLine;

constexpr auto kLimit = 20000ms;

template <std::size_t N>
Bytes ToBytes(const SysExBytes<N>& message)
{
    return Bytes(message.bytes.begin(), message.bytes.end());
}

const Bytes kStatusRequest = ToBytes(BuildStatusRequest());

std::unique_ptr<SimulatorProcess> StartSimulator(const std::vector<std::string>& arguments,
                                                 bool pipeStandardInput = false)
{
    std::string error;
    std::unique_ptr<SimulatorProcess> sim =
        SimulatorProcess::Start(arguments, pipeStandardInput, error);
    EXPECT_TRUE(sim) << error;
    return sim;
}

// The test's ports wired to the simulator's: the test's output to the box's input, the box's
// output to the test's input.
std::unique_ptr<e2e::JackMidiEndpoint> ConnectTo(const SimulatorProcess& sim)
{
    auto endpoint = std::make_unique<e2e::JackMidiEndpoint>("e2e-box-tester");
    const MidiPortError outError = endpoint->ConnectOutputTo(sim.InputPort());
    EXPECT_FALSE(outError) << *outError;
    const MidiPortError inError = endpoint->ConnectInputFrom(sim.OutputPort());
    EXPECT_FALSE(inError) << *inError;
    return endpoint;
}

bool IsStatusRequest(const TrafficLine& line)
{
    return !line.sent && line.bytes == kStatusRequest;
}

// Each line's stamp is at or after the one before it.
void ExpectStampsInOrder(const std::vector<TrafficLine>& traffic)
{
    for (std::size_t i = 1; i < traffic.size(); ++i)
        EXPECT_GE(traffic[i].milliseconds, traffic[i - 1].milliseconds) << "line " << i;
}

// The messages the simulator sent, in order.
std::vector<Bytes> SentMessages(const std::vector<TrafficLine>& traffic)
{
    std::vector<Bytes> sent;
    for (const TrafficLine& line : traffic)
    {
        if (line.sent)
            sent.push_back(line.bytes);
    }
    return sent;
}

// Everything the simulator printed, once it has ended and its streams are closed.
e2e::ChildProcess::Output FinalOutput(e2e::ChildProcess& process)
{
    EXPECT_TRUE(process.WaitForExit(kLimit));
    process.WaitForLines([](const e2e::ChildProcess::Output&) { return false; }, kLimit);
    return process.Lines();
}

std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace

TEST(SimulatorOverJack, InterfaceModeAnswersEveryStatusRequestWithItsVersionAndSettings)
{
    auto sim = StartSimulator({"--no-stdin", "--version-byte", "0x11"});
    ASSERT_TRUE(sim);
    auto endpoint = ConnectTo(*sim);

    const Bytes setting = ToBytes(*BuildSingleSetting(kPedal1Controller, 20));
    ASSERT_TRUE(e2e::SendUntilTaken(*endpoint, *sim, setting)) << sim->Transcript();
    VirtualStomplet::Settings expected = VirtualStomplet::FactorySettings();
    expected[kPedal1Controller] = 20;
    for (int i = 0; i < 2; ++i)
    {
        const std::optional<Bytes> reply = e2e::RequestStatus(*endpoint);
        ASSERT_TRUE(reply) << sim->Transcript();
        ASSERT_EQ(reply->size(), kStatusReplySize);
        // F0, maker 00 3F 5A, model 04, Status Reply 01, box bytes 01 00 04 02, version 11.
        const Bytes head{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x01, 0x01, 0x00, 0x04, 0x02, 0x11};
        EXPECT_TRUE(std::equal(head.begin(), head.end(), reply->begin()));
        EXPECT_EQ(reply->back(), 0xF7);
        const std::optional<StatusReply> parsed = RecogniseStatusReply(*reply);
        ASSERT_TRUE(parsed);
        EXPECT_EQ(parsed->values, expected);
    }

    // Every request that reached the box was answered at once, with the reply the test got.
    const std::vector<TrafficLine> traffic = sim->Traffic();
    std::size_t requests = 0;
    for (std::size_t i = 0; i < traffic.size(); ++i)
    {
        if (!IsStatusRequest(traffic[i]))
            continue;
        ++requests;
        ASSERT_LT(i + 1, traffic.size());
        EXPECT_TRUE(traffic[i + 1].sent) << "request on line " << i << " left unanswered";
        EXPECT_EQ(traffic[i + 1].bytes, endpoint->Received().front());
    }
    EXPECT_GE(requests, 2u);
    EXPECT_FALSE(traffic.front().sent);
    EXPECT_EQ(traffic.front().bytes, setting);
    ExpectStampsInOrder(traffic);
}

TEST(SimulatorOverJack, StandaloneModeLeavesARequestWithin300MsUnansweredAndAnswersALaterOne)
{
    auto sim = StartSimulator({"--no-stdin", "--standalone"});
    ASSERT_TRUE(sim);
    auto endpoint = ConnectTo(*sim);

    // Two requests back to back reach the box in the same moment; a message the box takes
    // silently marks the point by which an answer to the second would have been sent. A try in
    // which the server lost a message proves nothing and is repeated once the window has passed.
    const Bytes marker = ToBytes(*BuildSingleSetting(kPedal2Controller, 9));
    std::chrono::steady_clock::time_point firstSent;
    std::size_t proofStart = 0;
    bool proved = false;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !proved; ++attempt)
    {
        if (attempt > 0)
            std::this_thread::sleep_for(400ms);
        proofStart = sim->Traffic().size();
        const std::size_t markersBefore = e2e::CountTraffic(sim->Traffic(), false, marker);
        firstSent = std::chrono::steady_clock::now();
        endpoint->Send(kStatusRequest);
        endpoint->Send(kStatusRequest);
        endpoint->Send(marker);
        if (!sim->WaitForTraffic([&](const auto& t)
                                 { return e2e::CountTraffic(t, false, marker) > markersBefore; },
                                 e2e::kAttemptLimit))
            continue;
        const std::vector<TrafficLine> all = sim->Traffic();
        const std::vector<TrafficLine> lines(all.begin() + static_cast<std::ptrdiff_t>(proofStart),
                                             all.end());
        // Whatever arrived, the box answered at most one of the two requests.
        EXPECT_LE(std::count_if(lines.begin(), lines.end(), [](const auto& l) { return l.sent; }),
                  1);
        proved = lines.size() == 4 && IsStatusRequest(lines[0]) && lines[1].sent &&
                 IsStatusRequest(lines[2]) && lines[3].bytes == marker;
    }
    ASSERT_TRUE(proved) << "the server lost a message in every try";

    // Keep asking until the box answers again; that answer cannot come before the 300 ms.
    const auto answers = [&](const std::vector<TrafficLine>& traffic)
    {
        return std::count_if(traffic.begin() + static_cast<std::ptrdiff_t>(proofStart),
                             traffic.end(), [](const TrafficLine& l) { return l.sent; });
    };
    std::chrono::steady_clock::time_point secondAnswer;
    const bool answered = e2e::PollUntil(
        [&]
        {
            if (answers(sim->Traffic()) >= 2)
            {
                secondAnswer = std::chrono::steady_clock::now();
                return true;
            }
            endpoint->Send(kStatusRequest);
            return false;
        },
        kLimit, 25ms);
    ASSERT_TRUE(answered);
    EXPECT_GE(secondAnswer - firstSent, 300ms);
    const std::vector<TrafficLine> traffic = sim->Traffic();
    const auto second =
        std::find_if(traffic.rbegin(), traffic.rend(), [](const TrafficLine& l) { return l.sent; });
    const std::optional<StatusReply> reply = RecogniseStatusReply(second->bytes);
    ASSERT_TRUE(reply);
    EXPECT_EQ(reply->values[kPedal2Controller], 9);
    ExpectStampsInOrder(traffic);
}

TEST(SimulatorOverJack, PedalAndSwitchCommandsOnStandardInputReachAnObserver)
{
    auto sim = StartSimulator({}, true);
    ASSERT_TRUE(sim);
    std::string error;
    auto dump = e2e::MidiDumpProcess::Start("e2e-observer", error);
    ASSERT_TRUE(dump) << error;
    ASSERT_TRUE(e2e::JackObserver::Get()->Connect(sim->OutputPort(), dump->InputPort()));

    // Jack 2 takes foot switches; the box takes the setting before it reads the next command.
    auto endpoint = ConnectTo(*sim);
    ASSERT_TRUE(e2e::SendUntilTaken(*endpoint, *sim,
                                    ToBytes(*BuildSingleSetting(kJack2Mode, kJackModeSwitches))));

    // Each try moves the pedal somewhere new, so a try the server lost is told from the next.
    bool observed = false;
    std::vector<Bytes> expected;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !observed; ++attempt)
    {
        const auto position = static_cast<std::uint8_t>(64 + attempt);
        expected = {
            {0xB0, 0x0B, position}, // control change, channel 1, controller 11 (pedal 1)
            {0xB0, 0x52, 0x7F},     // control change, channel 1, controller 82 (switch A2), on
            {0xB0, 0x52, 0x00},     // the same, off
        };
        const std::size_t sentBefore = SentMessages(sim->Traffic()).size();
        const std::size_t dumpedBefore = dump->Messages().size();
        ASSERT_TRUE(sim->Process().WriteInput("pedal 1 " + std::to_string(position) +
                                              "\npress a2\nrelease a2\n"));
        ASSERT_TRUE(sim->WaitForTraffic(
            [&](const auto& t) { return SentMessages(t).size() >= sentBefore + 3; }, kLimit));
        const std::vector<Bytes> sent = SentMessages(sim->Traffic());
        ASSERT_EQ(sent.size(), sentBefore + 3);
        EXPECT_TRUE(std::equal(expected.begin(), expected.end(),
                               sent.begin() + static_cast<std::ptrdiff_t>(sentBefore)));
        if (dump->WaitForMessages(dumpedBefore + 3, e2e::kAttemptLimit))
        {
            const std::vector<Bytes> dumped = dump->Messages();
            observed = std::equal(expected.begin(), expected.end(),
                                  dumped.begin() + static_cast<std::ptrdiff_t>(dumpedBefore));
        }
    }
    EXPECT_TRUE(observed) << "jack_midi_dump never saw the three messages in order";

    // The observer saw nothing the box did not send.
    const std::vector<Bytes> sent = SentMessages(sim->Traffic());
    for (const Bytes& message : dump->Messages())
        EXPECT_NE(std::find(sent.begin(), sent.end(), message), sent.end());

    // The end of standard input ends the simulator as "quit" does.
    sim->Process().CloseInput();
    EXPECT_EQ(sim->Process().WaitForExit(kLimit), 0);
}

TEST(SimulatorOverJack, ABadCommandPrintsOneErrorLineAndTheNextCommandStillWorks)
{
    auto sim = StartSimulator({}, true);
    ASSERT_TRUE(sim);

    ASSERT_TRUE(sim->Process().WriteInput("pedal 3 64\npedal 1 10\n"));
    ASSERT_TRUE(sim->WaitForTraffic([](const auto& t) { return !t.empty(); }, kLimit));
    const std::vector<TrafficLine> traffic = sim->Traffic();
    ASSERT_EQ(traffic.size(), 1u);
    EXPECT_TRUE(traffic[0].sent);
    EXPECT_EQ(traffic[0].bytes, (Bytes{0xB0, 0x0B, 0x0A})); // pedal 1 at 10: controller 11, 10

    ASSERT_TRUE(sim->Process().WriteInput("quit\n"));
    const e2e::ChildProcess::Output output = FinalOutput(sim->Process());
    EXPECT_EQ(sim->Process().WaitForExit(kLimit), 0);
    ASSERT_EQ(output.err.size(), 1u);
    EXPECT_TRUE(output.err[0].starts_with("stomplet-sim: pedal takes")) << output.err[0];
}

TEST(SimulatorOverJack, FirmwareTransferIsWrittenToTheFileByteForByte)
{
    const std::filesystem::path folder = e2e::ScratchFolder();
    const std::filesystem::path imageFile = folder / "firmware.bin";
    auto sim = StartSimulator({"--no-stdin", "--firmware-out", imageFile.string()});
    ASSERT_TRUE(sim);
    auto endpoint = ConnectTo(*sim);

    // Two pages of bytes that use all eight bits.
    constexpr int kPages = 2;
    std::string image(kPages * kFirmwarePageBytes, '\0');
    for (std::size_t i = 0; i < image.size(); ++i)
        image[i] = static_cast<char>((i * 37 + 11) & 0xFF);

    std::vector<Bytes> messages{ToBytes(*BuildFirmwareStart(kPages))};
    for (std::size_t start = 0; start < image.size(); start += kFirmwareBlockBytes)
    {
        const auto* data = reinterpret_cast<const std::uint8_t*>(image.data()) + start;
        const std::optional<PackedBlock> packed =
            PackFirmwareBlock(std::span(data, kFirmwareBlockBytes));
        ASSERT_TRUE(packed);
        messages.push_back(ToBytes(*BuildFirmwareBlock(*packed)));
    }
    ASSERT_EQ(messages.size(), 1u + kPages * kBlocksPerFirmwarePage);

    // One message at a time, each taken before the next goes, so none can overtake another. A
    // lost block cannot be sent again; the whole transfer, which starts afresh, can.
    bool complete = false;
    for (int attempt = 0; attempt < e2e::kSendAttempts && !complete; ++attempt)
    {
        complete = true;
        for (const Bytes& message : messages)
        {
            EXPECT_FALSE(std::filesystem::exists(imageFile)) << "written before the last block";
            const std::size_t before = sim->Traffic().size();
            endpoint->Send(message);
            if (!sim->WaitForTraffic([&](const auto& t) { return t.size() > before; },
                                     e2e::kAttemptLimit) ||
                sim->Traffic()[before].bytes != message)
            {
                complete = false;
                break;
            }
        }
    }
    ASSERT_TRUE(complete) << "the server lost a message in every try";

    // The simulator reports the transfer after the file is in place.
    ASSERT_TRUE(sim->Process().WaitForLines([](const auto& o) { return !o.err.empty(); }, kLimit));
    EXPECT_EQ(ReadFile(imageFile), image);
    // The file appeared whole: no temporary file is left beside it.
    const auto entries = std::distance(std::filesystem::directory_iterator(folder),
                                       std::filesystem::directory_iterator());
    EXPECT_EQ(entries, 1);
    EXPECT_TRUE(endpoint->Received().empty());

    sim->Process().Signal(SIGTERM);
    const e2e::ChildProcess::Output output = FinalOutput(sim->Process());
    ASSERT_EQ(output.err.size(), 1u);
    EXPECT_EQ(output.err[0], "stomplet-sim: firmware transfer complete: 2 pages, 2048 bytes, 0 "
                             "blocks with a bad checksum; image written to " +
                                 imageFile.string());
}
