#pragma once

#include "toolkit/IColor.h"
#include "toolkit/IControl.h"

class IGraphics;

// The MIDI activity light: a round light whose brightness is the control's value (0 dark, 1 full).
// It is bound to no parameter and has no action. A flash sets it to full brightness and fades it
// to dark over kFlashDurationMs along (1 - t)^3; a flash during a running one starts again from
// full brightness.
// [main thread]
class ILEDControl : public IControl
{
public:
    static constexpr int kFlashDurationMs = 200;
    // The light's lightness at full brightness, in the HSL colour space.
    static constexpr double kMaxLightness = 0.65;

    explicit ILEDControl(const IRECT& bounds, float hue = 0.5f);

    // A dark outline in a square of side max(1, half the width) centred in the rectangle, and a
    // glow filling a circle from the light's colour at its centre to transparent at its rim; the
    // glow's radius grows with the brightness.
    void Draw(Painter& painter) override;
    // The outline and the glow stay within the rectangle unless it is flatter than the glow at
    // full brightness; a pixel beyond for antialiased edges.
    float DrawOverhang() const override;

    // Starts the flash animation (only while attached: the context's frame clock runs it).
    void Flash();

    float GetHue() const { return mHue; }
    void SetHue(float hue);

    // The light's colour at brightness `value` (0-1): hue `hue`, full saturation, lightness
    // kMaxLightness * value. At hue 0.5: 76, 255, 255 at value 1, black at 0.
    static IColor LightColor(double value, float hue = 0.5f);

    // The brightness at flash progress `t` (0-1): (1 - t)^3.
    static double FlashBrightness(double t);

private:
    float mHue;
};

// Flashes the light with the activity light's tag, if the context holds one.
// [main thread]
void FlashActivityLight(IGraphics& graphics);
