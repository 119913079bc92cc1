#pragma once

#include <algorithm>

// A colour: alpha, red, green, blue, each an integer 0-255 (alpha 255 is opaque). A plain value
// type; the constructor clamps every channel into range.
struct IColor
{
    int A = 255;
    int R = 0;
    int G = 0;
    int B = 0;

    constexpr IColor() = default;
    constexpr IColor(int a, int r, int g, int b)
        : A(std::clamp(a, 0, 255)), R(std::clamp(r, 0, 255)), G(std::clamp(g, 0, 255)),
          B(std::clamp(b, 0, 255))
    {
    }

    // The colour of hue `h`, saturation `s`, lightness `l` and alpha `a`, each 0-1 (the hue wraps,
    // the others are clamped), by the standard HSL rule. Channels are scaled by 255 and truncated,
    // so lightness 0.65 at full saturation and hue 0.5 gives 76, 255, 255.
    static IColor FromHSLA(double h, double s, double l, double a = 1.0);

    // The hue, saturation and lightness (each 0-1) and alpha (0-1) of this colour.
    void GetHSLA(double& h, double& s, double& l, double& a) const;

    // The same colour with its alpha multiplied by `opacity` (0-1).
    IColor WithOpacity(double opacity) const;

    constexpr bool operator==(const IColor&) const = default;
};

inline constexpr IColor kColorTransparent{0, 0, 0, 0};
inline constexpr IColor kColorBlack{255, 0, 0, 0};
inline constexpr IColor kColorWhite{255, 255, 255, 255};
