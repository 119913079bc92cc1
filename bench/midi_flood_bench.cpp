// midi_flood_bench: the editor under a flood of control changes from a JACK client of this
// program: 1,000 per second (the most a DIN cable carries) for 10 s, then 5,000 per second for
// 10 s, with AUDITION on and the editor's window shown. For each rate it prints one results-table
// row: messages sent, handled by the pump, dropped by each of the four rings, shown by the view,
// passed on by audition (counted at this client's input), the longest gap between two 20 ms
// application ticks, and what pedal 1's display ends on.
//
// Pedal 1 is first set to controller 7 (an edit, as the user makes it); the control changes carry
// pedal 1's message, so its display shows their values, with the value counting up modulo 128.
//
// Needs JACK_DEFAULT_SERVER naming a running server. Runs on Qt's offscreen platform unless
// QT_QPA_PLATFORM names another.

#include "BenchStomplet.h"
#include "JackBenchClient.h"
#include "app/QtTimerBackend.h"
#include "app/ViewWidget.h"
#include "device/AssignmentSlots.h"
#include "editor/AssignmentSummary.h"

#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <string>

namespace floodbench
{
constexpr const char* kClientName = "flood-bench";
constexpr int kSeconds = 10;
constexpr int kDrainMs = 500;
constexpr double kTickGapLimitMs = 50.0;
// Pedal 1 is set to send this controller (7, volume), so its display shows the flood's values.
constexpr int kController = 7;

// Sends `total` control changes at `rate` per second on a grid of the server's frame clock and
// counts every event arriving at its input.
class JackFlood
{
public:
    JackFlood()
    {
        mOut = mJack.AddMidiPort("out", JackPortIsOutput);
        mIn = mJack.AddMidiPort("in", JackPortIsInput);
        mJack.Activate(&JackFlood::Process, this);
    }

    bool Running() const { return mJack.Running(); }

    // [main thread] Starts a flood; the previous one must have ended (Done()).
    void Start(std::uint8_t status, std::uint8_t controller, std::uint64_t rate,
               std::uint64_t total)
    {
        mStatus = status;
        mController = controller;
        mRate = rate;
        mTotal = total;
        mSent.store(0, std::memory_order_relaxed);
        mStartFrame = kUnset;
        mActive.store(true, std::memory_order_release);
    }
    bool Done() const { return !mActive.load(std::memory_order_acquire); }
    std::uint64_t Sent() const { return mSent.load(std::memory_order_acquire); }
    std::uint64_t Received() const { return mReceived.load(std::memory_order_acquire); }
    static std::uint8_t ValueOf(std::uint64_t index)
    {
        return static_cast<std::uint8_t>(index % 128);
    }

private:
    static constexpr std::uint64_t kUnset = ~std::uint64_t{0};

    // [JACK process thread]
    static int Process(jack_nframes_t frames, void* arg)
    {
        static_cast<JackFlood*>(arg)->Cycle(frames);
        return 0;
    }

    void Cycle(jack_nframes_t frames)
    {
        void* in = jack_port_get_buffer(mIn, frames);
        mReceived.fetch_add(jack_midi_get_event_count(in), std::memory_order_release);
        void* out = jack_port_get_buffer(mOut, frames);
        jack_midi_clear_buffer(out);
        if (!mActive.load(std::memory_order_acquire))
            return;

        const std::uint64_t cycleStart = jack_last_frame_time(mJack.Get());
        if (mStartFrame == kUnset)
            mStartFrame = cycleStart;
        const std::uint64_t sampleRate = jack_get_sample_rate(mJack.Get());
        std::uint64_t sent = mSent.load(std::memory_order_relaxed);
        while (sent < mTotal)
        {
            const std::uint64_t due = mStartFrame + sent * sampleRate / mRate;
            if (due >= cycleStart + frames)
                break;
            const auto offset =
                static_cast<jack_nframes_t>(due > cycleStart ? due - cycleStart : 0);
            const std::uint8_t bytes[3] = {mStatus, mController, ValueOf(sent)};
            if (jack_midi_event_write(out, offset, bytes, sizeof bytes) != 0)
                break; // the buffer is full: the rest goes out next cycle
            ++sent;
        }
        mSent.store(sent, std::memory_order_release);
        if (sent >= mTotal)
            mActive.store(false, std::memory_order_release);
    }

