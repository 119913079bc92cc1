#include "toolkit/ISwitchControlBase.h"

#include <algorithm>
#include <cmath>

ISwitchControlBase::ISwitchControlBase(const IRECT& bounds, int paramIdx,
                                       IActionFunction actionFunc, int numStates)
    : IControl(bounds, paramIdx, std::move(actionFunc)), mNumStates(std::max(numStates, 2))
{
    SetTakesFocus(true);
}

void ISwitchControlBase::OnMouseDown(float, float, const IMouseMod&)
{
    if (mNumStates == 2)
    {
        SetValue(GetValue() == 0.0 ? 1.0 : 0.0);
    }
    else
    {
        const int next = GetSelectedIdx() + 1;
        SetValue(next > mNumStates - 1 ? 0.0 : ValueForState(next));
    }
    SetDirty(true);
}

int ISwitchControlBase::GetSelectedIdx() const
{
    const int idx = static_cast<int>(std::lround(GetValue() * (mNumStates - 1)));
    return std::clamp(idx, 0, mNumStates - 1);
}

double ISwitchControlBase::ValueForState(int idx) const
{
    return static_cast<double>(std::clamp(idx, 0, mNumStates - 1)) / (mNumStates - 1);
}
