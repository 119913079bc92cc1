#include "core/IParam.h"
#include "support/ToolkitBench.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVButtonControl.h"
#include "ui/IVNumberBoxControl.h"

#include <cmath>
#include <gtest/gtest.h>
#include <vector>

namespace
{
constexpr int kController = 0;
const IRECT kBox(100.f, 100.f, 300.f, 140.f);
// Inside the readout, the left three quarters of the box.
constexpr float kX = 150.f;
constexpr float kY = 120.f;

// A box bound to a controller number 0 to 127, on a context that forwards edits to the setting.
struct NumberBoxBench : ToolkitBench
{
    explicit NumberBoxBench(int start = 64) : ToolkitBench(2)
    {
        delegate.GetParam(kController)
            ->InitInteger("PEDAL1 Controller", 0, 0, 127, "", IParam::kFlagStepped);
        delegate.GetParam(kController)->Set(start);
        delegate.OpenView(graphics, graphics);
        box = graphics.AttachControl(std::make_unique<IVNumberBoxControl>(
            kBox, kController, nullptr, "", IVStyle(), 50.0, 1.0, 100.0, "%0.0f"));
    }

    void Drag(float dY, IMouseMod mod = {.L = true})
    {
        graphics.OnMouseDown(kX, kY, mod);
        graphics.OnMouseDrag(kX, kY + dY, 0.f, dY, mod);
        graphics.OnMouseUp(kX, kY + dY, mod);
    }
    void Wheel(float d, IMouseMod mod = {}) { graphics.OnMouseWheel(kX, kY, mod, d); }
    void Type(const char* text)
    {
        platform.ScriptTextEntry(std::string(text));
        graphics.OnMouseDblClick(kX, kY, {.L = true});
    }
    double Setting() const { return delegate.GetParam(kController)->Value(); }
    // Runs the frames of a button's splash to its end.
    void Settle()
    {
        for (double t = 0.0; t <= 200.0 && graphics.IsAnimating(); t += 16.0)
            graphics.OnFrame(t);
    }

    IVNumberBoxControl* box = nullptr;
};
} // namespace

TEST(NumberBox, AttachedBoxTakesTheSettingsRangeAndValue)
{
    NumberBoxBench bench(64);
    EXPECT_EQ(bench.box->GetMinimum(), 0.0);
    EXPECT_EQ(bench.box->GetMaximum(), 127.0);
    EXPECT_EQ(bench.box->GetReadoutText(), "64");
    EXPECT_TRUE(bench.delegate.SentParams().empty());
}

TEST(NumberBox, ReadoutTakesTheLeftThreeQuartersAndTheButtonsTheRest)
{
    NumberBoxBench bench;
    ASSERT_NE(bench.box->GetReadout(), nullptr);
    EXPECT_EQ(bench.box->GetReadout()->GetRECT(), IRECT(100, 100, 250, 140));
    EXPECT_EQ(bench.box->GetReadout()->GetStr(), "64");
    EXPECT_TRUE(bench.box->GetReadout()->GetIgnoreMouse());
    EXPECT_EQ(bench.box->GetIncrementButton()->GetRECT(), IRECT(250, 100, 300, 120));
    EXPECT_EQ(bench.box->GetIncrementButton()->GetLabelStr(), "+");
    EXPECT_EQ(bench.box->GetDecrementButton()->GetRECT(), IRECT(250, 120, 300, 140));
    EXPECT_EQ(bench.box->GetDecrementButton()->GetLabelStr(), "-");
}

TEST(NumberBox, DraggingUpTenPixelsRaisesTheValueByTen)
{
    NumberBoxBench bench(64);
    bench.Drag(-10.f);
    EXPECT_EQ(bench.Setting(), 74.0);
    EXPECT_EQ(bench.box->GetReadoutText(), "74");
    ASSERT_FALSE(bench.delegate.SentParams().empty());
    EXPECT_EQ(bench.delegate.SentParams().back().paramIdx, kController);
    EXPECT_NEAR(bench.delegate.SentParams().back().normalized, 74.0 / 127.0, 1e-9);
}

TEST(NumberBox, DraggingDownLowersTheValue)
{
    NumberBoxBench bench(64);
    bench.Drag(4.f);
    EXPECT_EQ(bench.Setting(), 60.0);
}

