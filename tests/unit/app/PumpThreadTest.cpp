#include "app/PumpThread.h"

#include <gtest/gtest.h>

using std::chrono::nanoseconds;

TEST(PumpStepGrid, StepsFallEvery64FramesAt44100HzWithoutDrift)
{
    EXPECT_EQ(PumpStepOffset(0), nanoseconds(0));
    EXPECT_EQ(PumpStepOffset(1), nanoseconds(1'451'247)); // 64 / 44100 s, rounded down
    EXPECT_EQ(PumpStepOffset(689), nanoseconds(999'909'297));
    EXPECT_EQ(PumpStepOffset(44100), nanoseconds(64'000'000'000));
    // A year of steps is still exact.
    EXPECT_EQ(PumpStepOffset(44100ull * 492'750), nanoseconds(31'536'000'000'000'000));
    EXPECT_EQ(PumpStepOffset(44100ull * 492'750 + 1),
              nanoseconds(31'536'000'000'000'000 + 1'451'247));
}
