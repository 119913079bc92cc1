#include "ui/IVNumberBoxControl.h"

#include "core/IGEditorDelegate.h"
#include "core/IParam.h"
#include "toolkit/IActionFunctions.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVButtonControl.h"
#include "toolkit/Painter.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <memory>

namespace
{
bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

IVStyle NumberBoxStyle(const IVStyle& style)
{
    return style.WithDrawShadows(false).WithValueText(
        style.mValueText.WithVAlign(EVAlign::kMiddle));
}

bool IsFine(const IMouseMod& mod)
{
    return mod.S || mod.C;
}
} // namespace

double ParseNumberBoxText(std::string_view text)
{
    while (!text.empty() && IsBlank(text.front()))
        text.remove_prefix(1);
    // from_chars takes a '-' but no '+'.
    if (text.size() > 1 && text.front() == '+' && text[1] != '-' && text[1] != '+')
        text.remove_prefix(1);
    double value = 0.0;
    const auto [end, ec] =
        std::from_chars(text.data(), text.data() + text.size(), value, std::chars_format::general);
    if (ec != std::errc() || end == text.data() || !std::isfinite(value))
        return 0.0;
    return value;
}

bool IsNumberBoxFormat(std::string_view format)
{
    if (format.size() > IVNumberBoxControl::kMaxFormatLength)
        return false;
    int conversions = 0;
    for (std::size_t i = 0; i < format.size(); ++i)
    {
        if (format[i] != '%')
            continue;
        ++i;
        if (i < format.size() && format[i] == '%')
            continue;
        while (i < format.size() &&
               std::string_view("-+ #0").find(format[i]) != std::string_view::npos)
            ++i;
        while (i < format.size() && format[i] >= '0' && format[i] <= '9')
            ++i;
        if (i < format.size() && format[i] == '.')
        {
            ++i;
            while (i < format.size() && format[i] >= '0' && format[i] <= '9')
                ++i;
        }
        if (i < format.size() && format[i] == 'l')
            ++i;
        if (i >= format.size() ||
            std::string_view("fFeEgGaA").find(format[i]) == std::string_view::npos)
            return false;
        ++conversions;
    }
    return conversions == 1;
}

IVNumberBoxControl::IVNumberBoxControl(const IRECT& bounds, int paramIdx,
                                       IActionFunction actionFunc, std::string_view label,
                                       const IVStyle& style, double defaultValue, double minValue,
                                       double maxValue, std::string_view format)
    : IControl(bounds, paramIdx, std::move(actionFunc)),
      IVectorBase(NumberBoxStyle(style), false, true),
      mFormat(IsNumberBoxFormat(format) ? format : kDefaultFormat),
      mMinValue(std::isfinite(minValue) ? minValue : 0.0),
      mMaxValue(std::isfinite(maxValue) ? maxValue : mMinValue),
      mRealValue(std::isfinite(defaultValue) ? defaultValue : mMinValue)
{
    if (mMaxValue < mMinValue)
        std::swap(mMinValue, mMaxValue);
    mRealValue = std::clamp(mRealValue, mMinValue, mMaxValue);
    AttachIControl(this, label);
    SetValue(ToNormalized(mRealValue));
    SetTakesFocus(true);
}

void IVNumberBoxControl::Draw(Painter& painter)
{
    DrawBackground(painter, GetRECT());
    if (GetMouseIsOver())
        painter.FillRect(GetColor(EVColor::kHL), GetReadoutBounds(), GetBlend());
    DrawFrame(painter, EVShape::kRectangle, GetWidgetBounds());
    DrawLabel(painter);
}

void IVNumberBoxControl::OnMouseDown(float, float, const IMouseMod&)
{
    if (GetStyle().mHideCursor && GetUI())
        GetUI()->HideMouseCursor(true);
    if (IGEditorDelegate* delegate = GetDelegate(); delegate && GetParam())
    {
        EndGesture();
        mGestureParam = GetParamIdx();
        delegate->BeginParamEditFromView(mGestureParam);
    }
}

void IVNumberBoxControl::OnMouseUp(float, float, const IMouseMod&)
{
    if (GetUI())
        GetUI()->HideMouseCursor(false);
    EndGesture();
}

void IVNumberBoxControl::OnMouseDrag(float, float, float, float dY, const IMouseMod& mod)
{
    if (!std::isfinite(dY) || dY == 0.f)
        return;
    mRealValue -= static_cast<double>(dY) * (IsFine(mod) ? kFineStep : kStep);
    OnValueChanged();
}

void IVNumberBoxControl::OnMouseDblClick(float x, float y, const IMouseMod& mod)
{
    if (!GetReadoutBounds().Contains(x, y))
    {
        OnMouseDown(x, y, mod);
        return;
    }
    if (GetUI())
        GetUI()->CreateTextEntry(*this, GetStyle().mValueText, GetReadoutBounds(), mReadoutText);
}

void IVNumberBoxControl::OnMouseWheel(float, float, const IMouseMod& mod, float d)
{
    if (!std::isfinite(d) || d == 0.f)
        return;
    // A turn the other way starts afresh rather than first paying back what had added up.
    if ((d > 0.f) != (mWheelRemainder > 0.0))
        mWheelRemainder = 0.0;
    mWheelRemainder += static_cast<double>(d);
    const double notches = std::trunc(mWheelRemainder);
    if (notches == 0.0)
        return;
    mWheelRemainder -= notches;
    mRealValue += notches * (IsFine(mod) ? kFineStep : kStep);
    OnValueChanged();
}

void IVNumberBoxControl::OnMouseOut()
{
    mWheelRemainder = 0.0;
    IControl::OnMouseOut();
}

