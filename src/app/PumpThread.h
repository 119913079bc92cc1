#pragma once

#include "app/PumpDriverSlot.h"
#include "core/IPlugAPP.h"

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <thread>

// The time from the first pump step to step `step` on the fixed grid of 64 frames at 44100 Hz
// (1.451247... ms per step), rounded down to whole nanoseconds and computed exactly for any step,
// so the grid never drifts: step 44100 is exactly 64 s.
std::chrono::nanoseconds PumpStepOffset(std::uint64_t step) noexcept;

// Drives the application's ProcessPump without audio: a thread that runs one 64-frame step every
// 64/44100 s on a fixed grid of a steady clock, with silent scratch output buffers, so incoming
// MIDI reaches the application when no audio stream can run. While the input rings are empty it
// sleeps until the next message is enqueued, so an idle editor costs no wake-ups. The period does
// not depend on the settings' sample rate or buffer size.
//
// Start/stop contract: Start acquires the PumpDriverSlot as kPumpThread and fails while another
// driver (the audio stream) holds it; Stop joins the thread and only then releases the slot. So a
// shell switching drivers stops one before starting the other, and the application's rings never
// see two consumers.
//
// If the thread falls more than kMaxLag behind the grid (a suspended machine), it starts a new grid
// from the present instead of running the missed steps in a burst.
// [main thread] for every member but StepCount().
class PumpThread
{
public:
    static constexpr int kFrames = IPlugAPP::kPumpFrames;
    static constexpr std::uint32_t kSampleRate = 44100;
    static constexpr std::chrono::milliseconds kMaxLag{100};

    // `app` and `slot` must outlive the thread object.
    PumpThread(IPlugAPP& app, PumpDriverSlot& slot);
    // Stops the thread if it runs.
    ~PumpThread();
    PumpThread(const PumpThread&) = delete;
    PumpThread& operator=(const PumpThread&) = delete;

    // Sets the application's sample rate to 44100 and its block size to 64, then starts the thread.
    // False when it already runs, when the slot is held by another driver, or when the system
    // cannot start a thread.
    bool Start();
    // Asks the thread to end and joins it: returns after the step in progress has finished (a step
    // never waits for the main thread), with no ProcessPump call of this driver running or to come.
    // Then releases the slot. Does nothing when not running.
    void Stop();
    bool Running() const { return mThread.joinable(); }

    // [any thread] Steps run since construction.
    std::uint64_t StepCount() const { return mSteps.load(std::memory_order_acquire); }

private:
    void Run() noexcept;

    IPlugAPP& mApp;
    PumpDriverSlot& mSlot;
    std::atomic<bool> mStopRequested{false};
    std::atomic<std::uint64_t> mSteps{0};
    std::array<double, kFrames> mLeft{};
    std::array<double, kFrames> mRight{};
    std::array<double*, 2> mOutputs{};
    std::thread mThread;
};
