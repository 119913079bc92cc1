#include "support/ToolkitBench.h"
#include "toolkit/IActionFunctions.h"
#include "toolkit/IVButtonControl.h"

#include <gtest/gtest.h>

namespace
{
// A button whose end-of-animation action counts its runs.
IVButtonControl* AttachCountingButton(ToolkitBench& bench, int& endActions, IActionFunction click)
{
    auto button =
        std::make_unique<IVButtonControl>(IRECT(220.f, 5.f, 290.f, 42.f), std::move(click), "LOAD");
    button->SetAnimationEndActionFunction([&endActions](IControl*) { ++endActions; });
    return bench.graphics.AttachControl(std::move(button));
}
} // namespace

TEST(SplashAnimation, EndActionRunsOnceAfterTheHundredMillisecondsAndAnimatingStops)
{
    ToolkitBench bench;
    int endActions = 0;
    IVButtonControl* button = AttachCountingButton(bench, endActions, SplashClickActionFunc);
    bench.Click(250.f, 20.f);
    EXPECT_TRUE(bench.graphics.IsAnimating());
    EXPECT_EQ(button->GetValue(), 1.0); // pressed until the splash ends

    // The animation's time starts with the first frame after the click.
    bench.graphics.OnFrame(1000.0);
    bench.graphics.OnFrame(1100.0);
    EXPECT_EQ(endActions, 0);
    bench.graphics.OnFrame(1116.7);
    EXPECT_EQ(endActions, 1);
    EXPECT_FALSE(bench.graphics.IsAnimating());
    EXPECT_EQ(button->GetValue(), 0.0);
    bench.graphics.OnFrame(2000.0);
    EXPECT_EQ(endActions, 1);
}

TEST(SplashAnimation, EmptyClickActionRunsTheEndActionAtOnceWithoutAnimating)
{
    ToolkitBench bench;
    int endActions = 0;
    AttachCountingButton(bench, endActions, EmptyClickActionFunc);
    bench.Click(250.f, 20.f);
    EXPECT_EQ(endActions, 1);
    EXPECT_FALSE(bench.graphics.IsAnimating());
}
