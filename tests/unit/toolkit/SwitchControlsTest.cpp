#include "support/ToolkitBench.h"
#include "toolkit/IVTabSwitchControl.h"
#include "toolkit/IVToggleControl.h"

#include <gtest/gtest.h>

namespace
{
// Three tabs of 100 each: 0-100, 100-200, 200-300, with a gap of 2 between neighbours.
const IRECT kTabs(0.f, 0.f, 300.f, 40.f);

struct TabBench : ToolkitBench
{
    TabBench()
    {
        tabs = graphics.AttachControl(
            std::make_unique<IVTabSwitchControl>(
                kTabs, [this](IControl* caller) { actionValues.push_back(caller->GetValue()); },
                std::vector<std::string>{"GLOBAL", "JACK 1", "JACK 2"}),
            1, "maincontrols");
    }
    IVTabSwitchControl* tabs = nullptr;
    std::vector<double> actionValues;
};
} // namespace

TEST(TabSwitch, OptionValuesAreIndexOverCountMinusOneAndEveryClickRunsTheAction)
{
    TabBench bench;
    bench.Click(150.f, 20.f);
    bench.Click(160.f, 30.f); // the selected tab again
    bench.Click(250.f, 20.f);
    bench.Click(100.f, 20.f); // in the gap between the first and the second tab: value kept
    bench.Click(50.f, 20.f);
    EXPECT_EQ(bench.tabs->GetOptionIdxForPoint(100.f, 20.f), -1);
    EXPECT_EQ(bench.actionValues, (std::vector<double>{0.5, 0.5, 1.0, 1.0, 0.0}));
}

TEST(TabSwitch, SelectedTabIsDrawnPressedWithEveryOptionText)
{
    TabBench bench;
    bench.Click(150.f, 20.f);
    bench.DrawDirty();
    EXPECT_EQ(bench.painter.Texts(), (std::vector<std::string>{"GLOBAL", "JACK 1", "JACK 2"}));
    const IColor pressed = bench.tabs->GetColor(EVColor::kPR);
    int pressedBodies = 0;
    for (const auto& call : bench.painter.CallsOf(RecordingPainter::Op::kFillRoundRect))
    {
        if (call.color == pressed)
        {
            ++pressedBodies;
            EXPECT_GE(call.rect.L, 100.f);
            EXPECT_LE(call.rect.R, 204.f);
        }
    }
    EXPECT_EQ(pressedBodies, 1);
}

TEST(TabSwitch, DisabledTabSwitchDoesNotReact)
{
    TabBench bench;
    bench.graphics.DisableGroup("maincontrols", true);
    bench.Click(150.f, 20.f);
    EXPECT_TRUE(bench.actionValues.empty());
    EXPECT_EQ(bench.tabs->GetValue(), 0.0);
}

TEST(Toggle, TwoStatesFlipBetweenZeroAndOneAndTheActionSeesTheNewValue)
{
    ToolkitBench bench;
    std::vector<double> seen;
    auto* toggle = bench.graphics.AttachControl(std::make_unique<IVToggleControl>(
        IRECT(660, 5, 780, 42), [&seen](IControl* caller) { seen.push_back(caller->GetValue()); },
        "", IVStyle(), "AUDITION", "AUDITION"));
    for (int i = 0; i < 3; ++i)
        bench.Click(700.f, 20.f);
    EXPECT_EQ(seen, (std::vector<double>{1.0, 0.0, 1.0}));
    EXPECT_TRUE(toggle->IsOn());
    toggle->SetValue(0.3); // any value above zero turns off on a click
    bench.Click(700.f, 20.f);
    EXPECT_EQ(toggle->GetValue(), 0.0);
}

TEST(Toggle, ShowsItsOffTextWhileOffAndItsOnTextWhileOn)
{
    ToolkitBench bench;
    bench.graphics.AttachControl(std::make_unique<IVToggleControl>(IRECT(0, 0, 100, 40), nullptr,
                                                                   "", IVStyle(), "MUTED", "LIVE"));
    bench.DrawDirty();
    EXPECT_EQ(bench.painter.Texts(), std::vector<std::string>{"MUTED"});
    bench.Click(50.f, 20.f);
    bench.DrawDirty();
    EXPECT_EQ(bench.painter.Texts(), std::vector<std::string>{"LIVE"});
}

TEST(SwitchBase, MoreThanTwoStatesStepUpAndWrapToZero)
{
    ToolkitBench bench;
    auto* tabs = bench.graphics.AttachControl(std::make_unique<IVTabSwitchControl>(
        kTabs, nullptr, std::vector<std::string>{"A", "B", "C"}));
    std::vector<double> values;
    for (int i = 0; i < 4; ++i)
    {
        tabs->ISwitchControlBase::OnMouseDown(0.f, 0.f, {});
        values.push_back(tabs->GetValue());
    }
    EXPECT_EQ(values, (std::vector<double>{0.5, 1.0, 0.0, 0.5}));
}

TEST(SwitchBase, BoundToggleSendsItsValueToTheEditor)
{
    ToolkitBench bench;
    bench.delegate.GetParam(3)->InitEnumerated("JACK 1 Polarity", 0, 2, "", IParam::kFlagsNone, "",
                                               {"Tip", "Ring"});
    bench.graphics.AttachControl(
        std::make_unique<IVToggleControl>(IRECT(0, 0, 100, 40), 3, nullptr));
    bench.Click(50.f, 20.f);
    ASSERT_EQ(bench.delegate.SentParams().size(), 1u);
    EXPECT_EQ(bench.delegate.SentParams()[0].paramIdx, 3);
    EXPECT_EQ(bench.delegate.GetParam(3)->Value(), 1.0);
}
