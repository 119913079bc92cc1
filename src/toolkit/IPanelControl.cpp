#include "toolkit/IPanelControl.h"

#include "toolkit/Painter.h"

IPanelControl::IPanelControl(const IRECT& bounds, const IColor& color)
    : IControl(bounds), mColor(color)
{
    SetIgnoreMouse(true);
}

void IPanelControl::Draw(Painter& painter)
{
    if (mColor.A > 0)
        painter.FillRect(mColor, GetRECT(), GetBlend());
}

void IPanelControl::SetColor(const IColor& color)
{
    mColor = color;
    SetDirty(false);
}
