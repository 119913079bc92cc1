#pragma once

#include "toolkit/IColor.h"
#include "toolkit/IKeyPress.h"
#include "toolkit/IRECT.h"

#include <functional>
#include <vector>

class IControl;
class IGraphics;
class Painter;

// The keyboard focus of one graphics context: which control takes the keys, the order Tab walks,
// and the focus ring.
//
// Tab stops at every control that takes the focus (IControl::TakesFocus), is shown and enabled,
// and is the one the mouse would hit at its target's centre (so a control under an overlay or
// the About page is passed over, as the mouse passes over it). The order is reading order: by
// the top edge, rounded to a whole design pixel, then from left to right. Tab moves to the next
// such control and Shift+Tab to the previous one, both wrapping around; from no focus they start
// at the first or the last.
//
// Any other key goes to the focused control's OnKeyDown; a key it leaves (or any key without a
// focus) goes to the unhandled-key function. A control that stops qualifying loses the focus
// for the next key.
//
// The ring is drawn over the focused control, inside its rectangle so that the control's own
// redraws cover it, from the first key on; a mouse press moves the focus to the pressed control
// (when it qualifies) and hides the ring until the next key.
// [main thread]
class KeyboardFocus
{
public:
    using KeyFunc = std::function<bool(const IKeyPress& key)>;

    static constexpr IColor kRingColor{255, 255, 255, 255};
    static constexpr IColor kRingInnerColor{255, 0, 0, 0};
    static constexpr float kRingThickness = 2.f;

    explicit KeyboardFocus(IGraphics& graphics) : mGraphics(graphics) {}

    // True when the key was used (by the walk, the focused control or the unhandled-key function).
    bool OnKeyDown(const IKeyPress& key);
    void SetUnhandledKeyFunc(KeyFunc func) { mUnhandledKeyFunc = std::move(func); }

    // The controls Tab stops at now, in order.
    std::vector<IControl*> FocusOrder() const;
    bool CanTakeFocus(const IControl& control) const;
    // The focused control, or nullptr (none, or it no longer qualifies).
    IControl* GetFocus() const;
    // Moves the focus (nullptr: none) and shows the ring; redraws both controls.
    void SetFocus(IControl* control);
    bool IsRingShown() const { return mRingShown && GetFocus(); }

    // From the context: a mouse press reached `pressed` (nullptr: nothing). Presses the keys make
    // themselves (IControl::ClickAt) change nothing.
    void OnMousePress(IControl* pressed);
    // Draws the ring when shown (the context clips to the area it repaints).
    void DrawRing(Painter& painter) const;

private:
    void Walk(bool backwards);
    void RedrawFocused();

    IGraphics& mGraphics;
    IControl* mFocus = nullptr;
    bool mRingShown = false;
    // Above 0 while a key is handled.
    int mKeyDepth = 0;
    KeyFunc mUnhandledKeyFunc;
};
