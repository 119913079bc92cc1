#include "editor/ctrlWaveStomplet.h"

#include "core/ManualTimerBackend.h"

#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

TEST(EditorParameters, EachSettingHasItsRangeAndValuesStayWithinIt)
{
    ctrlWaveStomplet editor;
    // Jack 2 first: modes, polarity, pedal, switch A, switch B, special bounds; then jack 1.
    const int maxima[kNumParams] = {1,   1,   1,  1, 15, 2,   127, 127, 127, 127, 127, 15,  1,
                                    6,   127, 15, 1, 6,  127, 127, 127, 15,  2,   127, 127, 127,
                                    127, 127, 15, 1, 6,  127, 15,  1,   6,   127, 127, 127};
    for (int idx = 0; idx < kNumParams; ++idx)
    {
        EXPECT_EQ(ParamMaxValue(idx), maxima[idx]) << idx;
        EXPECT_EQ(editor.GetParam(idx)->GetMax(), maxima[idx]) << idx;
    }
    EXPECT_EQ(ParamMaxValue(kNumParams), -1); // no 39th setting to read past the table
    EXPECT_EQ(editor.GetParam(kJack1Mode)->GetName(), "JACK 1 Mode");
    EXPECT_EQ(editor.GetParam(kSwitchA1Function)->GetDisplay(6.0), "Pedal");
    editor.GetParam(kSwitchA1Channel)->Set(40.0);
    editor.GetParam(kSwitchA1Function)->Set(-3.0);
    EXPECT_EQ(editor.GetParam(kSwitchA1Channel)->GetDisplay(), "16");
    EXPECT_EQ(editor.GetParam(kSwitchA1Function)->GetDisplay(), "Control");
}

TEST(DeviceTimer, EditorsShareOneHundredMillisecondTimerAndEitherDestructionReleasesIt)
{
    ManualTimerBackend backend;
    auto first = std::make_unique<ctrlWaveStomplet>();
    const Timer* shared = ctrlWaveStomplet::DeviceTimer();
    ASSERT_NE(shared, nullptr);
    EXPECT_TRUE(shared->Running());
    EXPECT_EQ(shared->PeriodMs(), 100u);
    EXPECT_EQ(backend.RunningTimers(), 2); // the application tick and the device timer
    auto second = std::make_unique<ctrlWaveStomplet>();
    EXPECT_EQ(ctrlWaveStomplet::DeviceTimer(), shared);
    EXPECT_EQ(backend.RunningTimers(), 3); // two application ticks, one device timer
    first.reset();
    EXPECT_EQ(ctrlWaveStomplet::DeviceTimer(), nullptr);
    EXPECT_EQ(backend.RunningTimers(), 1);
    backend.Advance(500); // the remaining editor's ticks run without the released timer
    second.reset();
    EXPECT_EQ(backend.RunningTimers(), 0);
    ctrlWaveStomplet third;
    ASSERT_NE(ctrlWaveStomplet::DeviceTimer(), nullptr);
    EXPECT_TRUE(ctrlWaveStomplet::DeviceTimer()->Running());
}
