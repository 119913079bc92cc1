#pragma once

#include "toolkit/Painter.h"

class BitmapStore;
class FontRegistry;
class QPainter;
class TextLayoutCache;

// The Painter on a QPainter: design pixels mapped to the device by the view's draw scale,
// antialiased shapes, text in the registered fonts and images from the bitmap store, at scale 2
// when the device has more than one pixel per design pixel.
//
// The QPainter must be active and outlive this object; its state is saved on construction and
// restored on destruction (clips still pushed then are dropped). Strokes lie inside the shapes
// they outline, so a frame never spills past its rectangle.
// [main thread]
class QtPainter final : public Painter
{
public:
    // `drawScale`: device-independent pixels per design pixel (the corner resizer's scale).
    // `layouts`, when given, keeps the texts' layouts from one paint to the next (it must outlive
    // this object, and is best kept per view: a layout is redone when drawn at another scale).
    QtPainter(QPainter& painter, float drawScale, const FontRegistry& fonts,
              const BitmapStore& bitmaps, TextLayoutCache* layouts = nullptr);
    ~QtPainter() override;
    QtPainter(const QtPainter&) = delete;
    QtPainter& operator=(const QtPainter&) = delete;

    // Device pixels per design pixel: the draw scale times the device's pixel ratio.
    double DeviceScale() const { return mDeviceScale; }

    void FillRect(const IColor& color, const IRECT& rect, const IBlend& blend) override;
    void DrawRect(const IColor& color, const IRECT& rect, const IBlend& blend,
                  float thickness) override;
    void FillRoundRect(const IColor& color, const IRECT& rect, float cornerRadius,
                       const IBlend& blend) override;
    void DrawRoundRect(const IColor& color, const IRECT& rect, float cornerRadius,
                       const IBlend& blend, float thickness) override;
    void FillEllipse(const IColor& color, const IRECT& rect, const IBlend& blend) override;
    void DrawEllipse(const IColor& color, const IRECT& rect, const IBlend& blend,
                     float thickness) override;
    void FillRadialGradientCircle(const IColor& centre, const IColor& rim, float cx, float cy,
                                  float radius, const IBlend& blend) override;
    void DrawLine(const IColor& color, float x1, float y1, float x2, float y2, const IBlend& blend,
                  float thickness) override;
    void FillTriangle(const IColor& color, float x1, float y1, float x2, float y2, float x3,
                      float y3, const IBlend& blend) override;
    void DrawText(const IText& style, std::string_view str, const IRECT& bounds,
                  const IBlend& blend) override;
    void DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int frameIndex,
                    const IBlend& blend) override;
    void PushClip(const IRECT& rect) override;
    void PopClip() override;

private:
    // Sets the opacity of the next drawing call from the blend; false when it would draw nothing.
    bool Prepare(const IBlend& blend);
    // Strokes the outline of a shape with its stroke inside `rect`.
    void StrokeInside(const IColor& color, const IRECT& rect, float cornerRadius, bool ellipse,
                      const IBlend& blend, float thickness);

    QPainter& mPainter;
    const FontRegistry& mFonts;
    const BitmapStore& mBitmaps;
    TextLayoutCache* mLayouts;
    double mDeviceScale = 1.0;
    int mClipDepth = 0;
};
