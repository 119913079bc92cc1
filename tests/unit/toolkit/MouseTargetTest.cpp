#include "support/ToolkitBench.h"
#include "toolkit/ITextControl.h"

#include <gtest/gtest.h>

namespace
{
const IRECT kArea(100.f, 100.f, 200.f, 200.f);
} // namespace

TEST(MouseTarget, TopmostControlThatTakesTheMouseGetsTheClick)
{
    ToolkitBench bench;
    auto* below = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    auto* above = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    bench.Click(150.f, 150.f);
    EXPECT_EQ(above->events, (std::vector<std::string>{"down", "up"}));
    EXPECT_TRUE(below->events.empty());

    // Hidden, disabled and mouse-ignoring controls, and text displays, pass the click on.
    above->Hide(true);
    auto* disabled = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    disabled->SetDisabled(true);
    auto* ignoring = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    ignoring->SetIgnoreMouse(true);
    bench.graphics.AttachControl(std::make_unique<ITextControl>(kArea, "text"));
    bench.Click(150.f, 150.f);
    EXPECT_EQ(below->events, (std::vector<std::string>{"down", "up"}));
    EXPECT_EQ(above->events.size(), 2u);
    EXPECT_TRUE(disabled->events.empty());
    EXPECT_TRUE(ignoring->events.empty());
}

TEST(MouseCapture, DragsAndTheMouseUpGoToTheControlThatWasPressedWhereverTheMouseIs)
{
    ToolkitBench bench;
    auto* pressed = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    auto* other =
        bench.graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(300, 300, 400, 400)));
    bench.graphics.OnMouseDown(150.f, 150.f, {.L = true});
    bench.graphics.OnMouseDrag(350.f, 350.f, 200.f, 200.f, {.L = true});
    bench.graphics.OnMouseUp(350.f, 350.f, {.L = true});
    EXPECT_EQ(pressed->events, (std::vector<std::string>{"down", "drag", "up"}));
    EXPECT_TRUE(other->events.empty());
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
