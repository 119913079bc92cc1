#include "core/IParam.h"
#include "support/ToolkitBench.h"
#include "toolkit/IBitmapControl.h"

#include <gtest/gtest.h>

using Op = RecordingPainter::Op;

TEST(BitmapDisplay, FrameFollowsTheBoundParameterFirstAtZeroLastAtOne)
{
    ToolkitBench bench;
    bench.delegate.GetParam(3)->InitEnumerated("JACK 1 Polarity", 0, 2, "", IParam::kFlagsNone, "",
                                               {"Tip", "Ring"});
    bench.delegate.OpenView(bench.graphics, bench.graphics);
    // "tipring.png": 150 x 198, two frames stacked.
    auto* bitmap = bench.graphics.AttachControl(std::make_unique<IBitmapControl>(
        360.f, 184.f, IBitmap{"tipring.png", 150, 198, 2, false}, 3));
    EXPECT_EQ(bitmap->GetRECT(), IRECT(360.f, 184.f, 510.f, 283.f)); // one frame
    bench.DrawDirty();
    auto frames = bench.painter.CallsOf(Op::kDrawBitmap);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frameIndex, 0);

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
