#pragma once

#include "app/AppHost.h"
#include "core/MidiRecords.h"
#include "editor/ctrlWaveStomplet.h"
#include "midi/RtMidiPorts.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace bench
{
// The editor with counters the benchmarks read: the messages its pump handled, the messages that
// reached its display work, and the spacing of its 20 ms application ticks. Behaves exactly as the
// editor otherwise.
class BenchStomplet final : public ctrlWaveStomplet
{
public:
    // [pump thread]
    void HandleMidiMessage(const MidiMessage& msg) override;
    // [main thread]
    void OnMidiForView(const MidiMessage& msg) override;
    // [main thread] Records the time since the previous tick, then the editor's tick.
    void OnTimerTick() override;

    // [main thread] Starts a new measurement: the tick gap and per-tick maximum restart from here.
    void ResetTickRecord();

    // [any thread]
    std::uint64_t Handled() const { return mHandled.load(std::memory_order_relaxed); }
    // [main thread]
    std::uint64_t DeliveredToView() const { return mDelivered; }
    std::uint64_t Ticks() const { return mTicks; }
    double LongestTickGapMs() const { return mLongestGapMs; }
    int MostDeliveredInOneTick() const { return mMostInOneTick; }
    // Sets pedal 1's controller number as the user would (an edit, sent to the box after its
    // debounce), which also gives pedal 1's display the record it matches incoming MIDI against.
    void SetPedalOneController(int controller);
    // The message pedal 1's display answers to with its live value (a slot record); all zero until
    // a setting of the slot was edited or received.
    MidiMessage PedalOneRecord() const;
    // The text of the control with `tag`; empty without a view or such a control.
    std::string ControlText(int tag) const;

private:
    std::atomic<std::uint64_t> mHandled{0};
    std::uint64_t mDelivered = 0;
    std::uint64_t mTicks = 0;
    int mDeliveredThisTick = 0;
    int mMostInOneTick = 0;
    double mLongestGapMs = 0.0;
    std::chrono::steady_clock::time_point mLastTick{};
};

// A new empty folder for one benchmark's settings under the system's temporary folder.
std::filesystem::path MakeScratchFolder(std::string_view name);

// settings.ini in `folder` with the editor's MIDI input on the JACK port `inputFrom` and its output
// on `outputTo`; every other key keeps its default.
void WriteMidiSettings(const std::filesystem::path& folder, std::string_view inputFrom,
                       std::string_view outputTo);

// The editor's host on RtMidi JACK ports, as the program builds it, around a BenchStomplet.
// Requires a running QtTimerBackend for the ticks. [main thread]
class BenchEditorHost
{
public:
    explicit BenchEditorHost(const std::filesystem::path& settingsFolder);

    BenchStomplet& Editor() { return *mEditor; }
    AppHost& Host() { return *mHost; }

private:
    RtMidiPortFactory mPorts{MidiSystem::kJack};
    BenchStomplet* mEditor = nullptr; // owned by mHost
    std::unique_ptr<AppHost> mHost;
};

// "<figure>" with `decimals` places.
std::string Fixed(double value, int decimals);
// One row of the results table: what was measured, the figure, the target and whether it was met.
void PrintRow(std::string_view what, std::string_view figure, std::string_view target,
              std::string_view met);
inline const char* YesNo(bool met)
{
    return met ? "yes" : "no";
}
} // namespace bench
