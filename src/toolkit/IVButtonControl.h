#pragma once

#include "toolkit/IActionFunctions.h"
#include "toolkit/IControl.h"
#include "toolkit/IVectorBase.h"

#include <string_view>

// A vector button. A mouse down shows it pressed and runs its action (by default the splash click
// action, so the end-of-animation action follows 100 ms later); it springs back when its
// animation ends, or on mouse up when it has none. Label and value are drawn inside the body or
// in strips above and below it. Space and Enter press it as a click does.
// [main thread]
class IVButtonControl : public IControl, public IVectorBase
{
public:
    IVButtonControl(const IRECT& bounds, IActionFunction actionFunc = SplashClickActionFunc,
                    std::string_view label = {}, const IVStyle& style = IVStyle(),
                    bool labelInButton = true, bool valueInButton = true,
                    EVShape shape = EVShape::kRectangle);

    void Draw(Painter& painter) override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseUp(float x, float y, const IMouseMod& mod) override;
    void OnEndAnimation() override;
    void OnResize() override;

    EVShape GetShape() const { return mShape; }

private:
    EVShape mShape;
};
