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
        kFill,
        kStroke,
        kDrawRoundRect,
        kDrawText,
        kDrawBitmap,
        kClip,
    };
    struct Call
    {
        Op op = Op::kFill;
        IColor color; // fill, stroke or text colour
        IRECT rect;   // the shape's rectangle, text bounds or bitmap destination
        std::string text;
        int frameIndex = -1;
    };

    void FillRect(const IColor& c, const IRECT& r, const IBlend&) override { Add(Op::kFill, c, r); }
    void DrawRect(const IColor& c, const IRECT& r, const IBlend&, float) override
    {
        Add(Op::kStroke, c, r);
    }
    void FillRoundRect(const IColor& c, const IRECT& r, float, const IBlend&) override
    {
        Add(Op::kFill, c, r);
    }
    void DrawRoundRect(const IColor& c, const IRECT& r, float, const IBlend&, float) override
    {
        Add(Op::kDrawRoundRect, c, r);
    }
    void FillEllipse(const IColor& c, const IRECT& r, const IBlend&) override
    {
        Add(Op::kFill, c, r);
    }
    void DrawEllipse(const IColor& c, const IRECT& r, const IBlend&, float) override
    {
        Add(Op::kStroke, c, r);
    }
    void FillRadialGradientCircle(const IColor& c, const IColor&, float x, float y, float radius,
                                  const IBlend&) override
    {
        Add(Op::kFill, c, IRECT(x - radius, y - radius, x + radius, y + radius));
    }
    void DrawLine(const IColor& c, float, float, float, float, const IBlend&, float) override
    {
        Add(Op::kStroke, c, {});
    }
    void FillTriangle(const IColor& c, float, float, float, float, float, float,
                      const IBlend&) override
    {
        Add(Op::kFill, c, {});
    }
    void DrawText(const IText& style, std::string_view str, const IRECT& bounds,
                  const IBlend&) override
    {
        Add(Op::kDrawText, style.mFGColor, bounds).text = std::string(str);
    }
    void DrawBitmap(const IBitmap&, const IRECT& dest, int frameIndex, const IBlend&) override
    {
        Add(Op::kDrawBitmap, {}, dest).frameIndex = frameIndex;
    }
    void PushClip(const IRECT& rect) override { Add(Op::kClip, {}, rect); }
    void PopClip() override { Add(Op::kClip, {}, {}); }

    const std::vector<Call>& Calls() const { return mCalls; }
    void Clear() { mCalls.clear(); }
    std::vector<Call> CallsOf(Op op) const
    {
        std::vector<Call> result;
        for (const Call& call : mCalls)
            if (call.op == op)
                result.push_back(call);
        return result;
    }
    // Every text drawn, in order.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> result;
        for (const Call& call : CallsOf(Op::kDrawText))
            result.push_back(call.text);
        return result;
    }

private:
    Call& Add(Op op, const IColor& color, const IRECT& rect)
    {
        return mCalls.emplace_back(Call{op, color, rect, {}, -1});
    }

    std::vector<Call> mCalls;
};
