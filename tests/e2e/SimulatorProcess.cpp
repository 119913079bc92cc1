#include "SimulatorProcess.h"

#include "JackObserver.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <set>

namespace e2e
{
namespace
{
constexpr auto kPortsLimit = std::chrono::milliseconds(10000);
constexpr auto kQuietLimit = std::chrono::milliseconds(5000);
constexpr int kStartAttempts = 3;
constexpr int kExitMidiUnavailable = 3;

std::optional<std::uint8_t> ParseHexByte(std::string_view text)
{
    unsigned value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value, 16);
    if (text.size() != 2 || error != std::errc() || end != text.data() + text.size())
        return std::nullopt;
    return static_cast<std::uint8_t>(value);
}

std::vector<std::string_view> Words(std::string_view line)
{
    std::vector<std::string_view> words;
    while (!line.empty())
    {
        const std::size_t start = line.find_first_not_of(' ');
        if (start == std::string_view::npos)
            break;
        line.remove_prefix(start);
        const std::size_t end = line.find(' ');
        words.push_back(line.substr(0, end));
        line.remove_prefix(end == std::string_view::npos ? line.size() : end);
    }
    return words;
}
} // namespace

std::optional<TrafficLine> ParseTrafficLine(std::string_view line)
{
    const std::vector<std::string_view> words = Words(line);
    if (words.size() < 3 || (words[1] != "in" && words[1] != "out"))
        return std::nullopt;
    TrafficLine parsed;
    const std::string stamp(words[0]);
    char* end = nullptr;
    parsed.milliseconds = std::strtod(stamp.c_str(), &end);
    if (end != stamp.c_str() + stamp.size())
        return std::nullopt;
    parsed.sent = words[1] == "out";
    for (std::size_t i = 2; i < words.size(); ++i)
    {
        const std::optional<std::uint8_t> byte = ParseHexByte(words[i]);
        if (!byte)
            return std::nullopt;
        parsed.bytes.push_back(*byte);
    }
    return parsed;
}

std::unique_ptr<SimulatorProcess> SimulatorProcess::Start(const std::vector<std::string>& arguments,
                                                          bool pipeStandardInput,
                                                          std::string& error)
{
    JackObserver* observer = JackObserver::Get();
    if (!observer)
    {
        error = "no JACK server answers: is the test's server running?";
        return nullptr;
    }
    // Programs of earlier tests may still be leaving the server; a busy server copes badly with
    // clients that come while others are still going, so the simulator waits for a quiet server.
    PollUntil(
        [&]
        {
            const JackConnections ports = observer->Connections();
            return std::all_of(ports.begin(), ports.end(),
                               [](const auto& port) { return port.first.starts_with("system:"); });
        },
        kQuietLimit);
    const JackConnections before = observer->Connections();

    ChildProcess::Options options;
    options.argv = {STOMPLET_SIM_PROGRAM, "--midi-api", "jack"};
    options.argv.insert(options.argv.end(), arguments.begin(), arguments.end());
    options.pipeStandardInput = pipeStandardInput;
    auto sim = std::unique_ptr<SimulatorProcess>(new SimulatorProcess);
    // A server too busy to take a new client in time makes the simulator end with status 3
    // ("MIDI ports cannot be opened"); such a start is tried again.
    int starts = 0;
    const auto start = [&]
    {
        ++starts;
        sim->mInputPort.clear();
        sim->mOutputPort.clear();
        sim->mProcess = ChildProcess::Start(options, error);
        return sim->mProcess != nullptr;
    };
    if (!start())
        return nullptr;

    // The ports that were not there before the start are this simulator's.
    const auto isNew = [&](const std::string& port, std::string_view suffix)
    { return port.starts_with(kClientName) && port.ends_with(suffix) && !before.contains(port); };
    const bool found = PollUntil(
        [&]
        {
            if (!sim->mProcess->Running())
            {
                const bool retry = sim->mProcess->WaitForExit(std::chrono::milliseconds(0)) ==
                                       kExitMidiUnavailable &&
                                   starts < kStartAttempts;
                return !retry || !start();
            }
            for (const auto& [port, connections] : observer->Connections())
            {
                if (isNew(port, ":MIDI In"))
                    sim->mInputPort = port;
                if (isNew(port, ":MIDI Out"))
                    sim->mOutputPort = port;
            }
            return !sim->mInputPort.empty() && !sim->mOutputPort.empty();
        },
        kPortsLimit);
    if (!found || sim->mInputPort.empty() || sim->mOutputPort.empty())
    {
        error = "stomplet-sim's ports did not appear on the JACK server";
        for (const std::string& line : sim->mProcess->Lines().err)
            error += "\n  stderr: " + line;
        return nullptr;
    }
    return sim;
}

std::string SimulatorProcess::Transcript() const
{
    const ChildProcess::Output lines = mProcess->Lines();
    std::string text = "\nstomplet-sim's standard output:";
    for (const std::string& line : lines.out)
        text += "\n  " + line;
    text += "\nstomplet-sim's standard error:";
    for (const std::string& line : lines.err)
        text += "\n  " + line;
    return text;
}

std::vector<TrafficLine> SimulatorProcess::Traffic() const
{
    std::vector<TrafficLine> traffic;
    for (const std::string& line : mProcess->Lines().out)
    {
        if (std::optional<TrafficLine> parsed = ParseTrafficLine(line))
            traffic.push_back(std::move(*parsed));
    }
    return traffic;
}

bool SimulatorProcess::WaitForTraffic(
    const std::function<bool(const std::vector<TrafficLine>&)>& done,
    std::chrono::milliseconds limit) const
{
    return PollUntil([&] { return done(Traffic()); }, limit);
}

std::size_t CountTraffic(const std::vector<TrafficLine>& traffic, bool sent,
                         const std::vector<std::uint8_t>& bytes)
{
    return static_cast<std::size_t>(std::count_if(
        traffic.begin(), traffic.end(),
        [&](const TrafficLine& line) { return line.sent == sent && line.bytes == bytes; }));
}
} // namespace e2e
