#include "core/IParam.h"
#include "support/ToolkitBench.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/IPanelControl.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVPanelControl.h"

#include <gtest/gtest.h>

using Op = RecordingPainter::Op;

namespace
{
// "tipring.png": 150 x 198, two frames stacked.
const IBitmap kTipRing{"tipring.png", 150, 198, 2, false};
} // namespace

TEST(BitmapDisplay, FrameFollowsTheBoundParameterFirstAtZeroLastAtOne)
{
    ToolkitBench bench;
    bench.delegate.GetParam(3)->InitEnumerated("JACK 1 Polarity", 0, 2, "", IParam::kFlagsNone, "",
                                               {"Tip", "Ring"});
    bench.delegate.OpenView(bench.graphics, bench.graphics);
    auto* bitmap =
        bench.graphics.AttachControl(std::make_unique<IBitmapControl>(360.f, 184.f, kTipRing, 3));
    EXPECT_EQ(bitmap->GetRECT(), IRECT(360.f, 184.f, 510.f, 283.f)); // one frame
    bench.DrawDirty();
    auto frames = bench.painter.CallsOf(Op::kDrawBitmap);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frameIndex, 0);
    EXPECT_EQ(frames[0].bitmapName, "tipring.png");

    bench.delegate.SendParamToView(3, 1.0, false);
    bench.DrawDirty();
    frames = bench.painter.CallsOf(Op::kDrawBitmap);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frameIndex, 1);
}

TEST(BitmapDisplay, MissingImageDrawsNothing)
{
    ToolkitBench bench;
    bench.graphics.AttachControl(std::make_unique<IBitmapControl>(0.f, 0.f, IBitmap{}));
    bench.graphics.Draw(bench.painter, bench.graphics.GetBounds());
    EXPECT_TRUE(bench.painter.CallsOf(Op::kDrawBitmap).empty());
    EXPECT_FALSE(bench.graphics.LoadBitmap("background.png").has_value());
}

TEST(TextDisplay, ReplacedTextRedrawsOnlyWhenItChanged)
{
    ToolkitBench bench;
    auto* text = bench.graphics.AttachControl(std::make_unique<ITextControl>(
        IRECT(377, 8, 652, 36), "Untitled", IText(20.f, kColorWhite)));
    bench.DrawDirty();
    EXPECT_EQ(bench.painter.Texts(), std::vector<std::string>{"Untitled"});

    text->SetStr("Untitled");
    EXPECT_FALSE(bench.DrawDirty());
    text->SetStr("live.csx");
    ASSERT_TRUE(bench.DrawDirty());
    EXPECT_EQ(bench.painter.Texts(), std::vector<std::string>{"live.csx"});
}

TEST(TextDisplay, BackgroundIsFilledOnlyWhenNotTransparent)
{
    ToolkitBench bench;
    bench.graphics.AttachControl(std::make_unique<ITextControl>(IRECT(0, 0, 10, 10), "a"));
    bench.graphics.AttachControl(std::make_unique<ITextControl>(IRECT(20, 0, 30, 10), "b", IText(),
                                                                IColor(255, 127, 127, 127)));
    bench.DrawDirty();
    const auto fills = bench.painter.CallsOf(Op::kFillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, IRECT(20, 0, 30, 10));
}

TEST(Panels, PlainPanelFillsItsColourAndVectorPanelDrawsItsRoundedFrame)
{
    ToolkitBench bench;
    bench.graphics.AttachControl(
        std::make_unique<IPanelControl>(IRECT(360, 60, 665, 280), IColor(255, 65, 73, 56)));
    bench.graphics.AttachControl(std::make_unique<IVPanelControl>(
        IRECT(377, 8, 652, 36), "",
        IVStyle().WithRoundness(0.5f).WithColor(EVColor::kFR, IColor(255, 70, 70, 70))));
    bench.DrawDirty();
    const auto fills = bench.painter.CallsOf(Op::kFillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].color, IColor(255, 65, 73, 56));
    const auto frames = bench.painter.CallsOf(Op::kDrawRoundRect);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].rect, IRECT(377, 8, 652, 36));
    EXPECT_FLOAT_EQ(frames[0].radius, 7.f);
    EXPECT_EQ(frames[0].color, IColor(255, 70, 70, 70));
    // A transparent background is not painted.
    EXPECT_TRUE(bench.painter.CallsOf(Op::kFillRoundRect).empty());
}
