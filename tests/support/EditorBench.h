#pragma once

#include "core/ManualTimerBackend.h"
#include "device/SysExMessages.h"
#include "editor/ctrlWaveStomplet.h"
#include "support/ScriptedPlatformUi.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVectorBase.h"
#include "toolkit/ResourceLoader.h"

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace editor_bench
{
using Bytes = std::vector<std::uint8_t>;
using Values = std::array<std::uint8_t, kNumParams>;

// An output port that keeps every message handed to it and counts the port probes.
struct RecordingPort final : AppHostLink
{
    bool SendToOutputPort(const std::uint8_t* bytes, std::size_t size) override
    {
        sent.emplace_back(bytes, bytes + size);
        return true;
    }
    void ProbeMidiPorts() override { ++probes; }

    std::vector<Bytes> sent;
    int probes = 0;
};

// Resources as the application carries them: the four pictures at their design sizes, and every
// font file.
struct ArtworkLoader final : ResourceLoader
{
    std::optional<IBitmap> LoadBitmap(std::string_view name, int nFrames,
                                      bool framesAreHorizontal) override
    {
        const std::pair<int, int> size = name == "tipring.png" ? std::pair{150, 198}
                                         : name == "fwbg.png"  ? std::pair{621, 454}
                                                               : std::pair{1024, 768};
        return IBitmap{std::string(name), size.first, size.second, nFrames, framesAreHorizontal};
    }
    bool LoadFont(std::string_view, std::string_view) override { return true; }
};

struct EditorProbe : ctrlWaveStomplet
{
    using ctrlWaveStomplet::mAudition;
    using ctrlWaveStomplet::mModeCheck;
    using ctrlWaveStomplet::mPendingParam;
    using ctrlWaveStomplet::mStatusTextsReady;
    using ctrlWaveStomplet::mUIReady;
    using ctrlWaveStomplet::Presets;
};

// The editor headless: the manual clock drives the 20 ms tick and the 100 ms device timer, a
// recording port stands for the MIDI output, and the real screen is built on a 1024 x 768
// graphics context with a scripted PlatformUi and the artwork. With `openView` the screen is
// built at once and its own Status Request cleared from the record; otherwise settings can be
// set before OpenView().
struct EditorBench
{
    explicit EditorBench(bool openView = true) : graphics(editor, 1024, 768)
    {
        editor.SetHostLink(&port);
        graphics.SetPlatformUi(&platform);
        graphics.SetResourceLoader(&artwork);
        if (openView)
        {
            OpenView();
            port.sent.clear();
        }
    }

    void OpenView() { editor.OpenView(graphics, graphics); }

    // `n` ticks of 20 ms; the device timer ticks with every fifth, after it.
    void Ticks(int n) { clock.Advance(20 * static_cast<std::int64_t>(n)); }

    // The user sets setting `idx` to `value` through its control.
    void Edit(int idx, int value)
    {
        editor.SendParamFromView(idx, value / static_cast<double>(ParamMaxValue(idx)));
    }

    // Bytes at the input port, taken in by one pump step; the editor's view side sees them on the
    // next tick.
    void FromBox(const Bytes& bytes)
    {
        editor.EnqueueMidiFromPort(bytes.data(), bytes.size());
        double left[64] = {};
        double right[64] = {};
        double* outputs[] = {left, right};
        editor.ProcessPump(nullptr, outputs);
    }

    void Reply(const Values& values, std::uint8_t version = 12)
    {
        const StatusReplyMessage reply =
            *BuildStatusReply(std::array<std::uint8_t, 4>{}, version, values);
        FromBox(Bytes(reply.bytes.begin(), reply.bytes.end()));
    }

    // A click with the left button, then the frames that carry any splash to its end.
    void ClickAndSettle(float x, float y)
    {
        graphics.OnMouseDown(x, y, {.L = true});
        graphics.OnMouseUp(x, y, {.L = true});
        Settle();
    }
    // Frames until every animation has ended.
    void Settle()
    {
        for (int frame = 0; frame < 100 && graphics.IsAnimating(); ++frame)
            graphics.OnFrame(mNowMs += 16.0);
    }

    IControl& Tagged(int tag) { return *graphics.GetControlWithTag(tag); }
    std::string Text(int tag) const
    {
        const auto* control = dynamic_cast<const ITextControl*>(graphics.GetControlWithTag(tag));
        return control ? control->GetStr() : "<no text control>";
    }
    std::string Label(int tag) const
    {
        const auto* control = dynamic_cast<const IVectorBase*>(graphics.GetControlWithTag(tag));
        return control ? control->GetLabelStr() : "<no button>";
    }

    // "shown", "hidden" or "mixed" for the members of `group`; "empty" when it has none.
    std::string GroupState(std::string_view group)
    {
        int hidden = 0;
        int members = 0;
        graphics.ForControlInGroup(group,
                                   [&](IControl& control)
                                   {
                                       ++members;
                                       hidden += control.IsHidden() ? 1 : 0;
                                   });
        if (members == 0)
            return "empty";
        return hidden == 0 ? "shown" : hidden == members ? "hidden" : "mixed";
    }
    bool GroupDisabled(std::string_view group)
    {
        bool disabled = true;
        graphics.ForControlInGroup(group,
                                   [&](IControl& control) { disabled &= control.IsDisabled(); });
        return disabled;
    }

    // "enabled", "disabled" or "mixed" for the controls bound to setting `idx`, their children
    // included.
    std::string BoundState(int idx)
    {
        int disabled = 0;
        int counted = 0;
        auto count = [&](const IControl& control)
        {
            ++counted;
            disabled += control.IsDisabled() ? 1 : 0;
        };
        graphics.ForAllControls(
            [&](IControl& control)
            {
                if (control.LinkedToParam(idx) == kNoValIdx)
                    return;
                count(control);
                for (const IControl* child : control.GetChildren())
                    count(*child);
            });
        if (counted == 0)
            return "unbound";
        return disabled == 0 ? "enabled" : disabled == counted ? "disabled" : "mixed";
    }

    // The button labelled `label` splashes to its end: its end-of-animation action runs. False
    // when there is no such button or it has no action.
    bool SplashEnds(const std::string& label)
    {
        IControl* button = nullptr;
        graphics.ForAllControls(
            [&](IControl& control)
            {
                if (const auto* vector = dynamic_cast<const IVectorBase*>(&control))
                    if (!button && vector->GetLabelStr() == label)
                        button = &control;
            });
        if (!button || !button->GetAnimationEndActionFunction())
            return false;
        button->GetAnimationEndActionFunction()(button);
        return true;
    }

    ManualTimerBackend clock;
    RecordingPort port;
    ScriptedPlatformUi platform;
    ArtworkLoader artwork;
    EditorProbe editor;
    IGraphics graphics;

private:
    double mNowMs = 0.0;
};

// F0 | 00 3F 5A | 04 configuration | 02 write value | address | value | F7
inline Bytes WriteValue(std::uint8_t address, std::uint8_t value)
{
    return {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, address, value, 0xF7};
}
inline const Bytes kStatusRequest = WriteValue(0x71, 0x00);
} // namespace editor_bench
