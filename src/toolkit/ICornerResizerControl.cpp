#include "toolkit/ICornerResizerControl.h"

#include "toolkit/IGraphics.h"
#include "toolkit/Painter.h"

ICornerResizerControl::ICornerResizerControl(const IRECT& bounds, const IColor& color,
                                             const IColor& mouseOverColor)
    : IControl(bounds), mColor(color), mMouseOverColor(mouseOverColor)
{
}

void ICornerResizerControl::Draw(Painter& painter)
{
    const IRECT& r = GetRECT();
    const IColor& color = (GetMouseIsOver() || mDragging) ? mMouseOverColor : mColor;
    painter.FillTriangle(color, r.R, r.T, r.R, r.B, r.L, r.B, GetBlend());
}

void ICornerResizerControl::OnMouseDown(float x, float y, const IMouseMod&)
{
    IGraphics* ui = GetUI();
    if (!ui)
        return;
    const float scale = ui->GetDrawScale();
    mGrabOffsetX = (static_cast<float>(ui->Width()) - x) * scale;
    mGrabOffsetY = (static_cast<float>(ui->Height()) - y) * scale;
    mDragging = true;
    SetDirty(false);
}

void ICornerResizerControl::OnMouseDrag(float x, float y, float, float, const IMouseMod&)
{
    IGraphics* ui = GetUI();
    if (!ui || !mDragging)
        return;
    // Mouse positions arrive in design pixels at the current scale; the window size the drag asks
    // for is in window pixels.
    const float scale = ui->GetDrawScale();
    const float wantW = x * scale + mGrabOffsetX;
    const float wantH = y * scale + mGrabOffsetY;
    const float w = static_cast<float>(ui->Width());
    const float h = static_cast<float>(ui->Height());
    ui->SetDrawScale((wantW * w + wantH * h) / (w * w + h * h));
}

void ICornerResizerControl::OnMouseUp(float, float, const IMouseMod&)
{
    mDragging = false;
    SetDirty(false);
}
