#pragma once

#include <atomic>

// Who calls the application's ProcessPump.
enum class PumpDriver
{
    kNone,
    kAudioStream, // the audio callback, while a stream runs
    kPumpThread,  // PumpThread, while no stream can run
};

// The right to run the pump. The pump empties rings that have exactly one consumer, so at most one
// driver may run it at any moment. A driver acquires the slot before it starts calling
// ProcessPump and releases it only after its last call has returned (stream stopped, thread
// joined); switching drivers is therefore always stop-then-start, never overlapping.
// [main thread] for acquiring and releasing; Holder() from any thread.
class PumpDriverSlot
{
public:
    // False (and nothing changes) when another driver holds the slot or `driver` is kNone. A
    // driver that already holds it gets true.
    bool TryAcquire(PumpDriver driver) noexcept
    {
        if (driver == PumpDriver::kNone)
            return false;
        PumpDriver expected = PumpDriver::kNone;
        return mHolder.compare_exchange_strong(expected, driver, std::memory_order_acq_rel) ||
               expected == driver;
    }

    // Frees the slot if `driver` holds it; otherwise does nothing.
    void Release(PumpDriver driver) noexcept
    {
        PumpDriver expected = driver;
        mHolder.compare_exchange_strong(expected, PumpDriver::kNone, std::memory_order_acq_rel);
    }

    PumpDriver Holder() const noexcept { return mHolder.load(std::memory_order_acquire); }

private:
    std::atomic<PumpDriver> mHolder{PumpDriver::kNone};
};
