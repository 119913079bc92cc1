#include "core/ManualTimerBackend.h"

#include <algorithm>

ManualTimerBackend::ManualTimerBackend() : mPrevious(GetTimerBackend())
{
    SetTimerBackend(this);
}

ManualTimerBackend::~ManualTimerBackend()
{
    SetTimerBackend(mPrevious);
}

TimerBackend::Id ManualTimerBackend::StartTimer(std::uint32_t periodMs)
{
    const Id id = mNextId++;
    mTimers[id] = {std::max<std::uint32_t>(periodMs, 1),
                   mNowMs + std::max<std::uint32_t>(periodMs, 1)};
    return id;
}

void ManualTimerBackend::StopTimer(Id id)
{
    mTimers.erase(id);
}

void ManualTimerBackend::Advance(std::int64_t ms)
{
    const std::int64_t target = mNowMs + std::max<std::int64_t>(ms, 0);
    for (;;)
    {
        // The earliest due tick; std::map's order breaks ties by start order.
        auto next = mTimers.end();
        for (auto it = mTimers.begin(); it != mTimers.end(); ++it)
        {
            if (next == mTimers.end() || it->second.dueMs < next->second.dueMs)
                next = it;
        }
        if (next == mTimers.end() || next->second.dueMs > target)
            break;

        const Id id = next->first;
        mNowMs = next->second.dueMs;
        next->second.dueMs += next->second.periodMs;
        Timer_impl::TimerProc(id); // may start or stop timers, so `next` is not used again
    }
    mNowMs = target;
}
