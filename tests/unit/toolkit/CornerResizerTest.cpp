#include "support/ToolkitBench.h"
#include "toolkit/ICornerResizerControl.h"

#include <gtest/gtest.h>

namespace
{
struct ResizerBench : ToolkitBench
{
    ResizerBench()
    {
        graphics.AttachCornerResizer(20.f, IColor(10, 0, 0, 0), kColorBlack);
        graphics.AttachControl(std::make_unique<ProbeControl>(graphics.GetBounds()));
    }

    // Drags the resizer from its centre to a window point, delivering the mouse in design pixels
    // as the platform does.
    void DragCornerTo(float windowX, float windowY)
    {
        graphics.OnMouseDown(1014.f, 758.f, {.L = true});
        const float scale = graphics.GetDrawScale();
        graphics.OnMouseDrag(windowX / scale, windowY / scale, 0.f, 0.f, {.L = true});
        const float after = graphics.GetDrawScale();
        graphics.OnMouseUp(windowX / after, windowY / after, {.L = true});
    }
};
} // namespace

TEST(CornerResizer, DraggingScalesTheViewAndReportsTheNewSize)
{
    ResizerBench bench;
    // The grab point is 10 pixels inside the corner: the corner follows the mouse.
    bench.DragCornerTo(1536.f - 10.f, 1152.f - 10.f);
    EXPECT_FLOAT_EQ(bench.graphics.GetDrawScale(), 1.5f);
    ASSERT_EQ(bench.delegate.Resizes().size(), 1u);
    EXPECT_EQ(bench.delegate.Resizes()[0].width, 1536);
    EXPECT_EQ(bench.delegate.Resizes()[0].height, 1152);
    EXPECT_TRUE(bench.delegate.Resizes()[0].needsPlatformResize);
}

TEST(CornerResizer, ScaleIsClampedBetweenHalfAndDouble)
{
    ResizerBench bench;
    bench.DragCornerTo(5000.f, 4000.f);
    EXPECT_FLOAT_EQ(bench.graphics.GetDrawScale(), 2.f);
    EXPECT_EQ(bench.delegate.ViewWidth(), 2048);
    EXPECT_EQ(bench.delegate.ViewHeight(), 1536);

    bench.DragCornerTo(10.f, 10.f);
    EXPECT_FLOAT_EQ(bench.graphics.GetDrawScale(), 0.5f);
    EXPECT_EQ(bench.delegate.ViewWidth(), 512);
    EXPECT_EQ(bench.delegate.ViewHeight(), 384);
}
