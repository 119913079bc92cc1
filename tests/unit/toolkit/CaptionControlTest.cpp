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
        return graphics.AttachControl(std::make_unique<ICaptionControl>(
            kCaptionArea, paramIdx, IText(24.f, kColorBlack), IColor(255, 127, 127, 127)));
    }
};
} // namespace

TEST(Caption, EnumeratedCaptionOffersAllTextsCheckedAtTheCurrentOneAndSetsTheChoice)
{
    CaptionBench bench;
    ICaptionControl* caption = bench.AttachCaption(kModeParam);
    EXPECT_EQ(caption->GetStr(), "Pedal");
    bench.Click(500.f, 450.f);

    ASSERT_EQ(bench.platform.PopupMenus().size(), 1u);
    EXPECT_EQ(bench.platform.PopupMenus()[0].items, (std::vector<PopupMenuItem>{
                                                        {"Pedal", true, true},
                                                        {"Switches", false, true},
                                                        {"Momentary", false, true},
                                                    }));
    EXPECT_EQ(bench.platform.PopupMenus()[0].bounds, kCaptionArea);
    ASSERT_TRUE(bench.platform.ChoosePopupItem(1));
    ASSERT_EQ(bench.delegate.SentParams().size(), 1u);
    EXPECT_DOUBLE_EQ(bench.delegate.SentParams()[0].normalized, 0.5);
    EXPECT_EQ(bench.delegate.GetParam(kModeParam)->Value(), 1.0);
    EXPECT_EQ(caption->GetStr(), "Switches");
}

TEST(Caption, IntegerCaptionOpensATextEntryAndTextThatIsNoNumberChangesNothing)
{
    CaptionBench bench;
    bench.AttachCaption(kControllerParam);
    for (const char* typed : {"abc", "nan", "", "12abc"})
    {
        bench.platform.ScriptTextEntry(std::string(typed));
        bench.Click(500.f, 450.f);
    }
    EXPECT_TRUE(bench.delegate.SentParams().empty());
    ASSERT_FALSE(bench.platform.TextEntries().empty());
    EXPECT_EQ(bench.platform.TextEntries()[0].initialText, "64");
    EXPECT_TRUE(bench.platform.PopupMenus().empty());

    bench.Click(500.f, 450.f);
    ASSERT_TRUE(bench.platform.CompleteTextEntry(std::string("100")));
    EXPECT_EQ(bench.delegate.GetParam(kControllerParam)->Value(), 100.0);
}

TEST(ParamUserInput, DisplayTextsAndNumbersAreAcceptedOtherTextIsNot)
{
    IParam mode;
    mode.InitEnumerated("Mode", 0, 2, "", IParam::kFlagsNone, "", {"Pedal", "Switches"});
    EXPECT_EQ(ParseParamText(mode, " Switches "), 1.0);
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
}
