#include "ui/ILEDControl.h"

#include "toolkit/IGraphics.h"
#include "toolkit/Painter.h"
#include "ui/ControlTags.h"

#include <algorithm>
#include <cmath>

ILEDControl::ILEDControl(const IRECT& bounds, float hue) : IControl(bounds), mHue(hue) {}

void ILEDControl::Draw(Painter& painter)
{
    const double value = GetValue();
    const float lightness = static_cast<float>(kMaxLightness * value);
    const IRECT& bounds = GetRECT();
    const float side = std::max(1.f, 0.5f * bounds.W());
    const IRECT square = bounds.GetCentredInside(side, side);

    painter.DrawEllipse(kColorBlack, square, GetBlend(), 1.f);
    painter.FillRadialGradientCircle(LightColor(value, mHue), kColorTransparent, square.MW(),
                                     square.MH(), 0.5f * side * (1.f + lightness), GetBlend());
}

float ILEDControl::DrawOverhang() const
{
    const IRECT& bounds = GetRECT();
    const float side = std::max(1.f, 0.5f * bounds.W());
    // The glow's radius at full brightness, and the outline's half side.
    const float reach =
        std::max(0.5f * side * (1.f + static_cast<float>(kMaxLightness)), 0.5f * side);
    return 1.f + std::max({0.f, reach - 0.5f * bounds.W(), reach - 0.5f * bounds.H()});
}

void ILEDControl::Flash()
{
    if (!GetUI())
        return;
    SetValue(1.0);
    SetDirty(false);
    SetAnimation(
        [](IControl* caller)
        {
            const double t = caller->GetAnimationProgress();
            if (t > 1.0)
            {
                caller->OnEndAnimation();
                return;
            }
            caller->SetValue(FlashBrightness(t));
            caller->SetDirty(false);
        },
        kFlashDurationMs);
}

void ILEDControl::SetHue(float hue)
{
    mHue = hue;
    SetDirty(false);
}

IColor ILEDControl::LightColor(double value, float hue)
{
    const double brightness = std::isfinite(value) ? std::clamp(value, 0.0, 1.0) : 0.0;
    return IColor::FromHSLA(hue, 1.0, kMaxLightness * brightness, 1.0);
}

double ILEDControl::FlashBrightness(double t)
{
    const double remaining = 1.0 - std::clamp(t, 0.0, 1.0);
    return remaining * remaining * remaining;
}

void FlashActivityLight(IGraphics& graphics)
{
    if (auto* light = dynamic_cast<ILEDControl*>(graphics.GetControlWithTag(kCtrlTagMidiLight)))
        light->Flash();
}