bool IVNumberBoxControl::OnKeyDown(const IKeyPress& key)
{
    const IRECT readout = GetReadoutBounds();
    const float x = readout.MW();
    const float y = readout.MH();
    switch (key.key)
    {
    case EKey::kUp:
    case EKey::kRight:
        OnMouseWheel(x, y, key.mod, 1.f);
        return true;
    case EKey::kDown:
    case EKey::kLeft:
        OnMouseWheel(x, y, key.mod, -1.f);
        return true;
    case EKey::kPageUp:
        OnMouseWheel(x, y, key.mod, kPageNotches);
        return true;
    case EKey::kPageDown:
        OnMouseWheel(x, y, key.mod, -kPageNotches);
        return true;
    case EKey::kHome:
    case EKey::kEnd:
    {
        const double bound = key.key == EKey::kHome ? mMinValue : mMaxValue;
        if (mRealValue != bound)
        {
            mRealValue = bound;
            OnValueChanged();
        }
        return true;
    }
    case EKey::kSpace:
    case EKey::kEnter:
        OnMouseDblClick(x, y, key.mod);
        return true;
    default:
        return false;
    }
}

void IVNumberBoxControl::OnResize()
{
    MakeRects(GetRECT());
    if (mReadout)
        mReadout->SetTargetAndDrawRECTs(GetReadoutBounds());
    if (mIncButton)
        mIncButton->SetTargetAndDrawRECTs(GetIncrementBounds());
    if (mDecButton)
        mDecButton->SetTargetAndDrawRECTs(GetDecrementBounds());
}

void IVNumberBoxControl::OnAttached()
{
    if (const IParam* param = GetParam())
    {
        mMinValue = param->GetMin();
        mMaxValue = param->GetMax();
        mRealValue = std::clamp(param->Value(), mMinValue, mMaxValue);
    }
    SetValue(ToNormalized(mRealValue));

    const IVStyle& style = GetStyle();
    mReadout = AttachChild(
        std::make_unique<ITextControl>(GetReadoutBounds(), mReadoutText, style.mValueText));
    mIncButton = AttachChild(std::make_unique<IVButtonControl>(
        GetIncrementBounds(), SplashClickActionFunc, "+", style, true, true));
    mDecButton = AttachChild(std::make_unique<IVButtonControl>(
        GetDecrementBounds(), SplashClickActionFunc, "-", style, true, true));
    // The keys reach the box, never its parts.
    for (IControl* child : GetChildren())
        child->SetTakesFocus(false);
    // The box outlives its children's actions: all live as long as the context.
    if (mIncButton)
        mIncButton->SetAnimationEndActionFunction(
            [this](IControl*)
            {
                mRealValue += kStep;
                OnValueChanged();
            });
    if (mDecButton)
        mDecButton->SetAnimationEndActionFunction(
            [this](IControl*)
            {
                mRealValue -= kStep;
                OnValueChanged();
            });
    UpdateReadout();
}

void IVNumberBoxControl::OnTextEntryCompletion(std::string_view text, int)
{
    mRealValue = ParseNumberBoxText(text);
    OnValueChanged();
}

void IVNumberBoxControl::SetValueFromDelegate(double value, int valIdx)
{
    if (valIdx != 0 || !std::isfinite(value))
        return;
    mRealValue = std::clamp(FromNormalized(value), mMinValue, mMaxValue);
    SetValue(value);
    UpdateReadout();
    SetDirty(false);
}

void IVNumberBoxControl::SetValueFromUserInput(double value, int valIdx)
{
    if (valIdx != 0 || !std::isfinite(value))
        return;
    mRealValue = FromNormalized(value);
    OnValueChanged();
}

IRECT IVNumberBoxControl::GetReadoutBounds() const
{
    const IRECT& box = GetWidgetBounds();
    return box.GetFromLeft(kReadoutFraction * box.W());
}

IRECT IVNumberBoxControl::GetIncrementBounds() const
{
    const IRECT& box = GetWidgetBounds();
    return box.GetReducedFromLeft(kReadoutFraction * box.W()).SubRectVertical(2, 0);
}

IRECT IVNumberBoxControl::GetDecrementBounds() const
{
    const IRECT& box = GetWidgetBounds();
    return box.GetReducedFromLeft(kReadoutFraction * box.W()).SubRectVertical(2, 1);
}

void IVNumberBoxControl::OnValueChanged()
{
    if (!std::isfinite(mRealValue))
        mRealValue = mMinValue;
    mRealValue = std::clamp(mRealValue, mMinValue, mMaxValue);
    UpdateReadout();
    SetValue(ToNormalized(mRealValue));
    SetDirty(true, 0);
}

void IVNumberBoxControl::UpdateReadout()
{
    char text[kMaxReadoutLength + 1] = {};
    std::snprintf(text, sizeof(text), mFormat.c_str(), mRealValue);
    mReadoutText = text;
    if (mReadout)
        mReadout->SetStr(mReadoutText);
    SetDirty(false);
}

double IVNumberBoxControl::FromNormalized(double normalized) const
{
    if (const IParam* param = GetParam())
        return param->FromNormalized(normalized);
    return mMinValue + std::clamp(normalized, 0.0, 1.0) * (mMaxValue - mMinValue);
}

double IVNumberBoxControl::ToNormalized(double value) const
{
    if (const IParam* param = GetParam())
        return param->ToNormalized(value);
    if (mMaxValue <= mMinValue)
        return 0.0;
    return std::clamp((value - mMinValue) / (mMaxValue - mMinValue), 0.0, 1.0);
}

void IVNumberBoxControl::EndGesture()
{
    if (mGestureParam == kNoParameter)
        return;
    const int paramIdx = mGestureParam;
    mGestureParam = kNoParameter;
    if (IGEditorDelegate* delegate = GetDelegate())
        delegate->EndParamEditFromView(paramIdx);
}
