#include "toolkit/IVectorBase.h"

#include "toolkit/IControl.h"
#include "toolkit/Painter.h"

#include <algorithm>
#include <cmath>

namespace
{
// The rims that make an embossed body look raised: light above left, dark below right.
constexpr IColor kEmbossLight{90, 255, 255, 255};
constexpr IColor kEmbossDark{90, 0, 0, 0};
} // namespace

IVectorBase::IVectorBase(const IVStyle& style, bool labelInWidget, bool valueInWidget)
    : mStyle(style), mLabelInWidget(labelInWidget), mValueInWidget(valueInWidget)
{
}

void IVectorBase::AttachIControl(IControl* control, std::string_view label)
{
    mOwner = control;
    mLabelStr = std::string(label);
    if (mOwner)
        MakeRects(mOwner->GetRECT());
}

void IVectorBase::SetStyle(const IVStyle& style)
{
    mStyle = style;
    if (mOwner)
        MakeRects(mOwner->GetRECT());
    Redraw();
}

void IVectorBase::SetColor(EVColor color, const IColor& value)
{
    mStyle = mStyle.WithColor(color, value);
    Redraw();
}

void IVectorBase::SetLabelStr(std::string_view label)
{
    if (label == mLabelStr)
        return;
    mLabelStr = std::string(label);
    if (mOwner)
        MakeRects(mOwner->GetRECT());
    Redraw();
}

void IVectorBase::SetValueStr(std::string_view value)
{
    if (value == mValueStr)
        return;
    mValueStr = std::string(value);
    Redraw();
}

void IVectorBase::SetSplashPoint(float x, float y)
{
    mSplashX = x;
    mSplashY = y;
}

void IVectorBase::MakeRects(const IRECT& parent)
{
    IRECT widget = parent;
    const bool hasLabel = mStyle.mShowLabel && !mLabelStr.empty();
    if (hasLabel && !mLabelInWidget)
    {
        mLabelBounds = widget.GetFromTop(mStyle.mLabelText.mSize);
        widget = widget.GetReducedFromTop(mStyle.mLabelText.mSize);
    }
    if (mStyle.mShowValue && !mValueInWidget)
    {
        mValueBounds = widget.GetFromBottom(mStyle.mValueText.mSize);
        widget = widget.GetReducedFromBottom(mStyle.mValueText.mSize);
    }
    if (mStyle.mWidgetFrac < 1.f)
        widget = widget.GetCentredInside(widget.W() * mStyle.mWidgetFrac,
                                         widget.H() * mStyle.mWidgetFrac);
    mWidgetBounds = widget;
    if (mLabelInWidget)
        mLabelBounds = widget;
    if (mValueInWidget)
        mValueBounds = widget;
    if (!hasLabel && !mLabelInWidget)
        mLabelBounds = {};
}

float IVectorBase::GetRoundedCornerRadius(const IRECT& bounds) const
{
    return mStyle.mRoundness * 0.5f * std::min(bounds.W(), bounds.H());
}

void IVectorBase::FillShape(Painter& painter, const IColor& color, EVShape shape,
                            const IRECT& bounds) const
{
    const IBlend blend = mOwner ? mOwner->GetBlend() : IBlend{};
    if (shape == EVShape::kEllipse)
        painter.FillEllipse(color, bounds, blend);
    else
        painter.FillRoundRect(color, bounds, GetRoundedCornerRadius(bounds), blend);
}

void IVectorBase::DrawPressableShape(Painter& painter, EVShape shape, const IRECT& bounds,
                                     bool pressed, bool mouseOver) const
{
    const float offset = mStyle.mDrawShadows ? mStyle.mShadowOffset : 0.f;
    IRECT body = bounds.GetReducedFromRight(offset).GetReducedFromBottom(offset);
    if (pressed)
        body = body.GetTranslated(offset, offset);
    else if (offset > 0.f)
        FillShape(painter, GetColor(EVColor::kSH), shape, body.GetTranslated(offset, offset));

    if (mStyle.mEmboss && !pressed)
    {
        FillShape(painter, kEmbossLight, shape, body.GetTranslated(-1.f, -1.f));
        FillShape(painter, kEmbossDark, shape, body.GetTranslated(1.f, 1.f));
    }
    FillShape(painter, GetColor(pressed ? EVColor::kPR : EVColor::kFG), shape, body);
    if (mouseOver)
        FillShape(painter, GetColor(EVColor::kHL), shape, body);
    DrawSplash(painter, body);
    DrawFrame(painter, shape, body);
}

void IVectorBase::DrawBackground(Painter& painter, const IRECT& bounds) const
{
    const IColor& background = GetColor(EVColor::kBG);
    if (background.A > 0 && mOwner)
        painter.FillRect(background, bounds, mOwner->GetBlend());
}

void IVectorBase::DrawFrame(Painter& painter, EVShape shape, const IRECT& bounds) const
{
    if (!mStyle.mDrawFrame || mStyle.mFrameThickness <= 0.f || !mOwner)
        return;
    const IColor& frame = GetColor(EVColor::kFR);
    if (shape == EVShape::kEllipse)
        painter.DrawEllipse(frame, bounds, mOwner->GetBlend(), mStyle.mFrameThickness);
    else
        painter.DrawRoundRect(frame, bounds, GetRoundedCornerRadius(bounds), mOwner->GetBlend(),
                              mStyle.mFrameThickness);
}

void IVectorBase::DrawLabel(Painter& painter) const
{
    if (!mStyle.mShowLabel || mLabelStr.empty() || !mOwner)
        return;
    IRECT bounds = mLabelBounds;
    // Label and value both inside the widget share it: label above, value below.
    if (mLabelInWidget && mValueInWidget && mStyle.mShowValue && !mValueStr.empty())
        bounds = bounds.SubRectVertical(2, 0);
    painter.DrawText(mStyle.mLabelText, mLabelStr, bounds, mOwner->GetBlend());
}

void IVectorBase::DrawValue(Painter& painter) const
{
    if (!mStyle.mShowValue || mValueStr.empty() || !mOwner)
        return;
    IRECT bounds = mValueBounds;
    if (mLabelInWidget && mValueInWidget && mStyle.mShowLabel && !mLabelStr.empty())
        bounds = bounds.SubRectVertical(2, 1);
    painter.DrawText(mStyle.mValueText, mValueStr, bounds, mOwner->GetBlend());
}

void IVectorBase::DrawSplash(Painter& painter, const IRECT& bounds) const
{
    if (!mOwner || !mOwner->HasAnimation())
        return;
    const double progress = std::clamp(mOwner->GetAnimationProgress(), 0.0, 1.0);
    const float radius = static_cast<float>(progress) * std::max(bounds.W(), bounds.H());
    if (radius <= 0.f)
        return;
    painter.PushClip(bounds);
    painter.FillEllipse(
        GetColor(EVColor::kHL),
        IRECT(mSplashX - radius, mSplashY - radius, mSplashX + radius, mSplashY + radius),
        mOwner->GetBlend());
    painter.PopClip();
}

void IVectorBase::Redraw() const
{
    if (mOwner)
        mOwner->SetDirty(false);
}
