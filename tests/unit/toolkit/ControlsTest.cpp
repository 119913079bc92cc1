#include "core/IParam.h"
#include "support/ToolkitBench.h"
#include "toolkit/IActionFunctions.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/ICaptionControl.h"
#include "toolkit/ICornerResizerControl.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVButtonControl.h"
#include "toolkit/IVTabSwitchControl.h"
#include "toolkit/IVToggleControl.h"

#include <gtest/gtest.h>

namespace
{
// A button whose end-of-animation action counts its runs.
IVButtonControl* AttachCountingButton(ToolkitBench& bench, int& endActions, IActionFunction click)
{
    auto button =
        std::make_unique<IVButtonControl>(IRECT(220.f, 5.f, 290.f, 42.f), std::move(click), "LOAD");
    button->SetAnimationEndActionFunction([&endActions](IControl*) { ++endActions; });
    return bench.graphics.AttachControl(std::move(button));
}
} // namespace

TEST(SplashAnimation, EndActionRunsOnceAfterTheHundredMillisecondsOrAtOnceWithoutASplash)
{
    ToolkitBench bench;
    int endActions = 0;
    IVButtonControl* button = AttachCountingButton(bench, endActions, SplashClickActionFunc);
    bench.Click(250.f, 20.f);
    EXPECT_TRUE(bench.graphics.IsAnimating());
    EXPECT_EQ(button->GetValue(), 1.0); // pressed until the splash ends

    // The animation's time starts with the first frame after the click.
    bench.graphics.OnFrame(1000.0);
    bench.graphics.OnFrame(1100.0);
    EXPECT_EQ(endActions, 0);
    bench.graphics.OnFrame(1116.7);
    EXPECT_EQ(endActions, 1);
    EXPECT_FALSE(bench.graphics.IsAnimating());
    EXPECT_EQ(button->GetValue(), 0.0);
    bench.graphics.OnFrame(2000.0);
    EXPECT_EQ(endActions, 1);

    ToolkitBench empty; // an empty click action runs the end action at once
    AttachCountingButton(empty, endActions, EmptyClickActionFunc);
    empty.Click(250.f, 20.f);
    EXPECT_EQ(endActions, 2);
    EXPECT_FALSE(empty.graphics.IsAnimating());
}

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

using Op = RecordingPainter::Op;

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
    bench.DrawDirty();
    auto frames = bench.painter.CallsOf(Op::kDrawBitmap);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frameIndex, 0);

    bench.delegate.SendParamToView(3, 1.0, false);
    bench.DrawDirty();
    frames = bench.painter.CallsOf(Op::kDrawBitmap);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].frameIndex, 1);
}

TEST(BitmapDisplay, MissingImageDrawsNothing)
{
    ToolkitBench bench;
    bench.graphics.AttachControl(std::make_unique<IBitmapControl>(0.f, 0.f, IBitmap{}));
    bench.graphics.Draw(bench.painter, bench.graphics.GetBounds());
    EXPECT_TRUE(bench.painter.CallsOf(Op::kDrawBitmap).empty());
    EXPECT_FALSE(bench.graphics.LoadBitmap("background.png").has_value());
}

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

namespace
{
struct ResizerBench : ToolkitBench
{
    ResizerBench()
    {
        graphics.AttachCornerResizer(20.f, IColor(10, 0, 0, 0), kColorBlack);
        graphics.AttachControl(std::make_unique<ProbeControl>(graphics.GetBounds()));
    }

    // Drags the resizer from its centre to a window point, delivering the mouse in design pixels
    // as the platform does.
    void DragCornerTo(float windowX, float windowY)
    {
        graphics.OnMouseDown(1014.f, 758.f, {.L = true});
        const float scale = graphics.GetDrawScale();
        graphics.OnMouseDrag(windowX / scale, windowY / scale, 0.f, 0.f, {.L = true});
        const float after = graphics.GetDrawScale();
        graphics.OnMouseUp(windowX / after, windowY / after, {.L = true});
    }
};
} // namespace

TEST(CornerResizer, DraggingScalesTheViewBetweenHalfAndDoubleAndReportsTheNewSize)
{
    ResizerBench bench;
    // The grab point is 10 pixels inside the corner: the corner follows the mouse.
    bench.DragCornerTo(1536.f - 10.f, 1152.f - 10.f);
    EXPECT_FLOAT_EQ(bench.graphics.GetDrawScale(), 1.5f);
    ASSERT_EQ(bench.delegate.Resizes().size(), 1u);
    EXPECT_EQ(bench.delegate.Resizes()[0].width, 1536);
    EXPECT_EQ(bench.delegate.Resizes()[0].height, 1152);
    EXPECT_TRUE(bench.delegate.Resizes()[0].needsPlatformResize);
    // The scale is held between half and double.
    bench.DragCornerTo(5000.f, 4000.f);
    EXPECT_FLOAT_EQ(bench.graphics.GetDrawScale(), 2.f);
    EXPECT_EQ(bench.delegate.ViewWidth(), 2048);
    EXPECT_EQ(bench.delegate.ViewHeight(), 1536);

    bench.DragCornerTo(10.f, 10.f);
    EXPECT_FLOAT_EQ(bench.graphics.GetDrawScale(), 0.5f);
    EXPECT_EQ(bench.delegate.ViewWidth(), 512);
    EXPECT_EQ(bench.delegate.ViewHeight(), 384);
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
    bench.DrawDirty();
    int requests = 0;
    bench.graphics.SetRedrawRequestFunc([&requests] { ++requests; });
    text->SetStr("DEVICE: off");
    bench.graphics.OnFrame(100.0);
    EXPECT_EQ(requests, 0);
    text->SetStr("STATE: Interface Mode");
    EXPECT_EQ(requests, 1);
    bench.DrawDirty();
    bench.Click(250.f, 20.f);
    EXPECT_GE(requests, 2);
}
