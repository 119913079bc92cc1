#include "support/RecordingPainter.h"

RecordingPainter::Call& RecordingPainter::Add(Op op, const IColor& color, const IRECT& rect,
                                              const IBlend& blend)
{
    Call call;
    call.op = op;
    call.color = color;
    call.rect = rect;
    call.blend = blend.mWeight;
    mCalls.push_back(std::move(call));
    return mCalls.back();
}

void RecordingPainter::FillRect(const IColor& color, const IRECT& rect, const IBlend& blend)
{
    Add(Op::kFillRect, color, rect, blend);
}

void RecordingPainter::DrawRect(const IColor& color, const IRECT& rect, const IBlend& blend,
                                float thickness)
{
    Add(Op::kDrawRect, color, rect, blend).thickness = thickness;
}

void RecordingPainter::FillRoundRect(const IColor& color, const IRECT& rect, float cornerRadius,
                                     const IBlend& blend)
{
    Add(Op::kFillRoundRect, color, rect, blend).radius = cornerRadius;
}

void RecordingPainter::DrawRoundRect(const IColor& color, const IRECT& rect, float cornerRadius,
                                     const IBlend& blend, float thickness)
{
    Call& call = Add(Op::kDrawRoundRect, color, rect, blend);
    call.radius = cornerRadius;
    call.thickness = thickness;
}

void RecordingPainter::FillEllipse(const IColor& color, const IRECT& rect, const IBlend& blend)
{
    Add(Op::kFillEllipse, color, rect, blend);
}

void RecordingPainter::DrawEllipse(const IColor& color, const IRECT& rect, const IBlend& blend,
                                   float thickness)
{
    Add(Op::kDrawEllipse, color, rect, blend).thickness = thickness;
}

void RecordingPainter::FillRadialGradientCircle(const IColor& centre, const IColor& rim, float cx,
                                                float cy, float radius, const IBlend& blend)
{
    Call& call = Add(Op::kFillRadialGradient, centre,
                     IRECT(cx - radius, cy - radius, cx + radius, cy + radius), blend);
    call.secondColor = rim;
    call.radius = radius;
    call.points = {cx, cy};
}

void RecordingPainter::DrawLine(const IColor& color, float x1, float y1, float x2, float y2,
                                const IBlend& blend, float thickness)
{
    Call& call = Add(Op::kDrawLine, color, IRECT(), blend);
    call.thickness = thickness;
    call.points = {x1, y1, x2, y2};
}

void RecordingPainter::FillTriangle(const IColor& color, float x1, float y1, float x2, float y2,
                                    float x3, float y3, const IBlend& blend)
{
    Add(Op::kFillTriangle, color, IRECT(), blend).points = {x1, y1, x2, y2, x3, y3};
}

void RecordingPainter::DrawText(const IText& style, std::string_view str, const IRECT& bounds,
                                const IBlend& blend)
{
    Call& call = Add(Op::kDrawText, style.mFGColor, bounds, blend);
    call.text = std::string(str);
    call.textStyle = style;
}

void RecordingPainter::DrawBitmap(const IBitmap& bitmap, const IRECT& dest, int frameIndex,
                                  const IBlend& blend)
{
    Call& call = Add(Op::kDrawBitmap, IColor(), dest, blend);
    call.bitmapName = bitmap.mResourceName;
    call.frameIndex = frameIndex;
}

void RecordingPainter::PushClip(const IRECT& rect)
{
    ++mClipDepth;
    Add(Op::kPushClip, IColor(), rect, IBlend{});
}

void RecordingPainter::PopClip()
{
    if (mClipDepth > 0)
        --mClipDepth;
    Add(Op::kPopClip, IColor(), IRECT(), IBlend{});
}

std::vector<RecordingPainter::Call> RecordingPainter::CallsOf(Op op) const
{
    std::vector<Call> result;
    for (const Call& call : mCalls)
    {
        if (call.op == op)
            result.push_back(call);
    }
    return result;
}

std::vector<std::string> RecordingPainter::Texts() const
{
    std::vector<std::string> result;
    for (const Call& call : mCalls)
    {
        if (call.op == Op::kDrawText)
            result.push_back(call.text);
    }
    return result;
}

std::vector<RecordingPainter::Call> RecordingPainter::DrawingCalls() const
{
    std::vector<Call> result;
    for (const Call& call : mCalls)
    {
        if (call.op != Op::kPushClip && call.op != Op::kPopClip)
            result.push_back(call);
    }
    return result;
}
