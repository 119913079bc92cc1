#pragma once

#include "toolkit/Painter.h"

#include <string>
#include <string_view>
#include <vector>

// A Painter that draws nothing and records every call, for tests that check what a control or the
// graphics context drew.
class RecordingPainter : public Painter
{
public:
    enum class Op
    {
        kFillRect,
        kDrawRect,
        kFillRoundRect,
        kDrawRoundRect,
        kFillEllipse,
        kDrawEllipse,
        kFillRadialGradient,
        kDrawLine,
        kFillTriangle,
        kDrawText,
        kDrawBitmap,
        kPushClip,
        kPopClip,
    };

    struct Call
    {
        Op op = Op::kFillRect;
        IColor color;       // fill or stroke colour; the centre colour of a gradient
        IColor secondColor; // the rim colour of a gradient
        IRECT rect;         // the shape's rectangle, text bounds, bitmap destination or clip
        float blend = 1.f;
        float thickness = 0.f;
        float radius = 0.f;        // corner radius, or gradient radius
        std::vector<float> points; // line and triangle corners, gradient centre (x, y pairs)
        std::string text;
        IText textStyle;
        std::string bitmapName;
        int frameIndex = -1;
    };

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

    const std::vector<Call>& Calls() const { return mCalls; }
    void Clear() { mCalls.clear(); }
    // The calls of one kind, in order.
    std::vector<Call> CallsOf(Op op) const;
    // Every text drawn, in order.
    std::vector<std::string> Texts() const;
    // The calls that draw something (not the clip calls).
    std::vector<Call> DrawingCalls() const;
    // How many PushClip calls are not yet matched by PopClip.
    int ClipDepth() const { return mClipDepth; }

private:
    Call& Add(Op op, const IColor& color, const IRECT& rect, const IBlend& blend);

    std::vector<Call> mCalls;
    int mClipDepth = 0;
};
