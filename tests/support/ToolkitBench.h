#pragma once

#include "support/FakeEditorDelegate.h"
#include "support/RecordingPainter.h"
#include "support/ScriptedPlatformUi.h"
#include "toolkit/IControl.h"
#include "toolkit/IGraphics.h"
#include "toolkit/Painter.h"

#include <memory>
#include <string>
#include <vector>

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

    // Draws whatever is dirty into a fresh recording; false when nothing was dirty.
    bool DrawDirty()
    {
        painter.Clear();
        IRECT area;
        if (!graphics.IsDirty(area))
            return false;
        graphics.Draw(painter, area);
        return true;
    }

    FakeEditorDelegate delegate;
    ScriptedPlatformUi platform;
    IGraphics graphics;
    RecordingPainter painter;
};

// A control that records the events it receives and draws one filled rectangle.
class ProbeControl : public IControl
{
public:
    explicit ProbeControl(const IRECT& bounds, int paramIdx = kNoParameter)
        : IControl(bounds, paramIdx)
    {
    }

    void Draw(Painter& painter) override
    {
        painter.FillRect(IColor(255, 1, 2, 3), GetRECT(), GetBlend());
    }
    void OnMouseDown(float, float, const IMouseMod&) override { events.push_back("down"); }
    void OnMouseUp(float, float, const IMouseMod&) override { events.push_back("up"); }
    void OnMouseDrag(float, float, float, float, const IMouseMod&) override
    {
        events.push_back("drag");
    }
    void OnMouseWheel(float, float, const IMouseMod&, float) override { events.push_back("wheel"); }
    void OnMidi(const MidiMessage& msg) override { midi.push_back(msg); }

    std::vector<std::string> events;
    std::vector<MidiMessage> midi;
};
