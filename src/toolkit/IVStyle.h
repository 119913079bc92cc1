#pragma once

#include "toolkit/IColor.h"
#include "toolkit/IText.h"

#include <array>

// The nine colour slots of a widget style, in table order.
enum class EVColor : int
{
    kBG = 0, // background
    kFG,     // foreground: the body of buttons and tabs
    kPR,     // pressed: the body while pressed or selected
    kFR,     // frame
    kHL,     // highlight: mouse-over and splash
    kSH,     // shadow
    kX1,     // extra 1
    kX2,     // extra 2
    kX3,     // extra 3
};

inline constexpr int kNumVColors = 9;

// The outline of a vector widget's body.
enum class EVShape
{
    kRectangle, // corners rounded by the style's roundness
    kEllipse,
};

enum class EDirection
{
    kHorizontal,
    kVertical,
};

// A widget style: flags, geometry, the colour table and the label and value text styles. A plain
// value type. The defaults are the toolkit's base style: every flag on except emboss, square
// corners, a frame of 1, a shadow offset of 3, grey body, white frame, green Roboto 20 texts.
struct IVStyle
{
    using ColorTable = std::array<IColor, kNumVColors>;

    static constexpr ColorTable kDefaultColors = {
        IColor{0, 0, 0, 0},         // background
        IColor{255, 94, 94, 94},    // foreground
        IColor{255, 169, 169, 169}, // pressed
        IColor{255, 255, 255, 255}, // frame
        IColor{10, 0, 0, 0},        // highlight
        IColor{60, 0, 0, 0},        // shadow
        IColor{255, 0, 0, 0},       // extra 1
        IColor{255, 0, 255, 0},     // extra 2
        IColor{255, 0, 0, 255},     // extra 3
    };

    const IColor& GetColor(EVColor color) const { return mColors[static_cast<int>(color)]; }

    // Copies with one setting changed. Roundness is clamped into 0-1, sizes below 0 become 0.
    IVStyle WithColor(EVColor color, const IColor& value) const;
    IVStyle WithColors(const ColorTable& colors) const;
    IVStyle WithRoundness(float roundness) const;
    IVStyle WithFrameThickness(float thickness) const;
    IVStyle WithShadowOffset(float offset) const;
    IVStyle WithWidgetFrac(float frac) const;
    IVStyle WithAngle(float angle) const;
    IVStyle WithHideCursor(bool hide) const;
    IVStyle WithShowLabel(bool show) const;
    IVStyle WithShowValue(bool show) const;
    IVStyle WithDrawFrame(bool draw) const;
    IVStyle WithDrawShadows(bool draw) const;
    IVStyle WithEmboss(bool emboss) const;
    IVStyle WithLabelText(const IText& text) const;
    IVStyle WithValueText(const IText& text) const;

    bool operator==(const IVStyle&) const = default;

    // This style with `member` set to `value`: what every With... above does after checking its
    // argument.
    template <typename T, typename V>
    IVStyle Copy(T IVStyle::*member, V&& value) const
    {
        IVStyle style = *this;
        style.*member = static_cast<T>(value);
        return style;
    }

    bool mHideCursor = true;
    bool mShowLabel = true;
    bool mShowValue = true;
    bool mDrawFrame = true;
    bool mDrawShadows = true;
    bool mEmboss = false;
    float mRoundness = 0.f;      // 0 square corners, 1 fully round ends
    float mFrameThickness = 1.f; // design pixels
    float mShadowOffset = 3.f;   // design pixels, right and down
    float mWidgetFrac = 1.f;     // share of the widget area the body fills, 0-1
    float mAngle = 0.f;          // degrees
    ColorTable mColors = kDefaultColors;
    IText mLabelText{20.f, IColor{255, 0, 255, 0}};
    IText mValueText{20.f, IColor{255, 0, 255, 0}};
};
