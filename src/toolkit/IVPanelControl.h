#pragma once

#include "toolkit/IControl.h"
#include "toolkit/IVectorBase.h"

#include <string_view>

// A vector panel: the style's background and frame (with its roundness and frame thickness) and
// its label. It ignores the mouse.
// [main thread]
class IVPanelControl : public IControl, public IVectorBase
{
public:
    IVPanelControl(const IRECT& bounds, std::string_view label = {},
                   const IVStyle& style = IVStyle());

    void Draw(Painter& painter) override;
    void OnResize() override;
};
