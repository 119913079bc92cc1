#include "ui/ScreenText.h"

#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"

void SetControlText(IGraphics* screen, int tag, std::string_view text)
{
    if (!screen)
        return;
    if (auto* control = dynamic_cast<ITextControl*>(screen->GetControlWithTag(tag)))
        control->SetStr(text);
}
