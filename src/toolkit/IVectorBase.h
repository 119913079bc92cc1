#pragma once

#include "toolkit/IColor.h"
#include "toolkit/IRECT.h"
#include "toolkit/IVStyle.h"

#include <string>
#include <string_view>

class IControl;
class Painter;

// The drawing shared by the vector widgets: a widget style, a label and a value text, the split of
// the control's rectangle into label, widget and value areas, and the pressable body with its
// shadow, emboss, mouse-over highlight, splash and frame. A control derives from IControl and from
// IVectorBase and calls AttachIControl in its constructor.
// [main thread]
class IVectorBase
{
public:
    explicit IVectorBase(const IVStyle& style, bool labelInWidget = false,
                         bool valueInWidget = false);
    virtual ~IVectorBase() = default;

    void AttachIControl(IControl* control, std::string_view label);

    const IVStyle& GetStyle() const { return mStyle; }
    // Replaces the style and redraws.
    void SetStyle(const IVStyle& style);
    void SetColor(EVColor color, const IColor& value);
    const IColor& GetColor(EVColor color) const { return mStyle.GetColor(color); }

    const std::string& GetLabelStr() const { return mLabelStr; }
    // Replaces the label and redraws; the areas are laid out again.
    void SetLabelStr(std::string_view label);
    const std::string& GetValueStr() const { return mValueStr; }
    void SetValueStr(std::string_view value);

    // Where the splash of a click starts, in design pixels.
    void SetSplashPoint(float x, float y);
    float GetSplashX() const { return mSplashX; }
    float GetSplashY() const { return mSplashY; }

    // Splits `parent` into label, widget and value areas: the label takes a strip at the top (the
    // label text's size) unless it is drawn inside the widget or there is none; the value likewise
    // a strip at the bottom; the widget the rest, scaled about its centre by the widget fraction.
    void MakeRects(const IRECT& parent);
    const IRECT& GetLabelBounds() const { return mLabelBounds; }
    const IRECT& GetWidgetBounds() const { return mWidgetBounds; }
    const IRECT& GetValueBounds() const { return mValueBounds; }

    // Radius of the rounded corners for `bounds`: roundness times half the shorter side.
    float GetRoundedCornerRadius(const IRECT& bounds) const;

    // The body of a button or tab in `bounds`: shadow (unless pressed), emboss (unless pressed),
    // the foreground or pressed colour, the highlight while the mouse is over it, the splash while
    // the control animates, then the frame. A pressed body sits shadow-offset lower right.
    void DrawPressableShape(Painter& painter, EVShape shape, const IRECT& bounds, bool pressed,
                            bool mouseOver) const;
    // The style's background over the whole control, when it is not transparent.
    void DrawBackground(Painter& painter, const IRECT& bounds) const;
    void DrawFrame(Painter& painter, EVShape shape, const IRECT& bounds) const;
    void DrawLabel(Painter& painter) const;
    void DrawValue(Painter& painter) const;
    // The splash circle from the splash point, growing with the animation's progress, clipped to
    // `bounds`; nothing while the control does not animate.
    void DrawSplash(Painter& painter, const IRECT& bounds) const;

    void FillShape(Painter& painter, const IColor& color, EVShape shape, const IRECT& bounds) const;

protected:
    // The control this base draws for; nullptr before AttachIControl.
    IControl* GetOwner() const { return mOwner; }

private:
    void Redraw() const;

    IControl* mOwner = nullptr;
    IVStyle mStyle;
    bool mLabelInWidget;
    bool mValueInWidget;
    std::string mLabelStr;
    std::string mValueStr;
    IRECT mLabelBounds;
    IRECT mWidgetBounds;
    IRECT mValueBounds;
    float mSplashX = 0.f;
    float mSplashY = 0.f;
};
