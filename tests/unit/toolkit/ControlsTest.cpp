#include "core/IParam.h"
#include "support/ToolkitBench.h"
#include "toolkit/IActionFunctions.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVButtonControl.h"

#include <gtest/gtest.h>

TEST(SplashAnimation, ButtonStaysPressedAndItsEndActionRunsOnceAfterAHundredMilliseconds)
{
    ToolkitBench bench;
    int endActions = 0;
    auto* button = bench.graphics.AttachControl(std::make_unique<IVButtonControl>(
        IRECT(220.f, 5.f, 290.f, 42.f), SplashClickActionFunc, "LOAD"));
    button->SetAnimationEndActionFunction([&endActions](IControl*) { ++endActions; });
    bench.Click(250.f, 20.f);
    EXPECT_EQ(button->GetValue(), 1.0);
    // The animation's time starts with the first frame after the click.
    for (double now : {1000.0, 1100.0})
        bench.graphics.OnFrame(now);
    EXPECT_EQ(endActions, 0);
    for (double now : {1116.7, 2000.0})
        bench.graphics.OnFrame(now);
    EXPECT_EQ(endActions, 1);
    EXPECT_EQ(button->GetValue(), 0.0);
}

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
    EXPECT_EQ(bitmap->GetFrameIndex(), 0);
    bench.delegate.SendParamToView(3, 1.0, false);
    EXPECT_EQ(bitmap->GetFrameIndex(), 1);
}

TEST(CornerResizer, DraggingScalesTheViewButOnlyBetweenHalfAndDouble)
{
    ToolkitBench bench;
    bench.graphics.AttachCornerResizer(20.f, IColor(10, 0, 0, 0), kColorBlack);
    // From the resizer's centre to a window point, the mouse in design pixels as the platform
    // delivers it.
    for (const auto& [x, y, scale, width, height] :
         {std::tuple{5000.f, 4000.f, 2.f, 2048, 1536}, std::tuple{10.f, 10.f, 0.5f, 512, 384}})
    {
        bench.graphics.SetDrawScale(1.f);
        bench.graphics.OnMouseDown(1014.f, 758.f, {.L = true});
        bench.graphics.OnMouseDrag(x, y, 0.f, 0.f, {.L = true});
        bench.graphics.OnMouseUp(x, y, {.L = true});
        EXPECT_FLOAT_EQ(bench.graphics.GetDrawScale(), scale);
        EXPECT_EQ(bench.delegate.ViewWidth(), width);
        EXPECT_EQ(bench.delegate.ViewHeight(), height);
    }
}

// The platform sleeps until the context asks for a frame: every change that needs drawing must
// ask, and a context left alone must not.
TEST(RedrawRequest, ANewTextOrASplashAsksForAFrameAndTheSameTextOrIdleFramesDoNot)
{
    ToolkitBench bench;
    auto* text = bench.graphics.AttachControl(
        std::make_unique<ITextControl>(IRECT(0.f, 0.f, 100.f, 20.f), "DEVICE: off", IText()));
    bench.graphics.AttachControl(std::make_unique<IVButtonControl>(IRECT(220.f, 5.f, 290.f, 42.f),
                                                                   SplashClickActionFunc, "LOAD"));
    int requests = 0;
    bench.graphics.SetRedrawRequestFunc([&requests] { ++requests; });
    text->SetStr("DEVICE: off");
    bench.graphics.OnFrame(100.0);
    EXPECT_EQ(requests, 0);
    text->SetStr("STATE: Interface Mode");
    EXPECT_EQ(requests, 1);
    bench.Click(250.f, 20.f);
    EXPECT_GE(requests, 2);
}

// The window closes while the editor lives on, and a dialog may answer after it.
TEST(ViewLifetime, AContextThatGoesAwayDetachesItselfFromTheEditorAndDropsLateAnswers)
{
    ScriptedPlatformUi platform;
    FakeEditorDelegate delegate(1);
    bool answered = false;
    {
        IGraphics graphics(delegate, 1024, 768);
        graphics.SetPlatformUi(&platform);
        delegate.OpenView(graphics, graphics);
        ASSERT_EQ(delegate.GetUI(), &graphics);
        graphics.ShowMessageBox("Firmware update finished.", "", EMsgBoxType::kOk,
                                [&answered](EMsgBoxResult) { answered = true; });
    }
    EXPECT_FALSE(delegate.HasView());
    EXPECT_EQ(delegate.GetUI(), nullptr);
    EXPECT_TRUE(platform.AnswerMessageBox(EMsgBoxResult::kOk));
    EXPECT_FALSE(answered);
}
