#include "support/ToolkitBench.h"
#include "toolkit/IActionFunctions.h"
#include "toolkit/IVButtonControl.h"

#include <gtest/gtest.h>

namespace
{
const IRECT kButtonArea(220.f, 5.f, 290.f, 42.f);

// A button whose end-of-animation action counts its runs.
IVButtonControl* AttachCountingButton(ToolkitBench& bench, int& endActions,
                                      IActionFunction click = SplashClickActionFunc)
{
    auto button = std::make_unique<IVButtonControl>(kButtonArea, std::move(click), "LOAD");
    button->SetAnimationEndActionFunction([&endActions](IControl*) { ++endActions; });
    return bench.graphics.AttachControl(std::move(button));
}
} // namespace

TEST(SplashAnimation, EndActionRunsOnceAfterTheHundredMillisecondsAndAnimatingStops)
{
    ToolkitBench bench;
    int endActions = 0;
    IVButtonControl* button = AttachCountingButton(bench, endActions);
    EXPECT_FALSE(bench.graphics.IsAnimating());

    bench.Click(250.f, 20.f);
    EXPECT_TRUE(bench.graphics.IsAnimating());
    EXPECT_EQ(button->GetValue(), 1.0); // pressed until the splash ends
    EXPECT_EQ(button->GetAnimationDuration(), kSplashDurationMs);

    // The animation's time starts with the first frame after the click.
    bench.graphics.OnFrame(1000.0);
    EXPECT_DOUBLE_EQ(button->GetAnimationProgress(), 0.0);
    bench.graphics.OnFrame(1025.0);
    EXPECT_DOUBLE_EQ(button->GetAnimationProgress(), 0.25);
    bench.graphics.OnFrame(1100.0);
    EXPECT_EQ(endActions, 0);
    EXPECT_TRUE(bench.graphics.IsAnimating());

    bench.graphics.OnFrame(1116.7);
    EXPECT_EQ(endActions, 1);
    EXPECT_FALSE(bench.graphics.IsAnimating());
    EXPECT_EQ(button->GetValue(), 0.0);

    bench.graphics.OnFrame(1133.3);
    bench.graphics.OnFrame(2000.0);
    EXPECT_EQ(endActions, 1);
}

TEST(SplashAnimation, AnActionThatSplashesAndActsAtOnceDoesNotWaitForTheAnimation)
{
    ToolkitBench bench;
    int endActions = 0;
    int immediate = 0;
    AttachCountingButton(bench, endActions,
                         [&immediate](IControl* caller)
                         {
                             SplashClickActionFunc(caller);
                             ++immediate;
                         });
    bench.Click(250.f, 20.f);
    EXPECT_EQ(immediate, 1);
    EXPECT_TRUE(bench.graphics.IsAnimating());
}

TEST(SplashAnimation, AnimatingControlIsRedrawnOnEveryFrameAndTheSplashStartsAtTheClick)
{
    ToolkitBench bench;
    int endActions = 0;
    AttachCountingButton(bench, endActions);
    bench.DrawDirty();
    bench.Click(250.f, 20.f);
    bench.graphics.OnFrame(0.0);
    bench.DrawDirty();
    bench.graphics.OnFrame(50.0);
    ASSERT_TRUE(bench.DrawDirty());
    const auto splashes = bench.painter.CallsOf(RecordingPainter::Op::kFillEllipse);
    ASSERT_EQ(splashes.size(), 1u);
    EXPECT_FLOAT_EQ(splashes[0].rect.MW(), 250.f);
    EXPECT_FLOAT_EQ(splashes[0].rect.MH(), 20.f);
}

TEST(Animation, ANewAnimationReplacesARunningOneAndRestartsItsTime)
{
    ToolkitBench bench;
    auto* probe = bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 9, 9)));
    std::vector<double> seen;
    auto record = [&seen](IControl* caller)
    {
        seen.push_back(caller->GetAnimationProgress());
        if (caller->GetAnimationProgress() > 1.0)
            caller->OnEndAnimation();
    };
    probe->SetAnimation(record, 200);
    bench.graphics.OnFrame(0.0);
    bench.graphics.OnFrame(100.0);
    probe->SetAnimation(record, 200);
    bench.graphics.OnFrame(150.0);
    bench.graphics.OnFrame(250.0);
    EXPECT_EQ(seen, (std::vector<double>{0.0, 0.5, 0.0, 0.5}));
}

TEST(Animation, EndActionMayStartAnotherAnimation)
{
    ToolkitBench bench;
    auto* probe = bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(0, 0, 9, 9)));
    int ends = 0;
    probe->SetAnimationEndActionFunction(
        [&ends](IControl* caller)
        {
            if (++ends == 1)
                caller->SetAnimation(DefaultAnimationFunc, 10);
        });
    probe->SetAnimation(DefaultAnimationFunc, 10);
    bench.graphics.OnFrame(0.0);
    bench.graphics.OnFrame(11.0);
    EXPECT_EQ(ends, 1);
    EXPECT_TRUE(bench.graphics.IsAnimating());
    bench.graphics.OnFrame(20.0);
    bench.graphics.OnFrame(31.0);
    EXPECT_EQ(ends, 2);
    EXPECT_FALSE(bench.graphics.IsAnimating());
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
