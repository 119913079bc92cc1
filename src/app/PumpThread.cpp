#include "app/PumpThread.h"

#include <system_error>

namespace
{
constexpr std::uint64_t kStepsPerCycle = PumpThread::kSampleRate; // 44100 steps = 64 s exactly
constexpr std::uint64_t kNanosecondsPerCycle =
    static_cast<std::uint64_t>(PumpThread::kFrames) * 1'000'000'000ull;
} // namespace

std::chrono::nanoseconds PumpStepOffset(std::uint64_t step) noexcept
{
    const std::uint64_t cycles = step / kStepsPerCycle;
    const std::uint64_t rest = step % kStepsPerCycle; // rest * 64e9 < 2.9e15, no overflow
    return std::chrono::nanoseconds(static_cast<std::int64_t>(
        cycles * kNanosecondsPerCycle + rest * kNanosecondsPerCycle / kStepsPerCycle));
}

PumpThread::PumpThread(IPlugAPP& app, PumpDriverSlot& slot)
    : mApp(app), mSlot(slot), mOutputs{mLeft.data(), mRight.data()}
{
}

PumpThread::~PumpThread()
{
    Stop();
}

bool PumpThread::Start()
{
    if (mThread.joinable())
        return false;
    if (!mSlot.TryAcquire(PumpDriver::kPumpThread))
        return false;

    mApp.SetSampleRate(static_cast<double>(kSampleRate));
    mApp.SetBlockSize(kFrames);
    mStopRequested.store(false, std::memory_order_release);
    try
    {
        mThread = std::thread(&PumpThread::Run, this);
    }
    catch (const std::system_error&)
    {
        mSlot.Release(PumpDriver::kPumpThread);
        return false;
    }
    return true;
}

void PumpThread::Stop()
{
    if (!mThread.joinable())
        return;
    mStopRequested.store(true, std::memory_order_release);
    mApp.WakePump();
    mThread.join();
    mSlot.Release(PumpDriver::kPumpThread);
}

void PumpThread::Run() noexcept
{
    using Clock = std::chrono::steady_clock;
    Clock::time_point gridStart = Clock::now();
    std::uint64_t step = 0;

    while (!mStopRequested.load(std::memory_order_acquire))
    {
        mApp.ProcessPump(nullptr, mOutputs.data(), kFrames);
        mSteps.fetch_add(1, std::memory_order_acq_rel);

        // Idle: with nothing to process a step would only render silence nobody hears, so the
        // thread sleeps until a message arrives (or Stop wakes it) and starts a new grid then.
        const std::uint32_t wakes = mApp.PumpWakes();
        if (mStopRequested.load(std::memory_order_acquire))
            break;
        if (!mApp.HasPumpInput())
        {
            mApp.WaitForPumpWake(wakes);
            gridStart = Clock::now();
            step = 0;
            continue;
        }

        ++step;
        // Keep the step number small; the grid moves on by whole 64 s cycles.
        if (step == kStepsPerCycle)
        {
            gridStart += std::chrono::nanoseconds(kNanosecondsPerCycle);
            step = 0;
        }
        const Clock::time_point due = gridStart + PumpStepOffset(step);
        const Clock::time_point now = Clock::now();
        if (now - due > kMaxLag)
        {
            gridStart = now;
            step = 0;
            continue;
        }
        std::this_thread::sleep_until(due);
    }
}
