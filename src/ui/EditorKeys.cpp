#include "ui/EditorKeys.h"

#include "toolkit/IControl.h"
#include "toolkit/IGraphics.h"
#include "toolkit/IVTabSwitchControl.h"

namespace
{
bool Operable(const IControl* control)
{
    return control && !control->IsHidden() && !control->IsDisabled();
}

bool Press(IControl* control)
{
    if (!Operable(control))
        return false;
    control->ClickAt(control->GetTargetRECT().MW(), control->GetTargetRECT().MH());
    return true;
}
} // namespace

bool OnEditorKey(const EditorKeyTargets& targets, const IKeyPress& key)
{
    const bool plain = !key.mod.C && !key.mod.A && !key.mod.S;
    if (key.key == EKey::kEscape && plain)
        return Press(targets.aboutCloser) || Press(targets.firmwareClose);
    if (key.key != EKey::kCharacter || !key.mod.C || key.mod.A || key.mod.S)
        return false;
    switch (key.character)
    {
    case '1':
    case '2':
    case '3':
        if (!Operable(targets.pageTabs))
            return false;
        targets.pageTabs->ClickOption(key.character - '1');
        // The next Tab goes on into the new page, whatever had the focus on the old one.
        if (IGraphics* graphics = targets.pageTabs->GetUI())
            graphics->GetKeyboardFocus().SetFocus(targets.pageTabs);
        return true;
    case 'o':
        return Press(targets.load);
    case 's':
        return Press(targets.save);
    default:
        return false;
    }
}
