#include "core/IParam.h"
#include "support/ToolkitBench.h"
#include "toolkit/ICaptionControl.h"
#include "toolkit/ParamUserInput.h"

#include <gtest/gtest.h>

namespace
{
constexpr int kModeParam = 2;
constexpr int kControllerParam = 5;
const IRECT kCaptionArea(410.6f, 441.1f, 613.4f, 469.1f);
const IText kCaptionText(24.f, kColorBlack);

struct CaptionBench : ToolkitBench
{
    CaptionBench()
    {
        delegate.GetParam(kModeParam)
            ->InitEnumerated("JACK 1 Mode", 0, 3, "", IParam::kFlagsNone, "",
                             {"Pedal", "Switches", "Momentary"});
        delegate.GetParam(kControllerParam)->InitInteger("PEDAL1 Controller", 64, 0, 127);
        delegate.OpenView(graphics, graphics);
    }

    ICaptionControl* AttachCaption(int paramIdx)
    {
        return graphics.AttachControl(std::make_unique<ICaptionControl>(kCaptionArea, paramIdx,
                                                                        kCaptionText,
                                                                        IColor(255, 127, 127, 127)),
                                      2, "globalcontrols");
    }
};
} // namespace

TEST(Caption, ClickOnAnEnumeratedCaptionOffersAllTextsWithACheckAtTheCurrentOne)
{
    CaptionBench bench;
    bench.delegate.GetParam(kModeParam)->Set(1.0);
    bench.AttachCaption(kModeParam);
    bench.Click(500.f, 450.f);

    ASSERT_EQ(bench.platform.PopupMenus().size(), 1u);
    const auto& menu = bench.platform.PopupMenus()[0];
    EXPECT_EQ(menu.items, (std::vector<PopupMenuItem>{
                              {"Pedal", false, true},
                              {"Switches", true, true},
                              {"Momentary", false, true},
                          }));
    EXPECT_EQ(menu.bounds, kCaptionArea);
    EXPECT_TRUE(bench.platform.TextEntries().empty());
}

TEST(Caption, ChoosingAnItemSetsTheParameterThroughTheViewAndShowsItsText)
{
    CaptionBench bench;
    ICaptionControl* caption = bench.AttachCaption(kModeParam);
    EXPECT_EQ(caption->GetStr(), "Pedal");
    bench.Click(500.f, 450.f);
    ASSERT_TRUE(bench.platform.ChoosePopupItem(1));

    ASSERT_EQ(bench.delegate.SentParams().size(), 1u);
    EXPECT_EQ(bench.delegate.SentParams()[0].paramIdx, kModeParam);
    EXPECT_DOUBLE_EQ(bench.delegate.SentParams()[0].normalized, 0.5);
    EXPECT_EQ(bench.delegate.GetParam(kModeParam)->Value(), 1.0);
    EXPECT_EQ(caption->GetStr(), "Switches");
}

TEST(Caption, RightClickOpensTheMenuTooAndDismissingItChangesNothing)
{
    CaptionBench bench;
    bench.AttachCaption(kModeParam);
    bench.platform.ScriptPopupChoice(std::nullopt);
    bench.Click(500.f, 450.f, {.R = true});
    EXPECT_EQ(bench.platform.PopupMenus().size(), 1u);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
}

TEST(Caption, CaptionFollowsTheParameterWhenTheEditorChangesIt)
{
    CaptionBench bench;
    ICaptionControl* caption = bench.AttachCaption(kModeParam);
    bench.delegate.SendParamToView(kModeParam, 2.0, false);
    EXPECT_EQ(caption->GetStr(), "Momentary");
    EXPECT_DOUBLE_EQ(caption->GetValue(), 1.0);
}

TEST(Caption, IntegerCaptionOpensATextEntryHoldingTheDisplayText)
{
    CaptionBench bench;
    bench.AttachCaption(kControllerParam);
    bench.Click(500.f, 450.f);
    ASSERT_EQ(bench.platform.TextEntries().size(), 1u);
    EXPECT_EQ(bench.platform.TextEntries()[0].initialText, "64");
    EXPECT_EQ(bench.platform.TextEntries()[0].style, kCaptionText);
    EXPECT_TRUE(bench.platform.PopupMenus().empty());

    ASSERT_TRUE(bench.platform.CompleteTextEntry(std::string("100")));
    EXPECT_EQ(bench.delegate.GetParam(kControllerParam)->Value(), 100.0);
}

TEST(Caption, TypedTextThatIsNoNumberChangesNothing)
{
    CaptionBench bench;
    bench.AttachCaption(kControllerParam);
    for (const char* typed : {"abc", "nan", "inf", "", "12abc"})
    {
        bench.platform.ScriptTextEntry(std::string(typed));
        bench.Click(500.f, 450.f);
    }
    EXPECT_TRUE(bench.delegate.SentParams().empty());
    EXPECT_EQ(bench.delegate.GetParam(kControllerParam)->Value(), 64.0);
}

TEST(Caption, EnumeratedCaptionDrawsItsTriangleAtTheRightFifth)
{
    CaptionBench bench;
    bench.AttachCaption(kModeParam);
    bench.DrawDirty();
    const auto triangles = bench.painter.CallsOf(RecordingPainter::Op::kFillTriangle);
    ASSERT_EQ(triangles.size(), 1u);
    // Rightmost fifth 572.84-613.4, middle 593.12; left edge 4 before it; top 2.5 above 455.1.
    const auto& p = triangles[0].points;
    EXPECT_NEAR(p[0], 589.12f, 0.01f);
    EXPECT_NEAR(p[1], 452.6f, 0.01f);
    EXPECT_NEAR(p[2] - p[0], 8.f, 1e-4f);
    EXPECT_NEAR(p[5] - p[1], 5.f, 1e-4f);
    EXPECT_EQ(bench.painter.Texts(), std::vector<std::string>{"Pedal"});
}

TEST(Caption, IntegerCaptionDrawsNoTriangle)
{
    CaptionBench bench;
    bench.AttachCaption(kControllerParam);
    bench.DrawDirty();
    EXPECT_TRUE(bench.painter.CallsOf(RecordingPainter::Op::kFillTriangle).empty());
}

TEST(ParamUserInput, DisplayTextsAndNumbersAreAcceptedOtherTextIsNot)
{
    IParam mode;
    mode.InitEnumerated("Mode", 0, 2, "", IParam::kFlagsNone, "", {"Pedal", "Switches"});
    EXPECT_EQ(ParseParamText(mode, " Switches "), 1.0);
    EXPECT_EQ(ParseParamText(mode, "+1"), 1.0);
    EXPECT_EQ(ParseParamText(mode, "-2.5e1"), -25.0);
    EXPECT_EQ(ParseParamText(mode, "switches"), std::nullopt);
    EXPECT_EQ(ParseParamText(mode, "1e999"), std::nullopt);
}

TEST(ParamUserInput, ParameterWithoutTextsListsEveryStepAndMapsItemsBack)
{
    IParam channel;
    channel.InitInteger("Channel", 3, 1, 4);
    const auto items = ParamMenuItems(channel, channel.Value());
    ASSERT_EQ(items.size(), 4u);
    EXPECT_EQ(items[2].text, "3");
    EXPECT_TRUE(items[2].checked);
    EXPECT_EQ(ParamMenuItemValue(channel, 3), 4.0);
    EXPECT_EQ(ParamMenuItemValue(channel, 4), std::nullopt);
    EXPECT_EQ(ParamMenuItemValue(channel, -1), std::nullopt);
    EXPECT_FALSE(ParamUsesMenu(channel));
}
