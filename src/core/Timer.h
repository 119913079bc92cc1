#pragma once

#include <cstdint>
#include <functional>
#include <memory>

class Timer;

// The platform's periodic timers, as the core sees them. The application installs a Qt backend;
// tests install ManualTimerBackend.
class TimerBackend
{
public:
    using Id = std::uintptr_t;

    virtual ~TimerBackend() = default;
    // [main thread] Starts a periodic timer whose ticks call Timer_impl::TimerProc(id) on the main
    // thread every `periodMs` milliseconds. Returns 0 when no timer could be started.
    virtual Id StartTimer(std::uint32_t periodMs) = 0;
    // [main thread] No tick for `id` arrives after this returns.
    virtual void StopTimer(Id id) = 0;
    // [main thread] The clock the ticks follow, in milliseconds, never going backwards. By default
    // the system's steady clock.
    virtual std::int64_t NowMs() const;
};

// The process-wide backend used by Timer::Create; not owned. Without one, timers never tick.
// [main thread]
void SetTimerBackend(TimerBackend* backend);
TimerBackend* GetTimerBackend();
// The installed backend's NowMs(), or the steady clock's without one: what code paced by timer
// ticks measures intervals with.
std::int64_t TimerClockNowMs();

// A periodic main-thread timer that calls its function with itself.
class Timer
{
public:
    using ITimerFunction = std::function<void(Timer&)>;

    // [main thread] A timer that cannot be started exists but never ticks; nothing is reported.
    static std::unique_ptr<Timer> Create(ITimerFunction func, std::uint32_t periodMs);

    virtual ~Timer() = default;
    // [main thread] Idempotent. A timer may stop itself, or another timer, from its function.
    virtual void Stop() = 0;
    virtual bool Running() const = 0;
    virtual std::uint32_t PeriodMs() const = 0;
};

// The platform form of Timer. Every running timer is listed in one process-wide list guarded by
// one process-wide recursive lock, held while a timer's function runs, so that function may create
// or stop timers.
class Timer_impl final : public Timer
{
public:
    Timer_impl(ITimerFunction func, std::uint32_t periodMs);
    ~Timer_impl() override;
    Timer_impl(const Timer_impl&) = delete;
    Timer_impl& operator=(const Timer_impl&) = delete;

    void Stop() override;
    bool Running() const override { return mId != 0; }
    std::uint32_t PeriodMs() const override { return mPeriodMs; }

    // [main thread] Called by the backend for each tick: runs the function of the first listed
    // timer with this id, if any.
    static void TimerProc(TimerBackend::Id id);

private:
    TimerBackend::Id mId = 0; // 0 while stopped
    TimerBackend* mBackend = nullptr;
    ITimerFunction mFunc;
    std::uint32_t mPeriodMs;
};
