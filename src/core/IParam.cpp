#include "core/IParam.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace
{
std::string CutText(std::string_view text)
{
    return std::string(text.substr(0, IParam::kMaxTextLength));
}

// A display number in the range of "%d"; values beyond it are pinned to its ends.
int RoundForDisplay(double value)
{
    const double rounded = std::round(value);
    if (!(rounded > std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (!(rounded < std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(rounded);
}
} // namespace

std::unique_ptr<IParam::Shape> IParam::ShapeLinear::Clone() const
{
    return std::make_unique<ShapeLinear>(*this);
}

double IParam::ShapeLinear::ValueFromNormalized(double normalized, const IParam& param) const
{
    return param.GetMin() + normalized * (param.GetMax() - param.GetMin());
}

double IParam::ShapeLinear::NormalizedFromValue(double value, const IParam& param) const
{
    return (value - param.GetMin()) / (param.GetMax() - param.GetMin());
}

void IParam::InitContinuous(std::string_view name, double defaultVal, double minVal, double maxVal,
                            double step, std::string_view label, std::uint32_t flags,
                            std::string_view group, const Shape& shape, DisplayFunc displayFunc)
{
    if (mType == kTypeNone)
        mType = kTypeDouble;

    mName = CutText(name);
    mLabel = CutText(label);
    mGroup = CutText(group);
    mMin = minVal;
    mMax = std::max(maxVal, minVal + step);
    mStep = step;
    mDefault = defaultVal;
    mUnit = kUnitCustom;
    mFlags = flags;
    mDisplayFunc = std::move(displayFunc);
    mShape = shape.Clone();
    mValue.store(Constrain(defaultVal), std::memory_order_release);

    mDisplayPrecision = 0;
    for (double s = step; mDisplayPrecision < 6 && s != std::floor(s); s *= 10.0)
        ++mDisplayPrecision;

    mShape->Init(*this);
}

void IParam::InitInteger(std::string_view name, int defaultVal, int minVal, int maxVal,
                         std::string_view label, std::uint32_t flags, std::string_view group)
{
    if (mType == kTypeNone)
        mType = kTypeInt;

    InitContinuous(name, defaultVal, minVal, maxVal, 1.0, label, flags | kFlagStepped, group);
}

void IParam::InitEnumerated(std::string_view name, int defaultVal, int count,
                            std::string_view label, std::uint32_t flags, std::string_view group,
                            std::initializer_list<std::string_view> texts)
{
    if (mType == kTypeNone)
        mType = kTypeEnum;

    InitInteger(name, defaultVal, 0, count - 1, label, flags, group);

    int value = 0;
    for (std::string_view text : texts)
    {
        if (value >= count)
            break;
        SetDisplayText(value++, text);
    }
}

void IParam::SetDisplayText(double value, std::string_view text)
{
    mDisplayTexts.push_back({value, CutText(text)});
}

void IParam::Set(double value)
{
    mValue.store(Constrain(value), std::memory_order_release);
}

void IParam::SetNormalized(double normalized)
{
    mValue.store(FromNormalized(normalized), std::memory_order_release);
}

double IParam::Constrain(double value) const
{
    if (std::isnan(value))
        return mMin;
    if (Stepped() && mStep > 0.0)
        value = std::round(value / mStep) * mStep;
    return std::clamp(value, mMin, mMax);
}

double IParam::ToNormalized(double value) const
{
    return std::clamp(mShape->NormalizedFromValue(Constrain(value), *this), 0.0, 1.0);
}

double IParam::FromNormalized(double normalized) const
{
    return Constrain(mShape->ValueFromNormalized(normalized, *this));
}

double IParam::GetDefault(bool normalized) const
{
    return normalized ? ToNormalized(mDefault) : mDefault;
}

const char* IParam::GetDisplayTextForValue(double value) const
{
    for (const DisplayText& entry : mDisplayTexts)
    {
        if (entry.value == value)
            return entry.text.c_str();
    }
    return nullptr;
}

std::string IParam::GetDisplay(double value, bool withDisplayText) const
{
    std::string text;
    if (mDisplayFunc)
    {
        mDisplayFunc(value, text);
        return text;
    }

    if (withDisplayText)
    {
        const char* displayText = GetDisplayTextForValue(value);
        if (displayText && *displayText)
            return displayText;
    }

    if (mFlags & kFlagNegateDisplay)
        value = -value;
    if (value == 0.0)
        value = 0.0; // never show "-0"

    char buffer[64];
    if (mDisplayPrecision == 0)
        std::snprintf(buffer, sizeof buffer, "%d", RoundForDisplay(value));
    else if ((mFlags & kFlagSignDisplay) && value != 0.0)
        std::snprintf(buffer, sizeof buffer, "%+.*f", mDisplayPrecision, value);
    else
        std::snprintf(buffer, sizeof buffer, "%.*f", mDisplayPrecision, value);

    text = buffer;
    if (text.size() > 32)
        text.resize(32);
    return text;
}

std::string IParam::GetDisplay(bool withDisplayText) const
{
    return GetDisplay(Value(), withDisplayText);
}

std::string_view IParam::GetLabel() const
{
    const char* displayText = GetDisplayTextForValue(static_cast<double>(Int()));
    if (displayText && *displayText)
        return {};
    return mLabel;
}
