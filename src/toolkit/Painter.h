#pragma once

#include "toolkit/IBitmap.h"
#include "toolkit/IBlend.h"
#include "toolkit/IColor.h"
#include "toolkit/IRECT.h"
#include "toolkit/IText.h"

#include <string_view>

// What controls draw through. Coordinates are design pixels; the implementation maps them to
// device pixels with the view's scale and draws antialiased. Every call takes the blend of the
// control that draws, so a disabled control comes out at a quarter of its opacity. Thickness is
// in design pixels; a thickness of 0 or less draws nothing.
// [main thread]
class Painter
{
public:
    virtual ~Painter() = default;

    virtual void FillRect(const IColor& color, const IRECT& rect, const IBlend& blend) = 0;
    virtual void DrawRect(const IColor& color, const IRECT& rect, const IBlend& blend,
                          float thickness) = 0;
    // `cornerRadius` in design pixels; 0 gives square corners.
    virtual void FillRoundRect(const IColor& color, const IRECT& rect, float cornerRadius,
                               const IBlend& blend) = 0;
    virtual void DrawRoundRect(const IColor& color, const IRECT& rect, float cornerRadius,
                               const IBlend& blend, float thickness) = 0;
    // The ellipse inscribed in `rect`.
    virtual void FillEllipse(const IColor& color, const IRECT& rect, const IBlend& blend) = 0;
    virtual void DrawEllipse(const IColor& color, const IRECT& rect, const IBlend& blend,
                             float thickness) = 0;
    // A disc of `radius` around (cx, cy) shading from `centre` at its centre to `rim` at its edge.
    virtual void FillRadialGradientCircle(const IColor& centre, const IColor& rim, float cx,
                                          float cy, float radius, const IBlend& blend) = 0;
    virtual void DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                          const IBlend& blend, float thickness) = 0;
    virtual void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                              float y3, const IBlend& blend) = 0;

    // `str` (UTF-8) in one line, in the style's font, size and colour, aligned within `bounds`
    // by the style's horizontal and vertical alignment. Text wider than `bounds` is not wrapped.
    virtual void DrawText(const IText& style, std::string_view str, const IRECT& bounds,
                          const IBlend& blend) = 0;

    // Frame `frameIndex` (0 .. bitmap.NFrames() - 1, clamped) of `bitmap`, scaled into `dest`.
    // An invalid handle or an image the renderer does not know draws nothing.
    virtual void DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int frameIndex,
                            const IBlend& blend) = 0;

    // Narrows drawing to `rect` intersected with the current clip until the matching PopClip.
    virtual void PushClip(const IRECT& rect) = 0;
    // Restores the clip before the last PushClip; does nothing when none is pushed.
    virtual void PopClip() = 0;
};