TEST(NumberBox, ShiftOrCtrlMakesADragOfTenPixelsRaiseByOne)
{
    NumberBoxBench bench(64);
    bench.Drag(-10.f, {.L = true, .S = true});
    EXPECT_EQ(bench.Setting(), 65.0);
    EXPECT_EQ(bench.box->GetReadoutText(), "65");
    bench.Drag(-10.f, {.L = true, .C = true});
    EXPECT_EQ(bench.Setting(), 66.0);
}

TEST(NumberBox, FineDragsAddUpBelowTheReadoutsResolution)
{
    NumberBoxBench bench(64);
    for (int i = 0; i < 3; ++i)
        bench.Drag(-1.f, {.L = true, .S = true});
    EXPECT_EQ(bench.box->GetReadoutText(), "64");
    EXPECT_EQ(bench.Setting(), 64.0);
    for (int i = 0; i < 8; ++i)
        bench.Drag(-1.f, {.L = true, .S = true});
    EXPECT_EQ(bench.box->GetReadoutText(), "65");
    EXPECT_EQ(bench.Setting(), 65.0);
}

TEST(NumberBox, DraggingPastTheMaximumStopsThereAndComesBackAtOnce)
{
    NumberBoxBench bench(120);
    bench.Drag(-20.f);
    EXPECT_EQ(bench.Setting(), 127.0);
    bench.Drag(-10.f);
    EXPECT_EQ(bench.Setting(), 127.0);
    EXPECT_EQ(bench.box->GetReadoutText(), "127");
    bench.Drag(1.f);
    EXPECT_EQ(bench.Setting(), 126.0);
}

TEST(NumberBox, DraggingBelowTheMinimumStopsThere)
{
    NumberBoxBench bench(3);
    bench.Drag(50.f);
    EXPECT_EQ(bench.Setting(), 0.0);
    bench.Drag(-1.f);
    EXPECT_EQ(bench.Setting(), 1.0);
}

TEST(NumberBox, DoubleClickOnTheReadoutOpensATextEntryHoldingItsText)
{
    NumberBoxBench bench(64);
    bench.graphics.OnMouseDblClick(kX, kY, {.L = true});
    ASSERT_EQ(bench.platform.TextEntries().size(), 1u);
    EXPECT_EQ(bench.platform.TextEntries()[0].initialText, "64");
    EXPECT_EQ(bench.platform.TextEntries()[0].bounds, IRECT(100, 100, 250, 140));
}

TEST(NumberBox, TypedValueAboveTheRangeSetsTheMaximum)
{
    NumberBoxBench bench(64);
    bench.Type("200");
    EXPECT_EQ(bench.Setting(), 127.0);
    EXPECT_EQ(bench.box->GetReadoutText(), "127");
}

TEST(NumberBox, TypedNumberIsTaken)
{
    NumberBoxBench bench(64);
    bench.Type(" 12 ");
    EXPECT_EQ(bench.Setting(), 12.0);
}

TEST(NumberBox, TypedTextThatIsNoFiniteNumberReadsAsZero)
{
    for (const char* text : {"nan", "NAN", "inf", "-inf", "infinity", "abc", "", "1e999"})
    {
        NumberBoxBench bench(64);
        bench.Type(text);
        EXPECT_EQ(bench.Setting(), 0.0) << '"' << text << '"';
        EXPECT_EQ(bench.box->GetReadoutText(), "0") << '"' << text << '"';
        EXPECT_TRUE(std::isfinite(bench.box->GetRealValue())) << '"' << text << '"';
        EXPECT_TRUE(std::isfinite(bench.box->GetValue())) << '"' << text << '"';
    }
}

TEST(NumberBox, TypedTextReadsAsTheDecimalNumberItStartsWith)
{
    EXPECT_EQ(ParseNumberBoxText("12.5"), 12.5);
    EXPECT_EQ(ParseNumberBoxText("  7\t"), 7.0);
    EXPECT_EQ(ParseNumberBoxText("+3"), 3.0);
    EXPECT_EQ(ParseNumberBoxText("-2"), -2.0);
    EXPECT_EQ(ParseNumberBoxText(".5"), 0.5);
    EXPECT_EQ(ParseNumberBoxText("1e2"), 100.0);
    EXPECT_EQ(ParseNumberBoxText("12abc"), 12.0);
    EXPECT_EQ(ParseNumberBoxText("0x10"), 0.0);
    EXPECT_EQ(ParseNumberBoxText("+-3"), 0.0);
    EXPECT_EQ(ParseNumberBoxText("nan"), 0.0);
    EXPECT_EQ(ParseNumberBoxText("+inf"), 0.0);
}

