#include "toolkit/IVButtonControl.h"

IVButtonControl::IVButtonControl(const IRECT& bounds, IActionFunction actionFunc,
                                 std::string_view label, const IVStyle& style, bool labelInButton,
                                 bool valueInButton, EVShape shape)
    : IControl(bounds, std::move(actionFunc)), IVectorBase(style, labelInButton, valueInButton),
      mShape(shape)
{
    AttachIControl(this, label);
    SetTakesFocus(true);
}

void IVButtonControl::Draw(Painter& painter)
{
    DrawBackground(painter, GetRECT());
    DrawPressableShape(painter, mShape, GetWidgetBounds(), GetValue() > 0.5, GetMouseIsOver());
    DrawLabel(painter);
    DrawValue(painter);
}

void IVButtonControl::OnMouseDown(float x, float y, const IMouseMod&)
{
    SetSplashPoint(x, y);
    SetValue(1.0);
    SetDirty(true);
}

void IVButtonControl::OnMouseUp(float, float, const IMouseMod&)
{
    if (!HasAnimation() && GetValue() > 0.0)
    {
        SetValue(0.0);
        SetDirty(false);
    }
}

void IVButtonControl::OnEndAnimation()
{
    SetValue(0.0);
    IControl::OnEndAnimation();
}

void IVButtonControl::OnResize()
{
    MakeRects(GetRECT());
}
