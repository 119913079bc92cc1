#include "toolkit/IActionFunctions.h"

#include "toolkit/IGraphics.h"
#include "toolkit/IVectorBase.h"

void SplashClickActionFunc(IControl* caller)
{
    if (!caller)
        return;
    if (auto* vector = dynamic_cast<IVectorBase*>(caller); vector && caller->GetUI())
    {
        float x = 0.f;
        float y = 0.f;
        caller->GetUI()->GetMouseDownPoint(x, y);
        vector->SetSplashPoint(x, y);
    }
    caller->SetAnimation(SplashAnimationFunc, kSplashDurationMs);
}

void SplashAnimationFunc(IControl* caller)
{
    if (caller->GetAnimationProgress() > 1.0)
    {
        caller->OnEndAnimation();
        return;
    }
    caller->SetDirty(false);
}

void DefaultAnimationFunc(IControl* caller)
{
    if (caller->GetAnimationProgress() > 1.0)
        caller->OnEndAnimation();
}

void EmptyClickActionFunc(IControl* caller)
{
    if (caller && caller->GetAnimationEndActionFunction())
    {
        const IActionFunction action = caller->GetAnimationEndActionFunction();
        action(caller);
    }
}
