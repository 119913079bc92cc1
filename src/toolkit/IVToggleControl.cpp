#include "toolkit/IVToggleControl.h"

IVToggleControl::IVToggleControl(const IRECT& bounds, int paramIdx, IActionFunction actionFunc,
                                 std::string_view label, const IVStyle& style,
                                 std::string_view offText, std::string_view onText)
    : ISwitchControlBase(bounds, paramIdx, std::move(actionFunc), 2),
      IVectorBase(style, false, true), mOffText(offText), mOnText(onText)
{
    AttachIControl(this, label);
    SetValueStr(mOffText);
}

IVToggleControl::IVToggleControl(const IRECT& bounds, IActionFunction actionFunc,
                                 std::string_view label, const IVStyle& style,
                                 std::string_view offText, std::string_view onText)
    : IVToggleControl(bounds, kNoParameter, std::move(actionFunc), label, style, offText, onText)
{
}

void IVToggleControl::Draw(Painter& painter)
{
    DrawBackground(painter, GetRECT());
    DrawPressableShape(painter, EVShape::kRectangle, GetWidgetBounds(), IsOn(), GetMouseIsOver());
    DrawLabel(painter);
    DrawValue(painter);
}

void IVToggleControl::OnMouseDown(float x, float y, const IMouseMod& mod)
{
    SetSplashPoint(x, y);
    ISwitchControlBase::OnMouseDown(x, y, mod);
}

void IVToggleControl::OnResize()
{
    MakeRects(GetRECT());
}

void IVToggleControl::SetDirty(bool triggerAction, int valIdx)
{
    SetValueStr(IsOn() ? mOnText : mOffText);
    ISwitchControlBase::SetDirty(triggerAction, valIdx);
}
