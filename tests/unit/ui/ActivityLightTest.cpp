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

TEST(ActivityLight, FullBrightnessIsCyanZeroIsBlackAndOutsideTheRangeIsHeldToIt)
{
    EXPECT_EQ(ILEDControl::LightColor(1.0), IColor(255, 76, 255, 255));
    EXPECT_EQ(ILEDControl::LightColor(0.0), IColor(255, 0, 0, 0));
    EXPECT_EQ(ILEDControl::LightColor(3.0), ILEDControl::LightColor(1.0));
    EXPECT_EQ(ILEDControl::LightColor(-1.0), ILEDControl::LightColor(0.0));
}

TEST(ActivityLight, FlashStartsBrightAndFadesAlongTheCubeOfWhatRemains)
{
    LightBench bench;
    FlashActivityLight(bench.graphics);
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 1.0);
    bench.graphics.OnFrame(1000.0); // the flash starts on this frame
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 1.0);
    bench.graphics.OnFrame(1100.0);
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 0.125);
    bench.graphics.OnFrame(1150.0);
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 0.25 * 0.25 * 0.25);
    bench.graphics.OnFrame(1200.0);
    EXPECT_TRUE(bench.light->HasAnimation());
    bench.graphics.OnFrame(1216.0);
    EXPECT_FALSE(bench.light->HasAnimation());
    EXPECT_LE(bench.light->GetValue(), 1e-12);
}

TEST(ActivityLight, FlashDuringAFlashStartsAgainFromFullBrightness)
{
    LightBench bench;
    bench.light->Flash();
    bench.graphics.OnFrame(0.0);
    bench.graphics.OnFrame(150.0);
    ASSERT_LT(bench.light->GetValue(), 0.1);
    bench.light->Flash();
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 1.0);
    bench.graphics.OnFrame(166.0);
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 1.0);
    bench.graphics.OnFrame(266.0);
    EXPECT_DOUBLE_EQ(bench.light->GetValue(), 0.125);
}

TEST(ActivityLight, WithoutALightFlashDoesNothing)
{
    ToolkitBench bench;
    FlashActivityLight(bench.graphics);
    EXPECT_FALSE(bench.graphics.IsAnimating());
}

TEST(ActivityLight, DrawsAnOutlineAndAGlowThatGrowsWithTheBrightness)
{
    LightBench bench;
    RecordingPainter painter;
    bench.light->SetValue(1.0);
    bench.light->Draw(painter);

    // A square of half the width (10) centred in the rectangle.
    const auto outlines = painter.CallsOf(RecordingPainter::Op::kDrawEllipse);
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_EQ(outlines[0].rect, IRECT(1004, 16, 1014, 26));
    EXPECT_EQ(outlines[0].color, IColor(255, 0, 0, 0));
    EXPECT_FLOAT_EQ(outlines[0].thickness, 1.f);

    const auto glows = painter.CallsOf(RecordingPainter::Op::kFillRadialGradient);
    ASSERT_EQ(glows.size(), 1u);
    EXPECT_EQ(glows[0].color, IColor(255, 76, 255, 255));
    EXPECT_EQ(glows[0].secondColor, IColor(0, 0, 0, 0));
    EXPECT_EQ(glows[0].points, (std::vector<float>{1009.f, 21.f}));
    EXPECT_FLOAT_EQ(glows[0].radius, 5.f * 1.65f);

    painter.Clear();
    bench.light->SetValue(0.0);
    bench.light->Draw(painter);
    const auto darkGlows = painter.CallsOf(RecordingPainter::Op::kFillRadialGradient);
    ASSERT_EQ(darkGlows.size(), 1u);
    EXPECT_FLOAT_EQ(darkGlows[0].radius, 5.f);
    EXPECT_EQ(darkGlows[0].color, IColor(255, 0, 0, 0));
}

TEST(ActivityLight, TinyLightStillHasAOnePixelSquare)
{
    ToolkitBench bench;
    auto* light =
        bench.graphics.AttachControl(std::make_unique<ILEDControl>(IRECT(10.f, 10.f, 11.f, 30.f)));
    RecordingPainter painter;
    light->Draw(painter);
    const auto outlines = painter.CallsOf(RecordingPainter::Op::kDrawEllipse);
    ASSERT_EQ(outlines.size(), 1u);
    EXPECT_FLOAT_EQ(outlines[0].rect.W(), 1.f);
    EXPECT_FLOAT_EQ(outlines[0].rect.H(), 1.f);
}
