#include "toolkit/IColor.h"

#include <cmath>

namespace
{
// Channel value 0-1 of one HSL component, `t` being the hue shifted by +1/3, 0 or -1/3.
double HueToChannel(double p, double q, double t)
{
    if (t < 0.0)
        t += 1.0;
    if (t > 1.0)
        t -= 1.0;
    if (t < 1.0 / 6.0)
        return p + (q - p) * 6.0 * t;
    if (t < 0.5)
        return q;
    if (t < 2.0 / 3.0)
        return p + (q - p) * (2.0 / 3.0 - t) * 6.0;
    return p;
}

// 0-1 to 0-255, truncated. The small allowance keeps values that are whole numbers in exact
// arithmetic (1.0 computed as 0.99999999) from dropping to the integer below.
int ToByte(double channel)
{
    return std::clamp(static_cast<int>(channel * 255.0 + 1e-6), 0, 255);
}
} // namespace

IColor IColor::FromHSLA(double h, double s, double l, double a)
{
    if (!std::isfinite(h))
        h = 0.0;
    h -= std::floor(h);
    s = std::isfinite(s) ? std::clamp(s, 0.0, 1.0) : 0.0;
    l = std::isfinite(l) ? std::clamp(l, 0.0, 1.0) : 0.0;
    a = std::isfinite(a) ? std::clamp(a, 0.0, 1.0) : 1.0;

    double r = l;
    double g = l;
    double b = l;
    if (s > 0.0)
    {
        const double q = l <= 0.5 ? l * (1.0 + s) : l + s - l * s;
        const double p = 2.0 * l - q;
        r = HueToChannel(p, q, h + 1.0 / 3.0);
        g = HueToChannel(p, q, h);
        b = HueToChannel(p, q, h - 1.0 / 3.0);
    }
    return {ToByte(a), ToByte(r), ToByte(g), ToByte(b)};
}

void IColor::GetHSLA(double& h, double& s, double& l, double& a) const
{
    const double r = R / 255.0;
    const double g = G / 255.0;
    const double b = B / 255.0;
    const double maxC = std::max({r, g, b});
    const double minC = std::min({r, g, b});
    a = A / 255.0;
    l = 0.5 * (maxC + minC);
    if (maxC == minC)
    {
        h = 0.0;
        s = 0.0;
        return;
    }
    const double d = maxC - minC;
    s = l > 0.5 ? d / (2.0 - maxC - minC) : d / (maxC + minC);
    if (maxC == r)
        h = (g - b) / d + (g < b ? 6.0 : 0.0);
    else if (maxC == g)
        h = (b - r) / d + 2.0;
    else
        h = (r - g) / d + 4.0;
    h /= 6.0;
}

IColor IColor::WithOpacity(double opacity) const
{
    if (!std::isfinite(opacity))
        opacity = 1.0;
    opacity = std::clamp(opacity, 0.0, 1.0);
    return {static_cast<int>(std::lround(A * opacity)), R, G, B};
}
