#include "core/IParam.h"
#include "support/ToolkitBench.h"
#include "toolkit/ICaptionControl.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVButtonControl.h"
#include "toolkit/IVTabSwitchControl.h"
#include "toolkit/IVToggleControl.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace
{
IKeyPress Key(EKey key, IMouseMod mod = {})
{
    return {key, 0, mod};
}
const IKeyPress kTab = Key(EKey::kTab);
const IKeyPress kShiftTab = Key(EKey::kTab, {.S = true});

// Controls attached out of reading order; Tab must read them row by row, left to right, and pass
// over what is hidden, greyed out, covered, or does not take the focus.
struct FocusBench : ToolkitBench
{
    FocusBench()
    {
        delegate.GetParam(0)->InitEnumerated("Mode", 0, 3, "", IParam::kFlagsNone, "",
                                             {"Pedal", "Switches", "Momentary"});
        delegate.OpenView(graphics, graphics);
        caption = Attach<ICaptionControl>("caption", IRECT(400.f, 300.f, 600.f, 330.f), 0);
        right = Attach<IVButtonControl>("right", IRECT(700.f, 10.f, 780.f, 40.f));
        left = Attach<IVButtonControl>("left", IRECT(100.f, 10.3f, 180.f, 40.f));
        tabs = Attach<IVTabSwitchControl>("tabs", IRECT(300.f, 100.f, 600.f, 140.f), nullptr,
                                          std::vector<std::string>{"A", "B", "C"});
        Attach<IVToggleControl>("hidden", IRECT(100.f, 200.f, 200.f, 240.f))->Hide(true);
        Attach<IVToggleControl>("greyed", IRECT(300.f, 200.f, 400.f, 240.f))->SetDisabled(true);
        Attach<IVToggleControl>("covered", IRECT(500.f, 200.f, 600.f, 240.f));
        graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(480.f, 190.f, 620.f, 250.f)));
        graphics.AttachControl(std::make_unique<ProbeControl>(IRECT(10.f, 600.f, 90.f, 640.f)));
        graphics.GetKeyboardFocus().SetUnhandledKeyFunc(
            [this](const IKeyPress& key)
            {
                unhandled.push_back(key);
                return true;
            });
    }

    template <class T, class... Args>
    T* Attach(const char* name, Args&&... args)
    {
        T* control = graphics.AttachControl(std::make_unique<T>(std::forward<Args>(args)...));
        control->SetName(name);
        return control;
    }

    std::string Focused() const
    {
        const IControl* focus = graphics.GetKeyboardFocus().GetFocus();
        return focus ? focus->GetName() : "none";
    }
    std::vector<std::string> Walk(const IKeyPress& key, int n)
    {
        std::vector<std::string> names;
        for (int i = 0; i < n; ++i)
        {
            EXPECT_TRUE(graphics.OnKeyDown(key));
            names.push_back(Focused());
        }
        return names;
    }

    ICaptionControl* caption = nullptr;
    IVButtonControl* right = nullptr;
    IVButtonControl* left = nullptr;
    IVTabSwitchControl* tabs = nullptr;
    std::vector<IKeyPress> unhandled;
};
} // namespace

TEST(KeyboardFocus, TabReadsTheOperableControlsRowByRowAndShiftTabGoesBackBothWrapping)
{
    FocusBench bench;
    EXPECT_EQ(bench.Focused(), "none");
    EXPECT_EQ(bench.Walk(kTab, 5),
              (std::vector<std::string>{"left", "right", "tabs", "caption", "left"}));
    EXPECT_EQ(bench.Walk(kShiftTab, 2), (std::vector<std::string>{"caption", "tabs"}));
    EXPECT_TRUE(bench.graphics.GetKeyboardFocus().IsRingShown());

    // The ring is drawn last, inside the focused control so that its redraws cover it.
    bench.graphics.SetAllControlsDirty();
    ASSERT_TRUE(bench.DrawDirty());
    const auto& calls = bench.painter.Calls();
    ASSERT_GE(calls.size(), 3u);
    const RecordingPainter::Call& ring = calls[calls.size() - 3];
    EXPECT_EQ(ring.op, RecordingPainter::Op::kDrawRoundRect);
    EXPECT_EQ(ring.color, KeyboardFocus::kRingColor);
    EXPECT_TRUE(bench.tabs->GetRECT().Contains(ring.rect));

    // A control that stops qualifying loses the focus; Tab goes on from the start.
    bench.tabs->Hide(true);
    EXPECT_EQ(bench.Focused(), "none");
    EXPECT_EQ(bench.Walk(kTab, 1), (std::vector<std::string>{"left"}));
}

