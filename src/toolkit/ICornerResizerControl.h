#pragma once

#include "toolkit/IColor.h"
#include "toolkit/IControl.h"

// The corner resizer: a small triangle in the view's bottom right corner. Dragging it scales the
// whole view (design coordinates stay as they are): the scale follows the window size the drag
// asks for, projected on the view's diagonal so the aspect ratio holds, clamped by the context
// into its scale range. Drawn in its colour, or its mouse-over colour while hovered or dragged.
// [main thread]
class ICornerResizerControl : public IControl
{
public:
    ICornerResizerControl(const IRECT& bounds, const IColor& color, const IColor& mouseOverColor);

    void Draw(Painter& painter) override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;

    bool IsDragging() const { return mDragging; }

private:
    IColor mColor;
    IColor mMouseOverColor;
    bool mDragging = false;
    // Window pixels from the mouse to the view's bottom right corner when the drag began.
    float mGrabOffsetX = 0.f;
    float mGrabOffsetY = 0.f;
};