TEST(NumberBox, WheelNotchStepsUpOrDown)
{
    NumberBoxBench bench(64);
    bench.Wheel(1.f);
    EXPECT_EQ(bench.Setting(), 65.0);
    bench.Wheel(-1.f);
    bench.Wheel(-1.f);
    EXPECT_EQ(bench.Setting(), 63.0);
}

TEST(NumberBox, WheelWithShiftTakesTheFineStep)
{
    NumberBoxBench bench(64);
    for (int i = 0; i < 11; ++i)
        bench.Wheel(1.f, {.S = true});
    EXPECT_EQ(bench.Setting(), 65.0);
}

TEST(NumberBox, WheelEventWithoutVerticalMovementChangesNothing)
{
    NumberBoxBench bench(64);
    bench.Wheel(0.f);
    EXPECT_EQ(bench.Setting(), 64.0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
}

TEST(NumberBox, SmallTouchpadDeltasAddUpToOneStepPerNotch)
{
    NumberBoxBench bench(64);
    for (int i = 0; i < 3; ++i)
        bench.Wheel(0.25f);
    EXPECT_EQ(bench.Setting(), 64.0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
    bench.Wheel(0.25f);
    EXPECT_EQ(bench.Setting(), 65.0);
    EXPECT_EQ(bench.delegate.SentParams().size(), 1u);
}

TEST(NumberBox, TurningTheWheelBackDropsWhatHadAddedUp)
{
    NumberBoxBench bench(64);
    bench.Wheel(0.75f);
    bench.Wheel(-0.5f);
    EXPECT_EQ(bench.Setting(), 64.0);
    bench.Wheel(-0.5f);
    EXPECT_EQ(bench.Setting(), 63.0);
}

TEST(NumberBox, PlusAndMinusStepAfterTheirSplash)
{
    NumberBoxBench bench(64);
    bench.Click(275.f, 110.f); // "+"
    EXPECT_EQ(bench.Setting(), 64.0);
    bench.Settle();
    EXPECT_EQ(bench.Setting(), 65.0);
    bench.Click(275.f, 130.f); // "-"
    bench.Settle();
    bench.Click(275.f, 130.f);
    bench.Settle();
    EXPECT_EQ(bench.Setting(), 63.0);
    EXPECT_EQ(bench.box->GetReadoutText(), "63");
}

TEST(NumberBox, ValueFromTheEditorIsShownAndNotSentBack)
{
    NumberBoxBench bench(64);
    bench.delegate.SendParamToView(kController, 100.0, false);
    EXPECT_EQ(bench.box->GetReadoutText(), "100");
    EXPECT_EQ(bench.box->GetRealValue(), 100.0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
    bench.Drag(-1.f);
    EXPECT_EQ(bench.Setting(), 101.0);
}

TEST(NumberBox, HiddenBoxHidesItsReadoutAndButtons)
{
    NumberBoxBench bench;
    bench.box->Hide(true);
    for (const IControl* child : bench.box->GetChildren())
        EXPECT_TRUE(child->IsHidden());
    bench.box->Hide(false);
    for (const IControl* child : bench.box->GetChildren())
        EXPECT_FALSE(child->IsHidden());
}

TEST(NumberBox, DisabledBoxAndButtonsAreFadedAndPassedOverByTheMouse)
{
    NumberBoxBench bench(64);
    bench.box->SetDisabled(true);
    for (const IControl* child : bench.box->GetChildren())
        EXPECT_FLOAT_EQ(child->GetBlend().mWeight, 0.25f);
    EXPECT_EQ(bench.graphics.GetMouseControl(kX, kY), nullptr);
    EXPECT_EQ(bench.graphics.GetMouseControl(275.f, 110.f), nullptr);
    bench.Drag(-10.f);
    bench.Wheel(1.f);
    EXPECT_EQ(bench.Setting(), 64.0);
}

TEST(NumberBox, HoldingTheBoxHidesTheCursorAndFramesAnEditGesture)
{
    NumberBoxBench bench;
    bench.graphics.OnMouseDown(kX, kY, {.L = true});
    EXPECT_TRUE(bench.platform.IsCursorHidden());
    EXPECT_EQ(bench.delegate.BeginEdits(), std::vector<int>{kController});
    bench.graphics.OnMouseUp(kX, kY, {.L = true});
    EXPECT_FALSE(bench.platform.IsCursorHidden());
    EXPECT_EQ(bench.delegate.EndEdits(), std::vector<int>{kController});
}

TEST(NumberBox, CursorComesBackWhenThePlatformLosesTheMouseUp)
{
    NumberBoxBench bench;
    bench.graphics.OnMouseDown(kX, kY, {.L = true});
    ASSERT_TRUE(bench.platform.IsCursorHidden());
    bench.graphics.ReleaseMouseCapture();
    EXPECT_FALSE(bench.platform.IsCursorHidden());
    EXPECT_EQ(bench.delegate.EndEdits(), std::vector<int>{kController});
}

TEST(NumberBox, DoubleClickEndsEveryGestureItBegan)
{
    NumberBoxBench bench;
    bench.graphics.OnMouseDown(kX, kY, {.L = true});
    bench.graphics.OnMouseUp(kX, kY, {.L = true});
    bench.graphics.OnMouseDblClick(kX, kY, {.L = true});
    bench.graphics.OnMouseUp(kX, kY, {.L = true});
    EXPECT_EQ(bench.delegate.BeginEdits().size(), bench.delegate.EndEdits().size());
    EXPECT_FALSE(bench.platform.IsCursorHidden());
}

TEST(NumberBox, UnboundBoxKeepsItsOwnRangeAndRunsItsAction)
{
    ToolkitBench bench(2);
    int actions = 0;
    auto* box = bench.graphics.AttachControl(std::make_unique<IVNumberBoxControl>(
        kBox, kNoParameter, [&actions](IControl*) { ++actions; }, "", IVStyle(), 50.0, 1.0, 100.0));
    EXPECT_EQ(box->GetReadoutText(), "50");
    bench.graphics.OnMouseDown(kX, kY, {.L = true});
    bench.graphics.OnMouseDrag(kX, kY, 0.f, -60.f, {.L = true});
    bench.graphics.OnMouseUp(kX, kY, {.L = true});
    EXPECT_EQ(box->GetRealValue(), 100.0);
    EXPECT_DOUBLE_EQ(box->GetValue(), 1.0);
    EXPECT_EQ(actions, 1);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
    EXPECT_TRUE(bench.delegate.BeginEdits().empty());
}

TEST(NumberBox, MouseOverHighlightsTheReadout)
{
    NumberBoxBench bench;
    bench.graphics.EnableMouseOver(true);
    bench.graphics.OnMouseOver(kX, kY, {});
    RecordingPainter painter;
    bench.box->Draw(painter);
    const auto fills = painter.CallsOf(RecordingPainter::Op::kFillRect);
    ASSERT_EQ(fills.size(), 1u);
    EXPECT_EQ(fills[0].rect, IRECT(100, 100, 250, 140));
    EXPECT_EQ(fills[0].color, IVStyle().GetColor(EVColor::kHL));
}

TEST(NumberBoxFormat, OnlyOneFloatingPointConversionIsAccepted)
{
    EXPECT_TRUE(IsNumberBoxFormat("%0.0f"));
    EXPECT_TRUE(IsNumberBoxFormat("%.1f dB"));
    EXPECT_TRUE(IsNumberBoxFormat("%5.2lf%%"));
    EXPECT_FALSE(IsNumberBoxFormat("%d"));
    EXPECT_FALSE(IsNumberBoxFormat("%s"));
    EXPECT_FALSE(IsNumberBoxFormat("%f %f"));
    EXPECT_FALSE(IsNumberBoxFormat("100%%"));
    EXPECT_FALSE(IsNumberBoxFormat("%*f"));
    EXPECT_FALSE(IsNumberBoxFormat("%"));
}

TEST(NumberBoxFormat, UnusableFormatFallsBackToWholeNumbers)
{
    ToolkitBench bench(2);
    auto* box = bench.graphics.AttachControl(std::make_unique<IVNumberBoxControl>(
        kBox, kNoParameter, nullptr, "", IVStyle(), 42.4, 1.0, 100.0, "%s"));
    EXPECT_EQ(box->GetFormat(), "%0.0f");
    EXPECT_EQ(box->GetReadoutText(), "42");
}