    jack_port_t* mOut = nullptr;
    jack_port_t* mIn = nullptr;
    // Written by the main thread before mActive is set, read by the process thread after.
    std::uint8_t mStatus = 0xB0;
    std::uint8_t mController = 0;
    std::uint64_t mRate = 1;
    std::uint64_t mTotal = 0;
    std::uint64_t mStartFrame = kUnset; // process thread only while active
    std::atomic<bool> mActive{false};
    std::atomic<std::uint64_t> mSent{0};
    std::atomic<std::uint64_t> mReceived{0};
    bench::JackBenchClient mJack{kClientName}; // last: closed, and its callback stopped, first
};

void RunEventLoopFor(int ms)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

struct Drops
{
    std::uint64_t fromPortMidi = 0;
    std::uint64_t fromPortSysEx = 0;
    std::uint64_t toViewMidi = 0;
};

Drops ReadDrops(const MidiDropCounts& counts)
{
    return {counts.fromPortMidi.load(), counts.fromPortSysEx.load(), counts.toViewMidi.load()};
}

// One flood at `rate` per second; prints its row. True when its targets were met.
bool Flood(JackFlood& flood, bench::BenchStomplet& editor, std::uint64_t rate)
{
    const MidiMessage record = editor.PedalOneRecord();
    const std::uint64_t total = rate * kSeconds;
    const Drops before = ReadDrops(editor.DropCounts());
    const std::uint64_t handledBefore = editor.Handled();
    const std::uint64_t deliveredBefore = editor.DeliveredToView();
    const std::uint64_t receivedBefore = flood.Received();
    editor.ResetTickRecord();

    flood.Start(record.status, record.data1, rate, total);
    while (!flood.Done())
        RunEventLoopFor(100);
    RunEventLoopFor(kDrainMs);

    const Drops after = ReadDrops(editor.DropCounts());
    const Drops drops{after.fromPortMidi - before.fromPortMidi,
                      after.fromPortSysEx - before.fromPortSysEx,
                      after.toViewMidi - before.toViewMidi};
    const std::uint64_t sent = flood.Sent();
    const std::uint64_t handled = editor.Handled() - handledBefore;
    const std::uint64_t delivered = editor.DeliveredToView() - deliveredBefore;
    const std::uint64_t passedOn = flood.Received() - receivedBefore;
    const std::string lcd = editor.ControlText(SlotLineTagsOf(kSlotPedal1).line3);
    const std::string lastValue = std::to_string(JackFlood::ValueOf(total - 1));

    const std::string figure =
        "sent " + std::to_string(sent) + ", pump handled " + std::to_string(handled) +
        "; dropped: MidiFromPort " + std::to_string(drops.fromPortMidi) + ", SysExFromPort " +
        std::to_string(drops.fromPortSysEx) + ", MidiToView " + std::to_string(drops.toViewMidi) +
        "; view shown " + std::to_string(delivered) + " (at most " +
        std::to_string(editor.MostDeliveredInOneTick()) + " in one tick); audition passed on " +
        std::to_string(passedOn) + "; longest tick gap " +
        bench::Fixed(editor.LongestTickGapMs(), 1) + " ms; pedal 1 LCD \"" + lcd +
        "\" (last sent " + lastValue + ")";

    const bool allHandled = sent == total && handled == sent;
    const bool nothingDropped = drops.fromPortMidi + drops.fromPortSysEx + drops.toViewMidi == 0;
    // The view ring drops only when full: every handled message was shown or counted as dropped,
    // and drops happened only where a tick found the ring holding its 32 entries.
    const bool viewDropsByRule = handled == delivered + drops.toViewMidi &&
                                 (drops.toViewMidi == 0 || editor.MostDeliveredInOneTick() >= 32);
    const bool met = rate <= 1000 ? allHandled && nothingDropped && lcd == lastValue
                                  : editor.LongestTickGapMs() < kTickGapLimitMs && viewDropsByRule;
    const std::string target =
        rate <= 1000 ? "nothing dropped, LCD ends on the last value"
                     : "tick gaps under 50 ms; view queue drops only when its 32 entries are full";
    bench::PrintRow("MIDI flood " + std::to_string(rate) + " CC/s for 10 s", figure, target,
                    bench::YesNo(met));
    return met;
}
} // namespace floodbench

int main(int argc, char* argv[])
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication qtApp(argc, argv);
    QtTimerBackend timers;
    floodbench::JackFlood flood;
    if (!flood.Running())
    {
        bench::PrintRow("MIDI flood", "no JACK server", "-", "no");
        return 1;
    }
    const std::filesystem::path settings = bench::MakeScratchFolder("flood");
    bench::WriteMidiSettings(settings, std::string(floodbench::kClientName) + ":out",
                             std::string(floodbench::kClientName) + ":in");
    bool met = false;
    {
        bench::BenchEditorHost editor(settings);
        ViewWidget view(editor.Host().App());
        view.show();
        editor.Editor().SetAudition(true);
        editor.Editor().SetPedalOneController(floodbench::kController);
        floodbench::RunEventLoopFor(1000);

        const MidiMessage record = editor.Editor().PedalOneRecord();
        if ((record.status & 0xF0) != 0xB0)
            std::fprintf(stderr, "pedal 1 is not set to a control change (status %02X)\n",
                         record.status);
        met = floodbench::Flood(flood, editor.Editor(), 1000);
        met = floodbench::Flood(flood, editor.Editor(), 5000) && met;
        editor.Host().App().CloseView();
    }
    std::filesystem::remove_all(settings.parent_path());
    return met ? 0 : 1;
}
