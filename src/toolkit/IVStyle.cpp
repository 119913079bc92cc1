#include "toolkit/IVStyle.h"

#include <algorithm>
#include <cmath>

namespace
{
float NonNegative(float value)
{
    return std::isfinite(value) ? std::max(value, 0.f) : 0.f;
}

float UnitRange(float value)
{
    return std::isfinite(value) ? std::clamp(value, 0.f, 1.f) : 0.f;
}
} // namespace

IVStyle IVStyle::WithColor(EVColor color, const IColor& value) const
{
    IVStyle style = *this;
    style.mColors[static_cast<int>(color)] = value;
    return style;
}

IVStyle IVStyle::WithColors(const ColorTable& colors) const
{
    IVStyle style = *this;
    style.mColors = colors;
    return style;
}

IVStyle IVStyle::WithRoundness(float roundness) const
{
    IVStyle style = *this;
    style.mRoundness = UnitRange(roundness);
    return style;
}

IVStyle IVStyle::WithFrameThickness(float thickness) const
{
    IVStyle style = *this;
    style.mFrameThickness = NonNegative(thickness);
    return style;
}

IVStyle IVStyle::WithShadowOffset(float offset) const
{
    IVStyle style = *this;
    style.mShadowOffset = NonNegative(offset);
    return style;
}

IVStyle IVStyle::WithWidgetFrac(float frac) const
{
    IVStyle style = *this;
    style.mWidgetFrac = UnitRange(frac);
    return style;
}

IVStyle IVStyle::WithAngle(float angle) const
{
    IVStyle style = *this;
    style.mAngle = std::isfinite(angle) ? angle : 0.f;
    return style;
}

IVStyle IVStyle::WithHideCursor(bool hide) const
{
    IVStyle style = *this;
    style.mHideCursor = hide;
    return style;
}

IVStyle IVStyle::WithShowLabel(bool show) const
{
    IVStyle style = *this;
    style.mShowLabel = show;
    return style;
}

IVStyle IVStyle::WithShowValue(bool show) const
{
    IVStyle style = *this;
    style.mShowValue = show;
    return style;
}

IVStyle IVStyle::WithDrawFrame(bool draw) const
{
    IVStyle style = *this;
    style.mDrawFrame = draw;
    return style;
}

IVStyle IVStyle::WithDrawShadows(bool draw) const
{
    IVStyle style = *this;
    style.mDrawShadows = draw;
    return style;
}

IVStyle IVStyle::WithEmboss(bool emboss) const
{
    IVStyle style = *this;
    style.mEmboss = emboss;
    return style;
}

IVStyle IVStyle::WithLabelText(const IText& text) const
{
    IVStyle style = *this;
    style.mLabelText = text;
    return style;
}

IVStyle IVStyle::WithValueText(const IText& text) const
{
    IVStyle style = *this;
    style.mValueText = text;
    return style;
}
