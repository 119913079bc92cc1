#pragma once

#include "toolkit/ITextControl.h"

// A parameter caption: shows the bound parameter's display text (optionally with its unit label)
// in its text style over its background colour. An enumerated parameter also gets a small
// downward triangle near the right edge. A left or right click asks for user input on the
// parameter over the caption: a menu of its choices, or a text entry.
//
// Keys: Space and Enter click it (the menu opens); on a menu parameter the value keys choose an
// entry of that menu as the menu would (KeyStepTarget in list order, kPageStep entries per page);
// a key that stays on the current entry sends nothing.
// [main thread]
class ICaptionControl : public ITextControl
{
public:
    static constexpr float kTriangleWidth = 8.f;
    static constexpr float kTriangleHeight = 5.f;
    static constexpr int kPageStep = 4;

    ICaptionControl(const IRECT& bounds, int paramIdx, const IText& text = IText(),
                    const IColor& bgColor = kColorTransparent, bool showParamLabel = false);

    void Draw(Painter& painter) override;
    void OnMouseDown(float x, float y, const IMouseMod& mod) override;
    void OnAttached() override;
    bool OnKeyDown(const IKeyPress& key) override;
    // Refreshes the text from the value before marking for redrawing.
    void SetDirty(bool triggerAction, int valIdx = kNoValIdx) override;

    // The triangle's top left corner: left at the middle of the rightmost fifth minus 4, top at
    // the vertical centre minus 2.5.
    IRECT GetTriangleBounds() const;

private:
    void UpdateText();

    bool mShowParamLabel;
};
