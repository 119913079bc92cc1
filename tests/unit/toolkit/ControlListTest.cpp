#include "core/IParam.h"
#include "support/ToolkitBench.h"
#include "toolkit/IPanelControl.h"

#include <gtest/gtest.h>

namespace
{
const IRECT kArea(10.f, 10.f, 20.f, 20.f);
} // namespace

TEST(ControlList, ControlsKeepTheirAttachOrderTagAndGroupAndAreFoundByTag)
{
    ToolkitBench bench;
    auto* a = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    auto* b = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea), 3, "pages");
    ASSERT_EQ(bench.graphics.NControls(), 2);
    EXPECT_EQ(bench.graphics.GetControl(0), a);
    EXPECT_EQ(bench.graphics.GetControl(1), b);
    EXPECT_EQ(bench.graphics.GetControl(2), nullptr);
    EXPECT_EQ(a->GetTag(), kNoTag);
    EXPECT_EQ(a->GetGroup(), "");
    EXPECT_EQ(b->GetTag(), 3);
    EXPECT_EQ(b->GetGroup(), "pages");
    EXPECT_EQ(b->GetUI(), &bench.graphics);
    // Lookup by tag finds the tagged control and nothing for unknown tags.
    EXPECT_EQ(bench.graphics.GetControlWithTag(3), b);
    EXPECT_EQ(bench.graphics.GetControlWithTag(20), nullptr);
    EXPECT_EQ(bench.graphics.GetControlWithTag(kNoTag), nullptr);
}

TEST(ControlList, GroupWalkVisitsExactlyTheMembersInAttachOrder)
{
    ToolkitBench bench;
    auto* p1 =
        bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea), 1, "pedal1controls");
    bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea), 2, "jack1pedalcontrols");
    auto* p2 =
        bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea), 3, "pedal1controls");
    std::vector<IControl*> visited;
    bench.graphics.ForControlInGroup("pedal1controls",
                                     [&](IControl& control) { visited.push_back(&control); });
    EXPECT_EQ(visited, (std::vector<IControl*>{p1, p2}));
}

TEST(ControlList, HidingAndDisablingAGroupTouchesOnlyItsMembersAndRedrawsWithoutTheAction)
{
    ToolkitBench bench;
    bench.delegate.GetParam(0)->InitInteger("JACK2 Mode", 0, 0, 1);
    int actions = 0;
    auto control = std::make_unique<ProbeControl>(kArea, 0);
    control->SetActionFunction([&](IControl*) { ++actions; });
    auto* member = bench.graphics.AttachControl(std::move(control), 1, "g");
    auto* other = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea), 2, "h");
    member->ClearDirty();
    bench.graphics.HideGroup("g", true);
    EXPECT_TRUE(member->IsDirty());
    member->ClearDirty();
    bench.graphics.DisableGroup("g", true);
    EXPECT_TRUE(member->IsDirty());
    EXPECT_TRUE(member->IsHidden());
    EXPECT_TRUE(member->IsDisabled());
    EXPECT_FLOAT_EQ(member->GetBlend().mWeight, 0.25f);
    EXPECT_FALSE(other->IsHidden());
    EXPECT_FALSE(other->IsDisabled());
    EXPECT_EQ(actions, 0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
    bench.graphics.DisableGroup("g", false);
    EXPECT_FLOAT_EQ(member->GetBlend().mWeight, 1.f);
}

TEST(ControlList, BackgroundPanelGoesToTheFrontOfTheList)
{
    ToolkitBench bench;
    auto* first = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    IPanelControl* panel = bench.graphics.AttachPanelBackground(IColor(255, 127, 127, 127));
    EXPECT_EQ(bench.graphics.GetControl(0), panel);
    EXPECT_EQ(bench.graphics.GetControl(1), first);
    EXPECT_EQ(panel->GetRECT(), IRECT(0.f, 0.f, 1024.f, 768.f));
}

namespace
{
// A control with two children attached when it is attached, like a number box.
class ParentControl : public ProbeControl
{
public:
    using ProbeControl::ProbeControl;
    void OnAttached() override
    {
        first = AttachChild(std::make_unique<ProbeControl>(GetRECT().SubRectHorizontal(2, 0)));
        second = AttachChild(std::make_unique<ProbeControl>(GetRECT().SubRectHorizontal(2, 1)));
    }
    ProbeControl* first = nullptr;
    ProbeControl* second = nullptr;
};
} // namespace

TEST(ControlChildren, ChildrenLieAboveTheirParentAndFollowItsHideAndDisable)
{
    ToolkitBench bench;
    auto* parent = bench.graphics.AttachControl(
        std::make_unique<ParentControl>(IRECT(0, 0, 100, 20)), 8, "switch1controls");
    ASSERT_NE(parent->first, nullptr);
    EXPECT_EQ(bench.graphics.NControls(), 3);
    EXPECT_EQ(bench.graphics.GetMouseControl(75.f, 10.f), parent->second);
    EXPECT_EQ(parent->second->GetParent(), parent);

    bench.graphics.HideGroup("switch1controls", true);
    EXPECT_TRUE(parent->first->IsHidden());
    EXPECT_TRUE(parent->second->IsHidden());
    bench.graphics.HideGroup("switch1controls", false);
    bench.graphics.DisableControl(8, true);
    EXPECT_FLOAT_EQ(parent->second->GetBlend().mWeight, 0.25f);
    EXPECT_EQ(bench.graphics.GetMouseControl(75.f, 10.f), nullptr);
}

TEST(ControlMidi, OnlyControlsThatWantMidiReceiveIt)
{
    ToolkitBench bench;
    auto* deaf = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    auto* listening = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kArea));
    listening->SetWantsMidi(true);
    const MidiMessage noteOn{0, 0x90, 60, 100};
    bench.delegate.OpenView(bench.graphics, bench.graphics);
    bench.delegate.SendMidiToView(noteOn);
    EXPECT_TRUE(deaf->midi.empty());
    EXPECT_EQ(listening->midi, std::vector<MidiMessage>{noteOn});
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
