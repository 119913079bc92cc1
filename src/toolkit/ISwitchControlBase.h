#pragma once

#include "toolkit/IControl.h"

// A control with `n` states (at least 2), state i having the value i / (n - 1). A mouse down
// steps it: with 2 states 0 becomes 1 and anything else 0; with more it moves one state up and
// wraps from the last to the first. Then it redraws and runs its action, which sees the new value.
// Tab stops at it; Space and Enter click it.
// [main thread]
class ISwitchControlBase : public IControl
{
public:
    ISwitchControlBase(const IRECT& bounds, int paramIdx, IActionFunction actionFunc,
                       int numStates);

    void OnMouseDown(float x, float y, const IMouseMod& mod) override;

    int GetNumStates() const { return mNumStates; }
    // The state the value stands for, 0 .. n - 1 (the nearest one).
    int GetSelectedIdx() const;
    // The value of state `idx` (clamped into 0 .. n - 1).
    double ValueForState(int idx) const;

private:
    int mNumStates;
};
