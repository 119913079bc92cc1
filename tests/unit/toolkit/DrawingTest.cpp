#include "support/ToolkitBench.h"
#include "toolkit/ICornerResizerControl.h"
#include "toolkit/IVButtonControl.h"
#include "toolkit/IVToggleControl.h"

#include <gtest/gtest.h>

using Op = RecordingPainter::Op;

TEST(DirtyTracking, DirtyAreaIsTheUnionOfTheMarkedControlsAndNothingIsDirtyAfterADraw)
{
    ToolkitBench bench;
    auto* a = bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 50, 50)));
    bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(60, 0, 90, 50)));
    auto* c = bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 100, 10, 110)));
    EXPECT_TRUE(bench.DrawDirty());
    EXPECT_FALSE(bench.DrawDirty()); // so the view need not repaint
    EXPECT_TRUE(bench.painter.Calls().empty());

    a->SetDirty(false);
    c->SetDirty(false);
    IRECT area;
    ASSERT_TRUE(bench.graphics.IsDirty(area));
    EXPECT_EQ(area, IRECT(0, 0, 50, 110));
}

TEST(DirtyTracking, HidingAControlMarksItsAreaSoWhatItCoveredIsRedrawn)
{
    ToolkitBench bench;
    auto* below =
        bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 100, 100)));
    auto* above =
        bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(10, 10, 30, 30)));
    bench.DrawDirty();

    above->Hide(true);
    ASSERT_TRUE(bench.DrawDirty());
    // Only the control below is drawn, clipped to the hidden control's area.
    const auto fills = bench.painter.CallsOf(Op::kFillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, below->GetRECT());
    EXPECT_EQ(bench.painter.CallsOf(Op::kPushClip).at(0).rect, IRECT(10, 10, 30, 30));
    EXPECT_EQ(bench.painter.ClipDepth(), 0);
}

TEST(DirtyTracking, DrawSkipsControlsOutsideTheAreaAndKeepsTheirMarks)
{
    ToolkitBench bench;
    auto* inside =
        bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 10, 10)));
    auto* outside =
        bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(500, 500, 510, 510)));
    bench.graphics.Draw(bench.painter, IRECT(0, 0, 100, 100));
    EXPECT_EQ(bench.painter.CallsOf(Op::kFillRect).size(), 1u);
    EXPECT_FALSE(inside->IsDirty());
    EXPECT_TRUE(outside->IsDirty());
}

TEST(DisabledDrawing, EveryCallOfADisabledControlUsesBlendWeightQuarter)
{
    ToolkitBench bench;
    auto* button = bench.graphics.AttachControl(
        std::make_unique<IVButtonControl>(IRECT(10, 10, 110, 50), SplashClickActionFunc, "LOAD",
                                          IVStyle().WithRoundness(0.5f).WithEmboss(true)));
    bench.graphics.AttachControl(std::make_unique<IVToggleControl>(
        IRECT(200, 10, 300, 50), SplashClickActionFunc, "", IVStyle(), "AUDITION", "AUDITION"));
    button->SetDisabled(true);
    ASSERT_TRUE(bench.DrawDirty());

    int buttonCalls = 0;
    for (const auto& call : bench.painter.DrawingCalls())
    {
        if (IRECT(10, 10, 110, 50).Intersects(call.rect) || call.text == "LOAD")
        {
            ++buttonCalls;
            EXPECT_FLOAT_EQ(call.blend, 0.25f);
        }
        else
        {
            EXPECT_FLOAT_EQ(call.blend, 1.f);
        }
    }
    EXPECT_GT(buttonCalls, 3);
}

TEST(ButtonDrawing, StyleGivesShadowBodyFrameAndLabelWithRoundedCorners)
{
    ToolkitBench bench;
    const IVStyle style = IVStyle()
                              .WithRoundness(0.5f)
                              .WithShadowOffset(2.f)
                              .WithColor(EVColor::kFG, IColor(255, 0, 81, 0))
                              .WithColor(EVColor::kFR, kColorBlack);
    bench.graphics.AttachControl(std::make_unique<IVButtonControl>(
        IRECT(220, 5, 290, 42), SplashClickActionFunc, "LOAD", style));
    bench.DrawDirty();

    const auto fills = bench.painter.CallsOf(Op::kFillRoundRect);
    ASSERT_GE(fills.size(), 2u);
    // Shadow first, offset down right, then the body in the foreground colour.
    EXPECT_EQ(fills[0].color, style.GetColor(EVColor::kSH));
    EXPECT_EQ(fills[0].rect, IRECT(222, 7, 290, 42));
    EXPECT_EQ(fills[1].color, IColor(255, 0, 81, 0));
    EXPECT_EQ(fills[1].rect, IRECT(220, 5, 288, 40));
    // Roundness 0.5 of the shorter side's half.
    EXPECT_FLOAT_EQ(fills[1].radius, 0.5f * 0.5f * 35.f);
    const auto frames = bench.painter.CallsOf(Op::kDrawRoundRect);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].color, kColorBlack);
    EXPECT_FLOAT_EQ(frames[0].thickness, 1.f);
    EXPECT_EQ(bench.painter.Texts(), std::vector<std::string>{"LOAD"});
}

TEST(ButtonDrawing, PressedButtonUsesThePressedColourAndNoShadow)
{
    ToolkitBench bench;
    auto* button = bench.graphics.AttachControl(
        std::make_unique<IVButtonControl>(IRECT(0, 0, 100, 40), SplashClickActionFunc, "X"));
    bench.DrawDirty();
    bench.graphics.OnMouseDown(50.f, 20.f, {.L = true});
    ASSERT_TRUE(bench.DrawDirty());
    const auto fills = bench.painter.CallsOf(Op::kFillRoundRect);
    ASSERT_FALSE(fills.empty());
    EXPECT_EQ(fills[0].color, button->GetColor(EVColor::kPR));
}
