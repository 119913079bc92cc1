#include "toolkit/IVPanelControl.h"

IVPanelControl::IVPanelControl(const IRECT& bounds, std::string_view label, const IVStyle& style)
    : IControl(bounds), IVectorBase(style, false, true)
{
    SetIgnoreMouse(true);
    AttachIControl(this, label);
}

void IVPanelControl::Draw(Painter& painter)
{
    const IRECT& body = GetWidgetBounds();
    const IColor& background = GetColor(EVColor::kBG);
    if (background.A > 0)
        FillShape(painter, background, EVShape::kRectangle, body);
    DrawFrame(painter, EVShape::kRectangle, body);
    DrawLabel(painter);
}

void IVPanelControl::OnResize()
{
    MakeRects(GetRECT());
}
