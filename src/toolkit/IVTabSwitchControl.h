#pragma once

#include "toolkit/IActionFunctions.h"
#include "toolkit/ISwitchControlBase.h"
#include "toolkit/IVectorBase.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A vector tab switch: n options side by side (or stacked) in equal parts of the widget area,
// labelled with the option texts, the selected one drawn pressed. Option i has the value
// i / (n - 1). A mouse down on an option selects it; a mouse down anywhere else on the control
// (the gap between two tabs, the label) keeps the value. Either way the control then redraws and
// runs its action, so a click on the selected option runs the action again.
//
// Keys, like a row of page tabs: the arrows, Home and End click the option they lead to
// (KeyStepTarget in list order), Space and Enter click the selected one; a key that leads nowhere
// new clicks nothing.
// [main thread]
class IVTabSwitchControl : public ISwitchControlBase, public IVectorBase
{
public:
    // Neighbouring tabs stand this far apart; the gap belongs to no option.
    static constexpr float kTabGap = 2.f;

    IVTabSwitchControl(const IRECT& bounds, int paramIdx, IActionFunction actionFunc,
                       const std::vector<std::string>& options, std::string_view label = {},
                       const IVStyle& style = IVStyle(), EVShape shape = EVShape::kRectangle,
                       EDirection direction = EDirection::kHorizontal);
    IVTabSwitchControl(const IRECT& bounds, IActionFunction actionFunc,
                       const std::vector<std::string>& options, std::string_view label = {},
                       const IVStyle& style = IVStyle(), EVShape shape = EVShape::kRectangle,
                       EDirection direction = EDirection::kHorizontal);

    void Draw(Painter& painter) override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnMouseOver(float x, float y, const IMouseMod& mod) override;
    void OnMouseOut() override;
    bool OnKeyDown(const IKeyPress& key) override;
    void OnResize() override;

    int NOptions() const { return static_cast<int>(mOptions.size()); }
    const std::string& GetOptionText(int idx) const { return mOptions.at(idx); }
    // The area of option `idx` (its equal part less half the gap on each inner side).
    IRECT GetOptionBounds(int idx) const;
    // A click at the centre of option `idx`, as the mouse gives one (IControl::ClickAt).
    void ClickOption(int idx);
    // The option at (x, y), or -1 when the point hits none.
    int GetOptionIdxForPoint(float x, float y) const;
    // The colour of the selected option's text, so it reads on the pressed body (by default the
    // value text's colour, like the other options).
    void SetSelectedTextColor(const IColor& color);

private:
    std::optional<IColor> mSelectedTextColor;
    std::vector<std::string> mOptions;
    EVShape mShape;
    EDirection mDirection;
    int mMouseOverIdx = -1;
};
