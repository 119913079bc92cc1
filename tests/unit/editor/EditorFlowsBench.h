#pragma once

#include "support/TempFolder.h"
#include "toolkit/IVectorBase.h"
#include "unit/editor/EditorBench.h"

#include <string>

// What the preset and firmware tests add to the editor bench: the file buttons as the user
// finds them, and files in a folder of their own.
namespace editor_flows
{
// The control labelled `label`, or nullptr.
inline IControl* ButtonLabelled(IGraphics& graphics, const std::string& label)
{
    IControl* found = nullptr;
    graphics.ForAllControls(
        [&](IControl& control)
        {
            if (const auto* vector = dynamic_cast<const IVectorBase*>(&control))
                if (!found && vector->GetLabelStr() == label)
                    found = &control;
        });
    return found;
}

// The button's splash has ended: its end-of-animation action runs. False when it has none.
inline bool SplashEnds(IGraphics& graphics, const std::string& label)
{
    IControl* button = ButtonLabelled(graphics, label);
    if (!button || !button->GetAnimationEndActionFunction())
        return false;
    button->GetAnimationEndActionFunction()(button);
    return true;
}

inline bool GroupDisabled(IGraphics& graphics, const char* group)
{
    bool disabled = true;
    graphics.ForControlInGroup(group, [&](IControl& control) { disabled &= control.IsDisabled(); });
    return disabled;
}
} // namespace editor_flows
