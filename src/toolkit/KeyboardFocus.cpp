#include "toolkit/KeyboardFocus.h"

#include "toolkit/IControl.h"
#include "toolkit/IGraphics.h"
#include "toolkit/Painter.h"

#include <algorithm>
#include <cmath>

namespace
{
// The control the keys act on for `control`: number box buttons and readouts stand for their box.
IControl* Outermost(IControl* control)
{
    while (control && control->GetParent())
        control = control->GetParent();
    return control;
}

bool IsWithin(const IControl* control, const IControl* ancestor)
{
    for (; control; control = control->GetParent())
    {
        if (control == ancestor)
            return true;
    }
    return false;
}
} // namespace

bool KeyboardFocus::CanTakeFocus(const IControl& control) const
{
    if (!control.TakesFocus() || control.IsHidden() || control.IsDisabled() ||
        control.GetUI() != &mGraphics)
        return false;
    const IRECT& target = control.GetTargetRECT();
    return IsWithin(mGraphics.GetMouseControl(target.MW(), target.MH()), &control);
}

std::vector<IControl*> KeyboardFocus::FocusOrder() const
{
    std::vector<IControl*> order;
    for (int i = 0; i < mGraphics.NControls(); ++i)
    {
        IControl* control = mGraphics.GetControl(i);
        if (CanTakeFocus(*control))
            order.push_back(control);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const IControl* a, const IControl* b)
                     {
                         const float rowA = std::round(a->GetRECT().T);
                         const float rowB = std::round(b->GetRECT().T);
                         if (rowA != rowB)
                             return rowA < rowB;
                         return a->GetRECT().L < b->GetRECT().L;
                     });
    return order;
}

IControl* KeyboardFocus::GetFocus() const
{
    return mFocus && CanTakeFocus(*mFocus) ? mFocus : nullptr;
}

void KeyboardFocus::RedrawFocused()
{
    if (mFocus)
        mFocus->SetDirty(false);
}

void KeyboardFocus::SetFocus(IControl* control)
{
    RedrawFocused();
    mFocus = control;
    mRingShown = control != nullptr;
    RedrawFocused();
}

void KeyboardFocus::Walk(bool backwards)
{
    const std::vector<IControl*> order = FocusOrder();
    if (order.empty())
    {
        SetFocus(nullptr);
        return;
    }
    const auto at = std::find(order.begin(), order.end(), GetFocus());
    const int n = static_cast<int>(order.size());
    int next = 0;
    if (at == order.end())
        next = backwards ? n - 1 : 0;
    else
        next = (static_cast<int>(at - order.begin()) + (backwards ? n - 1 : 1)) % n;
    SetFocus(order[static_cast<std::size_t>(next)]);
}

bool KeyboardFocus::OnKeyDown(const IKeyPress& key)
{
    ++mKeyDepth;
    bool used = true;
    if (key.key == EKey::kTab && !key.mod.C && !key.mod.A)
    {
        Walk(key.mod.S);
    }
    else
    {
        IControl* focus = GetFocus();
        if (focus && !mRingShown)
        {
            mRingShown = true;
            RedrawFocused();
        }
        used = focus && focus->OnKeyDown(key);
        if (!used && mUnhandledKeyFunc)
            used = mUnhandledKeyFunc(key);
    }
    --mKeyDepth;
    return used;
}

void KeyboardFocus::OnMousePress(IControl* pressed)
{
    if (mKeyDepth > 0)
        return;
    if (mRingShown)
    {
        mRingShown = false;
        RedrawFocused();
    }
    if (IControl* outer = Outermost(pressed); outer && CanTakeFocus(*outer))
        mFocus = outer;
}

void KeyboardFocus::DrawRing(Painter& painter) const
{
    const IControl* focus = IsRingShown() ? GetFocus() : nullptr;
    if (!focus)
        return;
    const IRECT outer = focus->GetRECT().GetPadded(-kRingThickness / 2.f);
    const IRECT inner = focus->GetRECT().GetPadded(-kRingThickness - 0.5f);
    const IBlend opaque;
    painter.DrawRoundRect(kRingColor, outer, 3.f, opaque, kRingThickness);
    painter.DrawRoundRect(kRingInnerColor, inner, 2.f, opaque, 1.f);
}
