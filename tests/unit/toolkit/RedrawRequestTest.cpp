#include "support/ToolkitBench.h"
#include "toolkit/IActionFunctions.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVButtonControl.h"

#include <gtest/gtest.h>

// The platform sleeps until the context asks for a frame: every change that needs drawing must
// ask, and a context left alone must not.

TEST(RedrawRequest, ANewTextAsksForAFrameAndTheSameTextDoesNot)
{
    ToolkitBench bench;
    auto* text = bench.graphics.AttachControl(
        std::make_unique<ITextControl>(IRECT(0.f, 0.f, 100.f, 20.f), "DEVICE: off", IText()));
    bench.DrawDirty();
    int requests = 0;
    bench.graphics.SetRedrawRequestFunc([&requests] { ++requests; });

    text->SetStr("DEVICE: off");
    EXPECT_EQ(requests, 0);
    text->SetStr("STATE: Interface Mode");
    EXPECT_EQ(requests, 1);
}

TEST(RedrawRequest, AClickThatStartsTheSplashAsksForAFrameAndIdleFramesDoNot)
{
    ToolkitBench bench;
    bench.graphics.AttachControl(std::make_unique<IVButtonControl>(IRECT(220.f, 5.f, 290.f, 42.f),
                                                                   SplashClickActionFunc, "LOAD"));
    bench.DrawDirty();
    int requests = 0;
    bench.graphics.SetRedrawRequestFunc([&requests] { ++requests; });
    bench.graphics.OnFrame(100.0);
    EXPECT_EQ(requests, 0);

    bench.Click(250.f, 20.f);
    EXPECT_GE(requests, 1);
}
