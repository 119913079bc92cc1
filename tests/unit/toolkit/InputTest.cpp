#include "core/IParam.h"
#include "support/ToolkitBench.h"
#include "toolkit/ICaptionControl.h"
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
        Attach<ICaptionControl>("caption", IRECT(400.f, 300.f, 600.f, 330.f), 0);
        Attach<IVButtonControl>("right", IRECT(700.f, 10.f, 780.f, 40.f));
        Attach<IVButtonControl>("left", IRECT(100.f, 10.3f, 180.f, 40.f));
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

    IVTabSwitchControl* tabs = nullptr;
    std::vector<IKeyPress> unhandled;
};
} // namespace

TEST(KeyboardFocus, TabReadsTheOperableControlsInRowsShiftTabGoesBackAndKeysActOnTheFocusedOne)
{
    FocusBench bench;
    EXPECT_EQ(bench.Walk(kTab, 5),
              (std::vector<std::string>{"left", "right", "tabs", "caption", "left"}));
    EXPECT_EQ(bench.Walk(kShiftTab, 2), (std::vector<std::string>{"caption", "tabs"}));

    // A control that stops qualifying loses the focus; Tab goes on from the start.
    bench.tabs->Hide(true);
    EXPECT_EQ(bench.Walk(kTab, 1), (std::vector<std::string>{"left"}));

    // Keys act on the focused control through its mouse code, and the rest go on. On the
    // caption, Down and End choose as its menu would.
    bench.tabs->Hide(false);
    bench.Walk(kTab, 3);
    for (EKey key : {EKey::kDown, EKey::kEnd, EKey::kEnd, EKey::kUp, EKey::kHome, EKey::kLeft})
        EXPECT_TRUE(bench.graphics.OnKeyDown(Key(key)));
    EXPECT_EQ(bench.delegate.sentParams, // End twice and Left send once
              (std::vector<std::pair<int, double>>{{0, 0.5}, {0, 1.0}, {0, 0.5}, {0, 0.0}}));

    // The tab switch: Right clicks the next option, its action sees the new value.
    std::vector<double> clicked;
    bench.tabs->SetActionFunction([&clicked](IControl* c) { clicked.push_back(c->GetValue()); });
    bench.Walk(kShiftTab, 1);
    for (EKey key : {EKey::kRight, EKey::kEnd, EKey::kEnd, EKey::kSpace})
        bench.graphics.OnKeyDown(Key(key));
    EXPECT_EQ(clicked, (std::vector<double>{0.5, 1.0, 1.0}));

    // Keys the control leaves reach the unhandled-key function.
    bench.graphics.OnKeyDown(Key(EKey::kEscape));
    EXPECT_EQ(bench.unhandled, (std::vector<IKeyPress>{Key(EKey::kEscape)}));

    // A mouse press moves the focus to what it pressed and hides the ring until the next key.
    bench.Click(150.f, 20.f);
    EXPECT_EQ(bench.Focused(), "left");
    EXPECT_FALSE(bench.graphics.GetKeyboardFocus().IsRingShown());
    EXPECT_EQ(bench.Walk(kTab, 1), (std::vector<std::string>{"right"}));
}

TEST(ParamBinding, ControlsFollowTheEditorUnlessHeldAndUserInputReachesTheEditorOnce)
{
    ToolkitBench bench;
    bench.delegate.GetParam(5)->InitInteger("PEDAL1 Controller", 64, 0, 127);
    bench.delegate.OpenView(bench.graphics, bench.graphics);
    const IRECT small(0.f, 0.f, 50.f, 50.f);
    auto* control = bench.graphics.AttachControl(std::make_unique<ProbeControl>(small, 5));
    EXPECT_DOUBLE_EQ(control->GetValue(), 64.0 / 127.0);
    bench.delegate.SendParamToView(5, 100.0, false);
    EXPECT_DOUBLE_EQ(control->GetValue(), 100.0 / 127.0);
    // A control held by the mouse ignores the editor's value.
    bench.graphics.OnMouseDown(10.f, 10.f, {.L = true});
    bench.graphics.SetParamFromDelegate(5, 1.0);
    EXPECT_DOUBLE_EQ(control->GetValue(), 100.0 / 127.0);
    bench.graphics.OnMouseUp(10.f, 10.f, {.L = true});
    bench.graphics.SetParamFromDelegate(5, 0.0);
    EXPECT_DOUBLE_EQ(control->GetValue(), 0.0);

    int actions = 0;
    control->SetActionFunction([&actions](IControl*) { ++actions; });
    control->SetValueFromUserInput(1.0);
    EXPECT_EQ(actions, 1);
    EXPECT_EQ(bench.delegate.sentParams, (std::vector<std::pair<int, double>>{{5, 1.0}}));
}
