#pragma once

#include "core/IGEditorDelegate.h"
#include "support/ScriptedPlatformUi.h"
#include "toolkit/IControl.h"
#include "toolkit/IGraphics.h"

#include <memory>
#include <utility>
#include <vector>

// An editor delegate for toolkit tests: parameters set up by the test, SendParamFromView stores
// the value in the parameter and records the call, and the edit gestures are recorded too.
struct FakeEditorDelegate : IGEditorDelegate
{
    explicit FakeEditorDelegate(int nParams) : IGEditorDelegate(nParams) {}

    void SendParamFromView(int paramIdx, double normalized) override
    {
        sentParams.push_back({paramIdx, normalized});
        if (paramIdx >= 0 && paramIdx < NParams())
            GetParam(paramIdx)->SetNormalized(normalized);
    }
    void BeginParamEditFromView(int paramIdx) override { beginEdits.push_back(paramIdx); }
    void EndParamEditFromView(int paramIdx) override { endEdits.push_back(paramIdx); }

    std::vector<std::pair<int, double>> sentParams; // setting, normalized value
    std::vector<int> beginEdits;
    std::vector<int> endEdits;
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
    void Click(float x, float y)
    {
        graphics.OnMouseDown(x, y, {.L = true});
        graphics.OnMouseUp(x, y, {.L = true});
    }

    FakeEditorDelegate delegate;
    ScriptedPlatformUi platform;
    IGraphics graphics;
};

// A plain control that draws nothing and takes no keyboard focus.
struct ProbeControl : IControl
{
    using IControl::IControl;
    void Draw(Painter&) override {}
};
