#include "toolkit/IVTabSwitchControl.h"

#include "toolkit/Painter.h"

IVTabSwitchControl::IVTabSwitchControl(const IRECT& bounds, int paramIdx,
                                       IActionFunction actionFunc,
                                       const std::vector<std::string>& options,
                                       std::string_view label, const IVStyle& style, EVShape shape,
                                       EDirection direction)
    : ISwitchControlBase(bounds, paramIdx, std::move(actionFunc), static_cast<int>(options.size())),
      IVectorBase(style, false, true), mOptions(options), mShape(shape), mDirection(direction)
{
    // A switch has at least two states; missing option texts are blank.
    mOptions.resize(static_cast<std::size_t>(GetNumStates()));
    AttachIControl(this, label);
}

IVTabSwitchControl::IVTabSwitchControl(const IRECT& bounds, IActionFunction actionFunc,
                                       const std::vector<std::string>& options,
                                       std::string_view label, const IVStyle& style, EVShape shape,
                                       EDirection direction)
    : IVTabSwitchControl(bounds, kNoParameter, std::move(actionFunc), options, label, style, shape,
                         direction)
{
}

IRECT IVTabSwitchControl::GetOptionBounds(int idx) const
{
    const IRECT& widget = GetWidgetBounds();
    const int n = NOptions();
    const float halfGap = kTabGap / 2.f;
    if (mDirection == EDirection::kHorizontal)
    {
        const IRECT part = widget.SubRectHorizontal(n, idx);
        return part.GetPadded(idx > 0 ? -halfGap : 0.f, 0.f, idx < n - 1 ? -halfGap : 0.f, 0.f);
    }
    const IRECT part = widget.SubRectVertical(n, idx);
    return part.GetPadded(0.f, idx > 0 ? -halfGap : 0.f, 0.f, idx < n - 1 ? -halfGap : 0.f);
}

int IVTabSwitchControl::GetOptionIdxForPoint(float x, float y) const
{
    for (int i = 0; i < NOptions(); ++i)
    {
        if (GetOptionBounds(i).Contains(x, y))
            return i;
    }
    return -1;
}

void IVTabSwitchControl::Draw(Painter& painter)
{
    DrawBackground(painter, GetRECT());
    const int selected = GetSelectedIdx();
    const IBlend& blend = GetBlend();
    for (int i = 0; i < NOptions(); ++i)
    {
        const IRECT option = GetOptionBounds(i);
        DrawPressableShape(painter, mShape, option, i == selected,
                           GetMouseIsOver() && i == mMouseOverIdx);
        if (mOptions[i].empty())
            continue;
        IText text = GetStyle().mValueText;
        if (i == selected && mSelectedTextColor)
            text.mFGColor = *mSelectedTextColor;
        painter.DrawText(text, mOptions[i], option, blend);
    }
    DrawLabel(painter);
}

void IVTabSwitchControl::OnMouseDown(float x, float y, const IMouseMod&)
{
    SetSplashPoint(x, y);
    const int hit = GetOptionIdxForPoint(x, y);
    if (hit >= 0)
        SetValue(ValueForState(hit));
    SetDirty(true);
}

void IVTabSwitchControl::OnMouseOver(float x, float y, const IMouseMod& mod)
{
    const int idx = GetOptionIdxForPoint(x, y);
    if (idx != mMouseOverIdx)
    {
        mMouseOverIdx = idx;
        SetDirty(false);
    }
    ISwitchControlBase::OnMouseOver(x, y, mod);
}

void IVTabSwitchControl::OnMouseOut()
{
    mMouseOverIdx = -1;
    ISwitchControlBase::OnMouseOut();
}

bool IVTabSwitchControl::OnKeyDown(const IKeyPress& key)
{
    const int selected = GetSelectedIdx();
    if (key.key == EKey::kSpace || key.key == EKey::kEnter)
    {
        ClickOption(selected);
        return true;
    }
    const std::optional<int> target = KeyStepTarget(key, selected, NOptions(), 1, EKeyOrder::kList);
    if (!target)
        return false;
    if (*target != selected)
        ClickOption(*target);
    return true;
}

void IVTabSwitchControl::ClickOption(int idx)
{
    if (idx < 0 || idx >= NOptions())
        return;
    const IRECT option = GetOptionBounds(idx);
    ClickAt(option.MW(), option.MH());
}

void IVTabSwitchControl::OnResize()
{
    MakeRects(GetRECT());
}

void IVTabSwitchControl::SetSelectedTextColor(const IColor& color)
{
    mSelectedTextColor = color;
    SetDirty(false);
}
