// audition_latency_bench: what the editor's AUDITION pass-through adds to a MIDI round trip.
// JACK's jack_midi_latency_test runs twice on the running JACK server: once through a plain
// pass-through client in this program (each cycle's incoming events copied to its output in the
// same cycle: the JACK graph alone) and once through the editor (its RtMidi JACK input, the pump,
// audition, its RtMidi JACK output). The figure is the difference of the two runs' 99th
// percentiles, taken from the tool's latency plots (0.1 ms bins) pooled over runs of 100 messages.
//
//   audition_latency_bench [messages]     (default 500 messages through each path)
//
// Needs JACK_DEFAULT_SERVER naming a running server and jack_midi_latency_test on the PATH.
// (The tool cannot loop its own output into its own input: it clears its output buffer before
// reading its input, and it waits for connections to two other ports.)

#include "BenchStomplet.h"
#include "JackBenchClient.h"
#include "app/QtTimerBackend.h"

#include <QCoreApplication>
#include <QProcess>
#include <QStringList>
#include <QTimer>
#include <algorithm>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace latencybench
{
constexpr const char* kClientName = "latency-bench";
constexpr const char* kEditorInput = "RtMidi Input Client:RtMidi Input";
constexpr const char* kEditorOutput = "RtMidi Output Client:RtMidi Output";
constexpr double kPumpPeriodMs = 64.0 * 1000.0 / 44100.0;

// A JACK client with a same-cycle MIDI pass-through (loop_in to loop_out) and a silent pair of
// ports (anchor_out, anchor_in) for the editor's settings to name.
class JackLoop
{
public:
    JackLoop()
    {
        mLoopIn = mJack.AddMidiPort("loop_in", JackPortIsInput);
        mLoopOut = mJack.AddMidiPort("loop_out", JackPortIsOutput);
        mAnchorOut = mJack.AddMidiPort("anchor_out", JackPortIsOutput);
        mJack.AddMidiPort("anchor_in", JackPortIsInput);
        mJack.Activate(&JackLoop::Process, this);
    }

    bool Running() const { return mJack.Running(); }
    double PeriodMs() const { return mJack.PeriodMs(); }
    // Which driver runs the editor's pump: RtAudio's JACK client exists while its stream runs.
    bool AudioStreamOnJack() const
    {
        const char** ports = jack_get_ports(mJack.Get(), "^RtApiJack", nullptr, 0);
        const bool found = ports != nullptr;
        jack_free(ports);
        return found;
    }

private:
    // [JACK process thread]
    static int Process(jack_nframes_t frames, void* arg)
    {
        auto& self = *static_cast<JackLoop*>(arg);
        void* in = jack_port_get_buffer(self.mLoopIn, frames);
        void* out = jack_port_get_buffer(self.mLoopOut, frames);
        jack_midi_clear_buffer(out);
        jack_midi_clear_buffer(jack_port_get_buffer(self.mAnchorOut, frames));
        const jack_nframes_t count = jack_midi_get_event_count(in);
        for (jack_nframes_t i = 0; i < count; ++i)
        {
            jack_midi_event_t event;
            if (jack_midi_event_get(&event, in, i) == 0)
                jack_midi_event_write(out, event.time, event.buffer, event.size);
        }
        return 0;
    }

    jack_port_t* mLoopIn = nullptr;
    jack_port_t* mLoopOut = nullptr;
    jack_port_t* mAnchorOut = nullptr;
    bench::JackBenchClient mJack{kClientName}; // last: closed, and its callback stopped, first
};

// One run's or several pooled runs' round trips.
struct RoundTrip
{
    double totalMs = 0.0; // sum of every round trip, for the average
    double highestMs = 0.0;
    int received = 0;
    std::map<double, int> bins; // latency plot: upper bin edge (ms) and count
    int lostRuns = 0;           // runs that ended on a lost message and were left out

    double AverageMs() const { return received > 0 ? totalMs / received : 0.0; }
    // The upper edge of the bin holding the 99th percentile.
    double P99Ms() const
    {
        const double wanted = 0.99 * received;
        int seen = 0;
        for (const auto& [edge, count] : bins)
        {
            seen += count;
            if (seen >= wanted)
                return edge;
        }
        return highestMs;
    }
    void Add(const RoundTrip& run)
    {
        totalMs += run.totalMs;
        highestMs = std::max(highestMs, run.highestMs);
        received += run.received;
        for (const auto& [edge, count] : run.bins)
            bins[edge] += count;
    }
};

// Reads the tool's report: "Average latency: 5.41 ms (...)", "Highest latency: ...", the latency
// plot's bins "5.3 - 5.4 ms: 12" (and "     > 15.3 ms: 2"), "Messages received: 500". Nothing
// when the run did not complete.
std::optional<RoundTrip> ParseReport(const std::string& report)
{
    RoundTrip trip;
    double averageMs = -1.0;
    bool inPlot = false;
    std::istringstream lines(report);
    for (std::string line; std::getline(lines, line);)
    {
        double low = 0.0;
        double high = 0.0;
        int count = 0;
        if (std::sscanf(line.c_str(), "Average latency: %lf ms", &averageMs) == 1)
            continue;
        if (std::sscanf(line.c_str(), "Highest latency: %lf ms", &trip.highestMs) == 1)
            continue;
        if (std::sscanf(line.c_str(), "Messages received: %d", &trip.received) == 1)
            continue;
        if (line.starts_with("Latency Plot:"))
            inPlot = true;
        else if (inPlot && std::sscanf(line.c_str(), "%lf - %lf ms: %d", &low, &high, &count) == 3)
            trip.bins[high] += count;
        else if (inPlot && std::sscanf(line.c_str(), " > %lf ms: %d", &low, &count) == 2)
            trip.bins[trip.highestMs] += count;
    }
    if (averageMs < 0 || trip.received <= 0 || trip.bins.empty())
        return std::nullopt;
    trip.totalMs = averageMs * trip.received;
    return trip;
}

// Runs the tool with its output connected to `sendTo` and its input fed from `receiveFrom`, in
// runs of kRunMessages, until `messages` round trips are pooled. On a busy machine without
// real-time scheduling a JACK client that misses a cycle loses that cycle's MIDI, and the tool
// then stops; such a run is counted in lostRuns and repeated, up to kMaxLostRuns times.
constexpr int kRunMessages = 100;
constexpr int kMaxLostRuns = 10;

std::optional<RoundTrip> RunTool(int messages, const QString& sendTo, const QString& receiveFrom)
{
    RoundTrip pooled;
    while (pooled.received < messages)
    {
        QProcess tool;
        tool.setProcessChannelMode(QProcess::MergedChannels);
        tool.start(QStringLiteral("jack_midi_latency_test"),
                   {QStringLiteral("-s"), QString::number(kRunMessages), sendTo, receiveFrom});
        // The editor's ticks and probes keep running while the tool measures.
        while (!tool.waitForFinished(20))
            QCoreApplication::processEvents();
        const std::string report = tool.readAll().toStdString();
        if (const auto run = ParseReport(report))
            pooled.Add(*run);
        else if (++pooled.lostRuns > kMaxLostRuns)
        {
            std::fprintf(stderr, "jack_midi_latency_test to %s gave no result:\n%s\n",
                         qPrintable(sendTo), report.c_str());
            return std::nullopt;
        }
    }
    return pooled;
}
} // namespace latencybench

