#pragma once

#include "toolkit/IActionFunctions.h"
#include "toolkit/ISwitchControlBase.h"
#include "toolkit/IVectorBase.h"

#include <string>
#include <string_view>

// A vector toggle: two states, drawn pressed and showing its on text while on, raised and showing
// its off text while off. A click flips it and runs its action with the new value.
// [main thread]
class IVToggleControl : public ISwitchControlBase, public IVectorBase
{
public:
    IVToggleControl(const IRECT& bounds, int paramIdx,
                    IActionFunction actionFunc = SplashClickActionFunc, std::string_view label = {},
                    const IVStyle& style = IVStyle(), std::string_view offText = "OFF",
                    std::string_view onText = "ON");
    IVToggleControl(const IRECT& bounds, IActionFunction actionFunc = SplashClickActionFunc,
                    std::string_view label = {}, const IVStyle& style = IVStyle(),
                    std::string_view offText = "OFF", std::string_view onText = "ON");

    void Draw(Painter& painter) override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnResize() override;
    // Keeps the shown text in step with the value.
    void SetDirty(bool triggerAction, int valIdx = kNoValIdx) override;

    bool IsOn() const { return GetValue() > 0.5; }

private:
    std::string mOffText;
    std::string mOnText;
};
