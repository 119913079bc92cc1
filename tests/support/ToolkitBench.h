#pragma once

#include "core/IGEditorDelegate.h"
#include "support/ScriptedPlatformUi.h"
#include "toolkit/IControl.h"
#include "toolkit/IGraphics.h"

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

    FakeEditorDelegate delegate;
    ScriptedPlatformUi platform;
    IGraphics graphics;
};

// A plain control that draws nothing and takes no keyboard focus.
class ProbeControl : public IControl
{
public:
    using IControl::IControl;
    void Draw(Painter&) override {}
};
