#include "support/ToolkitBench.h"
#include "toolkit/IVTabSwitchControl.h"
#include "toolkit/IVToggleControl.h"

#include <gtest/gtest.h>

TEST(TabSwitch, OptionValuesAreIndexOverCountMinusOneAndEveryClickRunsTheAction)
{
    ToolkitBench bench;
    std::vector<double> actionValues;
    // Three tabs of 100 each with a gap of 2 between neighbours.
    bench.graphics.AttachControl(std::make_unique<IVTabSwitchControl>(
        IRECT(0.f, 0.f, 300.f, 40.f),
        [&actionValues](IControl* caller) { actionValues.push_back(caller->GetValue()); },
        std::vector<std::string>{"GLOBAL", "JACK 1", "JACK 2"}));
    bench.Click(150.f, 20.f);
    bench.Click(160.f, 30.f); // the selected tab again
    bench.Click(250.f, 20.f);
    bench.Click(100.f, 20.f); // in the gap between the first and the second tab: value kept
    bench.Click(50.f, 20.f);
    EXPECT_EQ(actionValues, (std::vector<double>{0.5, 0.5, 1.0, 1.0, 0.0}));

    // The selected option's text takes its own colour, so it reads on the pressed body.
    auto& tabs = dynamic_cast<IVTabSwitchControl&>(*bench.graphics.GetControl(0));
    tabs.SetSelectedTextColor(kColorBlack);
    bench.DrawDirty();
    std::vector<std::string> black;
    for (const RecordingPainter::Call& call :
         bench.painter.CallsOf(RecordingPainter::Op::kDrawText))
        if (call.color == kColorBlack)
            black.push_back(call.text);
    EXPECT_EQ(black, std::vector<std::string>{"GLOBAL"});
}

TEST(Toggle, ClicksFlipBetweenZeroAndOneShowingTheOffThenTheOnText)
{
    ToolkitBench bench;
    std::vector<double> seen;
    bench.graphics.AttachControl(std::make_unique<IVToggleControl>(
        IRECT(0, 0, 100, 40), [&seen](IControl* caller) { seen.push_back(caller->GetValue()); }, "",
        IVStyle(), "MUTED", "LIVE"));
    bench.DrawDirty();
    EXPECT_EQ(bench.painter.Texts(), std::vector<std::string>{"MUTED"});
    for (int i = 0; i < 3; ++i)
        bench.Click(50.f, 20.f);
    EXPECT_EQ(seen, (std::vector<double>{1.0, 0.0, 1.0}));
    bench.DrawDirty();
    EXPECT_EQ(bench.painter.Texts(), std::vector<std::string>{"LIVE"});
}
