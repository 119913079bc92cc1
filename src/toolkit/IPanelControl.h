#pragma once

#include "toolkit/IColor.h"
#include "toolkit/IControl.h"

// A plain panel: fills its rectangle with one colour. It ignores the mouse.
// [main thread]
class IPanelControl : public IControl
{
public:
    IPanelControl(const IRECT& bounds, const IColor& color);

    void Draw(Painter& painter) override;

    const IColor& GetColor() const { return mColor; }
    void SetColor(const IColor& color);

private:
    IColor mColor;
};