int main(int argc, char* argv[])
{
    QCoreApplication qtApp(argc, argv);
    const int messages = argc > 1 ? std::max(1, std::atoi(argv[1])) : 500;
    const char* what = "audition latency added (p99 through the editor minus p99 through a "
                       "same-cycle JACK pass-through)";

    QtTimerBackend timers;
    latencybench::JackLoop loop;
    if (!loop.Running())
    {
        bench::PrintRow(what, "no JACK server", "-", "no");
        return 1;
    }
    const std::filesystem::path settings = bench::MakeScratchFolder("latency");
    bench::WriteMidiSettings(settings, std::string(latencybench::kClientName) + ":anchor_out",
                             std::string(latencybench::kClientName) + ":anchor_in");
    int status = 1;
    {
        bench::BenchEditorHost editor(settings);
        editor.Editor().SetAudition(true);

        const auto direct = latencybench::RunTool(messages, QStringLiteral("latency-bench:loop_in"),
                                                  QStringLiteral("latency-bench:loop_out"));
        const auto through = latencybench::RunTool(messages, latencybench::kEditorInput,
                                                   latencybench::kEditorOutput);
        const double targetMs = loop.PeriodMs() + latencybench::kPumpPeriodMs;
        const std::string target = "at most " + bench::Fixed(targetMs, 2) + " ms (JACK period " +
                                   bench::Fixed(loop.PeriodMs(), 2) + " + pump period " +
                                   bench::Fixed(latencybench::kPumpPeriodMs, 2) + ")";
        if (direct && through)
        {
            const double added = through->P99Ms() - direct->P99Ms();
            const std::string figure =
                bench::Fixed(added, 2) + " ms (p99 " + bench::Fixed(through->P99Ms(), 1) + " vs " +
                bench::Fixed(direct->P99Ms(), 1) + "; average " +
                bench::Fixed(through->AverageMs(), 2) + " vs " +
                bench::Fixed(direct->AverageMs(), 2) + "; worst " +
                bench::Fixed(through->highestMs, 2) + " vs " + bench::Fixed(direct->highestMs, 2) +
                "; " + std::to_string(through->received) +
                " messages each; runs of 100 lost to a missed cycle and repeated: " +
                std::to_string(through->lostRuns) + " vs " + std::to_string(direct->lostRuns) +
                "; pump on " +
                (loop.AudioStreamOnJack() ? "the JACK audio stream" : "the pump thread") + ")";
            bench::PrintRow(what, figure, target, bench::YesNo(added <= targetMs));
            status = 0;
        }
        else
            bench::PrintRow(what, "the test gave no result (see stderr)", target, "no");
    }
    std::filesystem::remove_all(settings.parent_path());
    return status;
}
