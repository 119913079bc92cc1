#include "core/Timer.h"

#include "core/ManualTimerBackend.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

TEST(Timer, TicksOncePerPeriodAsTheClockAdvances)
{
    ManualTimerBackend clock;
    int ticks = 0;
    auto timer = Timer::Create([&ticks](Timer&) { ++ticks; }, 20);
    clock.Advance(19);
    EXPECT_EQ(ticks, 0);
    clock.Advance(1);
    EXPECT_EQ(ticks, 1);
    clock.Advance(1000);
    EXPECT_EQ(ticks, 51);
}

TEST(Timer, DueTicksFireInTimeOrderAndTiesInStartOrder)
{
    ManualTimerBackend clock;
    std::vector<std::string> order;
    auto slow = Timer::Create([&order](Timer&) { order.push_back("100"); }, 100);
    auto fast = Timer::Create([&order](Timer&) { order.push_back("20"); }, 20);
    clock.Advance(100);
    EXPECT_EQ(order, (std::vector<std::string>{"20", "20", "20", "20", "100", "20"}));
}

TEST(Timer, StoppedOrDestroyedTimersNeverTickAgain)
{
    ManualTimerBackend clock;
    int ticks = 0;
    auto timer = Timer::Create([&ticks](Timer&) { ++ticks; }, 10);
    clock.Advance(10);
    timer->Stop();
    clock.Advance(100);
    EXPECT_EQ(ticks, 1);

    auto other = Timer::Create([&ticks](Timer&) { ++ticks; }, 10);
    other.reset();
    clock.Advance(100);
    EXPECT_EQ(ticks, 1);
    EXPECT_EQ(clock.RunningTimers(), 0);
}

TEST(Timer, ATimerFunctionMayStopItselfAndStartAnotherTimer)
{
    ManualTimerBackend clock;
    int oneShotTicks = 0;
    int childTicks = 0;
    std::unique_ptr<Timer> child;
    auto oneShot = Timer::Create(
        [&](Timer& self)
        {
            ++oneShotTicks;
            self.Stop();
            child = Timer::Create([&childTicks](Timer&) { ++childTicks; }, 30);
        },
        10);
    clock.Advance(100); // the child starts at 10 ms and ticks at 40, 70 and 100
    EXPECT_EQ(oneShotTicks, 1);
    EXPECT_EQ(childTicks, 3);
}
