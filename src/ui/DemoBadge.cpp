#include "ui/DemoBadge.h"

#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "ui/ControlTags.h"
#include "ui/EditorStyles.h"

#include <memory>

namespace
{
// Dark type on amber: a warning colour that reads at 9:1 and stands apart from the blue, green
// and red buttons.
constexpr IColor kBadgeColor{255, 255, 176, 0};
constexpr IColor kBadgeTextColor{255, 28, 28, 28};
} // namespace

void AttachDemoBadge(IGraphics& graphics)
{
    const IText text = MakeEditorStyles()
                           .labelText.WithSize(16.f)
                           .WithVAlign(EVAlign::kMiddle)
                           .WithColor(kBadgeTextColor);
    graphics.AttachControl(
        std::make_unique<ITextControl>(IRECT(792.f, 13.f, 852.f, 35.f), "DEMO", text, kBadgeColor),
        kCtrlTagDemoBadge);
}
