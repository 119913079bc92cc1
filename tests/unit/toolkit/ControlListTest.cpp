#include "core/IParam.h"
#include "support/ToolkitBench.h"

#include <gtest/gtest.h>

TEST(ControlList, HidingAndDisablingAGroupTouchesOnlyItsMembersAndRunsNoAction)
{
    ToolkitBench bench;
    bench.delegate.GetParam(0)->InitInteger("JACK2 Mode", 0, 0, 1);
    int actions = 0;
    auto control = std::make_unique<ProbeControl>(IRECT(10.f, 10.f, 20.f, 20.f), 0);
    control->SetActionFunction([&](IControl*) { ++actions; });
    auto* member = bench.graphics.AttachControl(std::move(control), 1, "g");
    auto* other = bench.graphics.AttachControl(
        std::make_unique<ProbeControl>(IRECT(30.f, 10.f, 40.f, 20.f)), 2, "h");
    bench.graphics.HideGroup("g", true);
    bench.graphics.DisableGroup("g", true);
    EXPECT_TRUE(member->IsHidden());
    EXPECT_TRUE(member->IsDisabled());
    EXPECT_FLOAT_EQ(member->GetBlend().mWeight, 0.25f); // drawn faded
    EXPECT_FALSE(other->IsHidden());
    EXPECT_FALSE(other->IsDisabled());
    EXPECT_EQ(actions, 0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
    bench.graphics.DisableGroup("g", false);
    EXPECT_FLOAT_EQ(member->GetBlend().mWeight, 1.f);
}

TEST(ControlList, ContextThatGoesAwayDetachesItselfFromTheEditor)
{
    FakeEditorDelegate delegate(1);
    {
        IGraphics graphics(delegate, 1024, 768);
        delegate.OpenView(graphics, graphics);
        ASSERT_EQ(delegate.GetUI(), &graphics);
    }
    EXPECT_FALSE(delegate.HasView());
    EXPECT_EQ(delegate.GetUI(), nullptr);
}
