#include "core/Timer.h"

#include <algorithm>
#include <chrono>
#include <mutex>
#include <vector>

namespace
{
TimerBackend* gBackend = nullptr;

struct TimerList
{
    std::recursive_mutex lock;
    std::vector<Timer_impl*> timers;
};

TimerList& Timers()
{
    static TimerList list;
    return list;
}
} // namespace

void SetTimerBackend(TimerBackend* backend)
{
    gBackend = backend;
}

TimerBackend* GetTimerBackend()
{
    return gBackend;
}

std::int64_t TimerBackend::NowMs() const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::int64_t TimerClockNowMs()
{
    if (gBackend)
        return gBackend->NowMs();
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

std::unique_ptr<Timer> Timer::Create(ITimerFunction func, std::uint32_t periodMs)
{
    return std::make_unique<Timer_impl>(std::move(func), periodMs);
}

Timer_impl::Timer_impl(ITimerFunction func, std::uint32_t periodMs)
    : mBackend(gBackend), mFunc(std::move(func)), mPeriodMs(periodMs)
{
    if (!mBackend)
        return;
    mId = mBackend->StartTimer(periodMs);
    if (mId != 0)
    {
        std::lock_guard guard(Timers().lock);
        Timers().timers.push_back(this);
    }
}

Timer_impl::~Timer_impl()
{
    Stop();
}

void Timer_impl::Stop()
{
    if (mId == 0)
        return;
    mBackend->StopTimer(mId);
    {
        std::lock_guard guard(Timers().lock);
        auto& timers = Timers().timers;
        timers.erase(std::remove(timers.begin(), timers.end(), this), timers.end());
    }
    mId = 0;
}

void Timer_impl::TimerProc(TimerBackend::Id id)
{
    std::lock_guard guard(Timers().lock);
    const auto& timers = Timers().timers;
    const auto found = std::find_if(timers.begin(), timers.end(),
                                    [id](const Timer_impl* timer) { return timer->mId == id; });
    if (found != timers.end())
        (*found)->mFunc(**found);
}
