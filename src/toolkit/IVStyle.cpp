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
    return Copy(&IVStyle::mColors, colors);
}

IVStyle IVStyle::WithRoundness(float roundness) const
{
    return Copy(&IVStyle::mRoundness, UnitRange(roundness));
}

IVStyle IVStyle::WithFrameThickness(float thickness) const
{
    return Copy(&IVStyle::mFrameThickness, NonNegative(thickness));
}

IVStyle IVStyle::WithShadowOffset(float offset) const
{
    return Copy(&IVStyle::mShadowOffset, NonNegative(offset));
}

IVStyle IVStyle::WithWidgetFrac(float frac) const
{
    return Copy(&IVStyle::mWidgetFrac, UnitRange(frac));
}

IVStyle IVStyle::WithAngle(float angle) const
{
    return Copy(&IVStyle::mAngle, std::isfinite(angle) ? angle : 0.f);
}

IVStyle IVStyle::WithHideCursor(bool hide) const
{
    return Copy(&IVStyle::mHideCursor, hide);
}

IVStyle IVStyle::WithShowLabel(bool show) const
{
    return Copy(&IVStyle::mShowLabel, show);
}

IVStyle IVStyle::WithShowValue(bool show) const
{
    return Copy(&IVStyle::mShowValue, show);
}

IVStyle IVStyle::WithDrawFrame(bool draw) const
{
    return Copy(&IVStyle::mDrawFrame, draw);
}

IVStyle IVStyle::WithDrawShadows(bool draw) const
{
    return Copy(&IVStyle::mDrawShadows, draw);
}

IVStyle IVStyle::WithEmboss(bool emboss) const
{
    return Copy(&IVStyle::mEmboss, emboss);
}

IVStyle IVStyle::WithLabelText(const IText& text) const
{
    return Copy(&IVStyle::mLabelText, text);
}

IVStyle IVStyle::WithValueText(const IText& text) const
{
    return Copy(&IVStyle::mValueText, text);
}
