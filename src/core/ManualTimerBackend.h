#pragma once

#include "core/Timer.h"

#include <cstdint>
#include <map>

// A timer backend driven by hand: Advance() moves a virtual clock and fires every tick that falls
// due, in time order, so tests can count 20 ms and 100 ms ticks exactly. Installs itself as the
// process-wide backend for its lifetime and restores the previous one afterwards.
// [main thread]
class ManualTimerBackend final : public TimerBackend
{
public:
    ManualTimerBackend();
    ~ManualTimerBackend() override;
    ManualTimerBackend(const ManualTimerBackend&) = delete;
    ManualTimerBackend& operator=(const ManualTimerBackend&) = delete;

    Id StartTimer(std::uint32_t periodMs) override;
    void StopTimer(Id id) override;

    // Moves the clock forward by `ms`, firing each due tick in order of its due time; ticks due at
    // the same moment fire in the order their timers were started. A timer started by a tick
    // first falls due one period after that tick.
    void Advance(std::int64_t ms);
    std::int64_t NowMs() const override { return mNowMs; }
    int RunningTimers() const { return static_cast<int>(mTimers.size()); }

private:
    struct Entry
    {
        std::uint32_t periodMs;
        std::int64_t dueMs;
    };

    TimerBackend* mPrevious;
    std::map<Id, Entry> mTimers; // by id, which is also the start order
    Id mNextId = 1;
    std::int64_t mNowMs = 0;
};
