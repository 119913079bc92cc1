#pragma once

#include "core/ManualTimerBackend.h"
#include "device/SysExMessages.h"
#include "editor/ctrlWaveStomplet.h"
#include "support/ScriptedPlatformUi.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVectorBase.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace editor_bench
{
using Bytes = std::vector<std::uint8_t>;
using Values = std::array<std::uint8_t, kNumParams>;

// An output port that keeps every message handed to it.
class RecordingPort final : public AppHostLink
{
public:
    bool SendToOutputPort(const std::uint8_t* bytes, std::size_t size) override
    {
        sent.emplace_back(bytes, bytes + size);
        return true;
    }
    void ProbeMidiPorts() override {}

    std::vector<Bytes> sent;
};

class EditorProbe : public ctrlWaveStomplet
{
public:
    using ctrlWaveStomplet::mModeCheck;
    using ctrlWaveStomplet::mUIReady;
    using ctrlWaveStomplet::Presets;
};

// The editor headless: the manual clock drives the 20 ms tick and the 100 ms device timer, a
// recording port stands for the MIDI output, and the real screen is built on a graphics context
// with a scripted PlatformUi. The screen's own Status Request is cleared from the record.
struct EditorBench
{
    explicit EditorBench(bool withView = true) : graphics(editor, 1024, 768)
    {
        editor.SetHostLink(&port);
        graphics.SetPlatformUi(&platform);
        if (withView)
            editor.OpenView(graphics, graphics);
        port.sent.clear();
    }
    ~EditorBench() { editor.SetHostLink(nullptr); }

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
    bool Hidden(int tag) const { return graphics.GetControlWithTag(tag)->IsHidden(); }
    // True when every control bound to setting `idx` is greyed out.
    bool Greyed(int idx)
    {
        bool greyed = true;
        graphics.ForAllControls(
            [&](IControl& control)
            {
                if (control.LinkedToParam(idx) != kNoValIdx)
                    greyed &= control.IsDisabled();
            });
        return greyed;
    }
    bool GroupShown(const char* group)
    {
        bool shown = true;
        graphics.ForControlInGroup(group,
                                   [&shown](IControl& control) { shown &= !control.IsHidden(); });
        return shown;
    }

    ManualTimerBackend clock;
    RecordingPort port;
    ScriptedPlatformUi platform;
    EditorProbe editor;
    IGraphics graphics;
};

// F0 | 00 3F 5A | 04 configuration | 02 write value | address | value | F7
inline Bytes WriteValue(int address, int value)
{
    return {0xF0,
            0x00,
            0x3F,
            0x5A,
            0x04,
            0x02,
            static_cast<std::uint8_t>(address),
            static_cast<std::uint8_t>(value),
            0xF7};
}
inline const Bytes kStatusRequest = WriteValue(0x71, 0x00);
} // namespace editor_bench