TEST(KeyboardFocus, KeysActOnTheFocusedControlThroughItsMouseCodeAndTheRestGoOn)
{
    FocusBench bench;
    bench.Walk(kTab, 4);
    ASSERT_EQ(bench.Focused(), "caption");
    // Enter opens the caption's menu as a click does; Down and End choose as the menu would.
    EXPECT_TRUE(bench.graphics.OnKeyDown(Key(EKey::kEnter)));
    EXPECT_EQ(bench.platform.PopupMenus().size(), 1u);
    bench.platform.ChoosePopupItem(std::nullopt);
    for (EKey key : {EKey::kDown, EKey::kEnd, EKey::kEnd, EKey::kUp, EKey::kHome, EKey::kLeft})
        EXPECT_TRUE(bench.graphics.OnKeyDown(Key(key)));
    std::vector<double> sent;
    for (const auto& param : bench.delegate.SentParams())
        sent.push_back(param.normalized);
    EXPECT_EQ(sent, (std::vector<double>{0.5, 1.0, 0.5, 0.0})); // End twice and Left send once

    // The tab switch: Right clicks the next option, its action sees the new value.
    std::vector<double> clicked;
    bench.tabs->SetActionFunction([&clicked](IControl* c) { clicked.push_back(c->GetValue()); });
    bench.Walk(kShiftTab, 1);
    for (EKey key : {EKey::kRight, EKey::kEnd, EKey::kEnd, EKey::kSpace})
        bench.graphics.OnKeyDown(Key(key));
    EXPECT_EQ(clicked, (std::vector<double>{0.5, 1.0, 1.0}));
    EXPECT_TRUE(bench.graphics.GetKeyboardFocus().IsRingShown());

    // Keys the control leaves reach the unhandled-key function; so do all keys without a focus.
    bench.graphics.OnKeyDown(Key(EKey::kEscape));
    EXPECT_EQ(bench.unhandled, (std::vector<IKeyPress>{Key(EKey::kEscape)}));

    // A mouse press moves the focus to what it pressed and hides the ring until the next key.
    bench.Click(150.f, 20.f);
    EXPECT_EQ(bench.Focused(), "left");
    EXPECT_FALSE(bench.graphics.GetKeyboardFocus().IsRingShown());
    EXPECT_EQ(bench.Walk(kTab, 1), (std::vector<std::string>{"right"}));
}

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

namespace
{
const IRECT kSmall(0.f, 0.f, 50.f, 50.f);

struct BoundBench : ToolkitBench
{
    BoundBench()
    {
        delegate.GetParam(5)->InitInteger("PEDAL1 Controller", 64, 0, 127);
        delegate.OpenView(graphics, graphics);
    }
};
} // namespace

TEST(ParamBinding, ControlsStartWithTheirParametersValueAndFollowTheEditorUnlessHeld)
{
    BoundBench bench;
    auto* a = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kSmall, 5));
    auto* b = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kSmall, 5));
    EXPECT_DOUBLE_EQ(a->GetValue(), 64.0 / 127.0);
    bench.delegate.SendParamToView(5, 100.0, false);
    EXPECT_DOUBLE_EQ(a->GetValue(), 100.0 / 127.0);
    EXPECT_DOUBLE_EQ(b->GetValue(), 100.0 / 127.0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
    // A control held by the mouse ignores the editor's value.
    auto* held = b;
    bench.graphics.OnMouseDown(10.f, 10.f, {.L = true});
    bench.graphics.SetParamFromDelegate(5, 1.0);
    EXPECT_DOUBLE_EQ(held->GetValue(), 100.0 / 127.0);

    bench.graphics.OnMouseUp(10.f, 10.f, {.L = true});
    bench.graphics.SetParamFromDelegate(5, 1.0);
    EXPECT_DOUBLE_EQ(held->GetValue(), 1.0);
}

TEST(ParamBinding, UserInputSendsTheValueToTheEditorAndRunsTheActionForKnownParametersOnly)
{
    BoundBench bench;
    std::vector<double> seenByAction;
    auto probe = std::make_unique<ProbeControl>(kSmall, 5);
    probe->SetActionFunction([&](IControl* caller) { seenByAction.push_back(caller->GetValue()); });
    auto* control = bench.graphics.AttachControl(std::move(probe));
    control->SetValueFromUserInput(1.0);
    ASSERT_EQ(bench.delegate.SentParams().size(), 1u);
    EXPECT_EQ(bench.delegate.SentParams()[0].paramIdx, 5);
    EXPECT_EQ(bench.delegate.GetParam(5)->Value(), 127.0);
    EXPECT_EQ(seenByAction, std::vector<double>{1.0});

    bench.delegate.ClearRecords(); // a parameter the editor lacks or never set up sends nothing
    auto* missing = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kSmall, 99));
    auto* neverSetUp = bench.graphics.AttachControl(std::make_unique<ProbeControl>(kSmall, 7));
    missing->SetValueFromUserInput(1.0);
    neverSetUp->SetValueFromUserInput(1.0);
    EXPECT_TRUE(bench.delegate.SentParams().empty());
}

TEST(PlatformRequests, WithoutAPlatformTheCompletionRunsAtOnceWithNoResult)
{
    ToolkitBench bench;
    bench.graphics.SetPlatformUi(nullptr);
    std::optional<EMsgBoxResult> result;
    std::optional<std::string> path;
    bench.graphics.ShowMessageBox("x", "", EMsgBoxType::kOk,
                                  [&result](EMsgBoxResult r) { result = r; });
    bench.graphics.PromptForFile(EFileAction::kOpen, "bin",
                                 [&path](std::string p) { path = std::move(p); });
    EXPECT_EQ(result, EMsgBoxResult::kNoResult);
    EXPECT_EQ(path, std::string());
    EXPECT_FALSE(bench.graphics.OpenURL("manual.pdf"));
}

TEST(PlatformRequests, AnswerArrivingAfterTheViewIsGoneIsDropped)
{
    ScriptedPlatformUi platform;
    FakeEditorDelegate delegate(1);
    bool called = false;
    {
        IGraphics graphics(delegate, 1024, 768);
        graphics.SetPlatformUi(&platform);
        graphics.ShowMessageBox("Firmware update finished.", "", EMsgBoxType::kOk,
                                [&called](EMsgBoxResult) { called = true; });
    }
    EXPECT_TRUE(platform.AnswerMessageBox(EMsgBoxResult::kOk));
    EXPECT_FALSE(called);
}
