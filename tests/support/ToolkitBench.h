#pragma once

#include "core/IGEditorDelegate.h"
#include "support/ScriptedPlatformUi.h"
#include "toolkit/IControl.h"
#include "toolkit/IGraphics.h"
#include "toolkit/Painter.h"

#include <memory>
#include <string>
#include <vector>

// An editor delegate for toolkit tests: parameters set up by the test, SendParamFromView stores
// the value in the parameter and records the call, and the edit gestures are recorded too.
class FakeEditorDelegate : public IGEditorDelegate
{
public:
    struct SentParam
    {
        int paramIdx = 0;
        double normalized = 0.0;
    };

    explicit FakeEditorDelegate(int nParams) : IGEditorDelegate(nParams) {}

    void SendParamFromView(int paramIdx, double normalized) override
    {
        mSentParams.push_back({paramIdx, normalized});
        if (paramIdx >= 0 && paramIdx < NParams())
            GetParam(paramIdx)->SetNormalized(normalized);
    }
    void BeginParamEditFromView(int paramIdx) override { mBeginEdits.push_back(paramIdx); }
    void EndParamEditFromView(int paramIdx) override { mEndEdits.push_back(paramIdx); }

    const std::vector<SentParam>& SentParams() const { return mSentParams; }
    const std::vector<int>& BeginEdits() const { return mBeginEdits; }
    const std::vector<int>& EndEdits() const { return mEndEdits; }

private:
    std::vector<SentParam> mSentParams;
    std::vector<int> mBeginEdits;
    std::vector<int> mEndEdits;
};

// A Painter that draws nothing.
class NullPainter final : public Painter
{
public:
    void FillRect(const IColor&, const IRECT&, const IBlend&) override {}
    void DrawRect(const IColor&, const IRECT&, const IBlend&, float) override {}
    void FillRoundRect(const IColor&, const IRECT&, float, const IBlend&) override {}
    void DrawRoundRect(const IColor&, const IRECT&, float, const IBlend&, float) override {}
    void FillEllipse(const IColor&, const IRECT&, const IBlend&) override {}
    void DrawEllipse(const IColor&, const IRECT&, const IBlend&, float) override {}
    void FillRadialGradientCircle(const IColor&, const IColor&, float, float, float,
                                  const IBlend&) override
    {
    }
    void DrawLine(const IColor&, float, float, float, float, const IBlend&, float) override {}
    void FillTriangle(const IColor&, float, float, float, float, float, float,
                      const IBlend&) override
    {
    }
    void DrawText(const IText&, std::string_view, const IRECT&, const IBlend&) override {}
    void DrawBitmap(const IBitmap&, const IRECT&, int, const IBlend&) override {}
    void PushClip(const IRECT&) override {}
    void PopClip() override {}
};

// A graphics context of 1024 x 768 wired to a fake delegate and a scripted PlatformUi, for tests
// that drive controls the way the platform would.
struct ToolkitBench
{
    explicit ToolkitBench(int nParams = 8) : delegate(nParams), graphics(delegate, 1024, 768)
    {
        graphics.SetPlatformUi(&platform);
    }

    // A press and release at (x, y) with the left button.
    void Click(float x, float y, IMouseMod mod = {.L = true})
    {
        graphics.OnMouseDown(x, y, mod);
        graphics.OnMouseUp(x, y, mod);
    }

    // Draws whatever is dirty, so that nothing is.
    void DrawDirty()
    {
        NullPainter painter;
        IRECT area;
        if (graphics.IsDirty(area))
            graphics.Draw(painter, area);
    }

    FakeEditorDelegate delegate;
    ScriptedPlatformUi platform;
    IGraphics graphics;
};

// A control that records the mouse events it receives.
class ProbeControl : public IControl
{
public:
    explicit ProbeControl(const IRECT& bounds, int paramIdx = kNoParameter)
        : IControl(bounds, paramIdx)
    {
    }

    void Draw(Painter&) override {}
    void OnMouseDown(float, float, const IMouseMod&) override { events.push_back("down"); }
    void OnMouseUp(float, float, const IMouseMod&) override { events.push_back("up"); }
    void OnMouseDrag(float, float, float, float, const IMouseMod&) override
    {
        events.push_back("drag");
    }

    std::vector<std::string> events;
};
