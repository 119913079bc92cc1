#include "support/ToolkitBench.h"
#include "ui/ControlTags.h"
#include "ui/ILEDControl.h"

#include <gtest/gtest.h>

TEST(ActivityLight, FlashStartsBrightAndFadesAlongTheCubeOfWhatRemainsAndAFlashRestartsIt)
{
    ToolkitBench bench;
    auto* light = bench.graphics.AttachControl(
        std::make_unique<ILEDControl>(IRECT(999.f, 5.f, 1019.f, 37.f), 0.5f), kCtrlTagMidiLight);
    FlashActivityLight(bench.graphics);
    bench.graphics.OnFrame(1000.0); // the flash starts on this frame
    EXPECT_DOUBLE_EQ(light->GetValue(), 1.0);
    bench.graphics.OnFrame(1100.0);
    EXPECT_DOUBLE_EQ(light->GetValue(), 0.125);
    bench.graphics.OnFrame(1200.0);
    bench.graphics.OnFrame(1216.0);
    EXPECT_FALSE(light->HasAnimation());
    EXPECT_LE(light->GetValue(), 1e-12);

    light->Flash(); // a flash during a flash starts again from full brightness
    bench.graphics.OnFrame(2000.0);
    bench.graphics.OnFrame(2150.0);
    light->Flash();
    bench.graphics.OnFrame(2166.0);
    bench.graphics.OnFrame(2266.0);
    EXPECT_DOUBLE_EQ(light->GetValue(), 0.125);
}
