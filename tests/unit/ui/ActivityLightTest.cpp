#include "support/ToolkitBench.h"
#include "ui/ControlTags.h"
#include "ui/ILEDControl.h"

#include <gtest/gtest.h>

namespace
{
const IRECT kLight(999.f, 5.f, 1019.f, 37.f);

struct LightBench : ToolkitBench
{
    LightBench()
    {
        light =
            graphics.AttachControl(std::make_unique<ILEDControl>(kLight, 0.5f), kCtrlTagMidiLight);
    }
    ILEDControl* light = nullptr;
};
} // namespace

TEST(ActivityLight, FlashStartsBrightAndFadesAlongTheCubeOfWhatRemainsAndAFlashRestartsIt)
{
    LightBench bench;
    FlashActivityLight(bench.graphics);
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 1.0);
    bench.graphics.OnFrame(1000.0); // the flash starts on this frame
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 1.0);
    bench.graphics.OnFrame(1100.0);
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 0.125);
    bench.graphics.OnFrame(1200.0);
    EXPECT_TRUE(bench.light->HasAnimation());
    bench.graphics.OnFrame(1216.0);
    EXPECT_FALSE(bench.light->HasAnimation());
    EXPECT_LE(bench.light->GetValue(), 1e-12);
    EXPECT_EQ(ILEDControl::LightColor(1.0), IColor(255, 76, 255, 255)); // full brightness: cyan

    bench.light->Flash(); // a flash during a flash starts again from full brightness
    bench.graphics.OnFrame(2000.0);
    bench.graphics.OnFrame(2150.0);
    ASSERT_LT(bench.light->GetValue(), 0.1);
    bench.light->Flash();
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 1.0);
    bench.graphics.OnFrame(2166.0);
    bench.graphics.OnFrame(2266.0);
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 0.125);
}
