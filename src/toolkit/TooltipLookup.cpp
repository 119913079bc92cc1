#include "toolkit/TooltipLookup.h"

#include "toolkit/ICornerResizerControl.h"
#include "toolkit/IGraphics.h"

namespace
{
const IControl& Outermost(const IControl& control)
{
    const IControl* outer = &control;
    while (outer->GetParent())
        outer = outer->GetParent();
    return *outer;
}
} // namespace

std::string TooltipAt(const IGraphics& graphics, float x, float y)
{
    if (const IControl* resizer = graphics.GetCornerResizer();
        resizer && !resizer->IsHidden() && resizer->IsHit(x, y))
        return resizer->GetTooltipText();
    for (int i = graphics.NControls() - 1; i >= 0; --i)
    {
        const IControl& control = *graphics.GetControl(i);
        if (control.IsHidden() || !control.IsHit(x, y))
            continue;
        const IControl& described = Outermost(control);
        if (!described.GetTooltip().empty())
            return described.GetTooltipText();
        if (!control.GetIgnoreMouse())
            return {};
    }
    return {};
}
