#include "support/ToolkitBench.h"
#include "toolkit/IPanelControl.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVPanelControl.h"

#include <gtest/gtest.h>

namespace
{
const IRECT kArea(100.f, 100.f, 200.f, 200.f);
} // namespace

TEST(MouseTarget, LastAttachedControlReceivesTheClick)
{
    ToolkitBench bench;
    auto* below = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    auto* above = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    bench.Click(150.f, 150.f);
    EXPECT_EQ(above->events, (std::vector<std::string>{"down", "up"}));
    EXPECT_TRUE(below->events.empty());
}

TEST(MouseTarget, HiddenDisabledAndMouseIgnoringControlsPassTheClickToTheControlBelow)
{
    ToolkitBench bench;
    auto* below = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    auto* hidden = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    auto* disabled = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    auto* ignoring = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    hidden->Hide(true);
    disabled->SetDisabled(true);
    ignoring->SetIgnoreMouse(true);

    bench.Click(150.f, 150.f);

    EXPECT_EQ(below->events, (std::vector<std::string>{"down", "up"}));
    EXPECT_TRUE(hidden->events.empty());
    EXPECT_TRUE(disabled->events.empty());
    EXPECT_TRUE(ignoring->events.empty());
}

TEST(MouseTarget, HiddenOrDisabledControlIsHitAgainWhenShownOrEnabledOrWhenItTakesEventsDisabled)
{
    ToolkitBench bench;
    auto* control = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea), 7, "g");
    bench.graphics.HideGroup("g", true);
    EXPECT_EQ(bench.graphics.GetMouseControl(150.f, 150.f), nullptr);
    bench.graphics.HideGroup("g", false);
    bench.graphics.DisableControl(7, true);
    EXPECT_EQ(bench.graphics.GetMouseControl(150.f, 150.f), nullptr);
    control->SetMouseEventsWhenDisabled(true);
    EXPECT_EQ(bench.graphics.GetMouseControl(150.f, 150.f), control);
    control->SetMouseEventsWhenDisabled(false);
    bench.graphics.DisableControl(7, false);
    EXPECT_EQ(bench.graphics.GetMouseControl(150.f, 150.f), control);
}

TEST(MouseTarget, RightAndBottomEdgesAreOutsideAndAZeroRectangleIsNeverHit)
{
    ToolkitBench bench;
    auto* control = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT()));
    EXPECT_EQ(bench.graphics.GetMouseControl(100.f, 100.f), control);
    EXPECT_EQ(bench.graphics.GetMouseControl(200.f, 150.f), nullptr);
    EXPECT_EQ(bench.graphics.GetMouseControl(150.f, 200.f), nullptr);
    EXPECT_EQ(bench.graphics.GetMouseControl(0.f, 0.f), nullptr);
}

TEST(MouseTarget, TextDisplaysAndPanelsIgnoreTheMouse)
{
    ToolkitBench bench;
    auto* below = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    bench.graphics.AttachControl(std::make_unique<ITextControl>(kArea, "text"));
    bench.graphics.AttachControl(std::make_unique<IPanelControl>(kArea, kColorBlack));
    bench.graphics.AttachControl(std::make_unique<IVPanelControl>(kArea));
    EXPECT_EQ(bench.graphics.GetMouseControl(150.f, 150.f), below);
}

TEST(MouseCapture, DragsAndTheMouseUpGoToTheControlThatWasPressedWhereverTheMouseIs)
{
    ToolkitBench bench;
    auto* pressed = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    auto* other =
        bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(300, 300, 400, 400)));
    bench.graphics.OnMouseDown(150.f, 150.f, {.L = true});
    EXPECT_EQ(bench.graphics.GetCapturedControl(), pressed);
    bench.graphics.OnMouseDrag(350.f, 350.f, 200.f, 200.f, {.L = true});
    bench.graphics.OnMouseUp(350.f, 350.f, {.L = true});
    EXPECT_EQ(pressed->events, (std::vector<std::string>{"down", "drag", "up"}));
    EXPECT_TRUE(other->events.empty());
    EXPECT_EQ(bench.graphics.GetCapturedControl(), nullptr);
}

TEST(MouseCapture, ALostMouseUpIsDeliveredBeforeTheNextPressAndTheCursorComesBack)
{
    ToolkitBench bench;
    auto* control = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    bench.graphics.OnMouseDown(150.f, 150.f, {.L = true});
    bench.graphics.HideMouseCursor(true);
    ASSERT_TRUE(bench.platform.IsCursorHidden());

    bench.graphics.OnMouseDown(160.f, 160.f, {.L = true});

    EXPECT_EQ(control->events, (std::vector<std::string>{"down", "up", "down"}));
    EXPECT_FALSE(bench.platform.IsCursorHidden());
}

TEST(MouseCapture, ReleasingTheCaptureEndsThePressAtTheLastPoint)
{
    ToolkitBench bench;
    auto* control = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    bench.graphics.OnMouseDown(150.f, 150.f, {.L = true});
    bench.graphics.ReleaseMouseCapture();
    bench.graphics.OnMouseDrag(170.f, 170.f, 20.f, 20.f, {.L = true});
    EXPECT_EQ(control->events, (std::vector<std::string>{"down", "up"}));
}

TEST(MouseWheel, GoesToTheControlUnderTheMouse)
{
    ToolkitBench bench;
    auto* control = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    bench.graphics.OnMouseWheel(150.f, 150.f, {}, 1.f);
    bench.graphics.OnMouseWheel(250.f, 150.f, {}, 1.f);
    EXPECT_EQ(control->events, (std::vector<std::string>{"wheel"}));
}

TEST(MouseOver, OnlyWhileTrackingIsOnAndTheOldControlHearsMouseOut)
{
    ToolkitBench bench;
    auto* first = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    auto* second =
        bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(300, 300, 400, 400)));
    bench.graphics.OnMouseOver(150.f, 150.f, {});
    EXPECT_FALSE(first->GetMouseIsOver());

    bench.graphics.EnableMouseOver(true);
    bench.graphics.OnMouseOver(150.f, 150.f, {});
    EXPECT_TRUE(first->GetMouseIsOver());
    bench.graphics.OnMouseOver(350.f, 350.f, {});
    EXPECT_FALSE(first->GetMouseIsOver());
    EXPECT_TRUE(second->GetMouseIsOver());
    bench.graphics.OnMouseOut();
    EXPECT_FALSE(second->GetMouseIsOver());
}
