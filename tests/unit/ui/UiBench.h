#pragma once

#include "core/ManualTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"
#include "support/ScriptedPlatformUi.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ResourceLoader.h"

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace ui_bench
{
using Bytes = std::vector<std::uint8_t>;

// An output port that keeps every message handed to it.
class WirePort final : public AppHostLink
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

// Resources as the application carries them: the four pictures at their design sizes, and every
// font file. Records what was asked for.
class ArtworkLoader final : public ResourceLoader
{
public:
    std::optional<IBitmap> LoadBitmap(std::string_view name, int nFrames,
                                      bool framesAreHorizontal) override
    {
        requestedImages.emplace_back(name);
        const std::pair<int, int> size = name == "background.png" ? std::pair{1024, 768}
                                         : name == "tipring.png"  ? std::pair{150, 198}
                                         : name == "fwbg.png"     ? std::pair{621, 454}
                                         : name == "about.png"    ? std::pair{1024, 768}
                                                                  : std::pair{0, 0};
        if (size.first == 0)
            return std::nullopt;
        return IBitmap{std::string(name), size.first, size.second, nFrames, framesAreHorizontal};
    }
    bool LoadFont(std::string_view fontID, std::string_view fileName) override
    {
        loadedFonts.emplace_back(fontID, fileName);
        return true;
    }

    std::vector<std::string> requestedImages;
    std::vector<std::pair<std::string, std::string>> loadedFonts;
};

// Exposes editor fields the screen's actions change.
class EditorProbe : public ctrlWaveStomplet
{
public:
    using ctrlWaveStomplet::mAudition;
    using ctrlWaveStomplet::mPendingParam;
    using ctrlWaveStomplet::mStatusTextsReady;
    using ctrlWaveStomplet::mUIReady;
};

// The editor with its screen on a 1024 x 768 context, a recording output port, a scripted
// PlatformUi and the artwork. Settings can be set before the view opens (OpenView()).
struct UiBench
{
    UiBench() : graphics(editor, 1024, 768)
    {
        editor.SetHostLink(&port);
        graphics.SetPlatformUi(&platform);
        graphics.SetResourceLoader(&artwork);
    }
    ~UiBench() { editor.SetHostLink(nullptr); }

    void OpenView() { editor.OpenView(graphics, graphics); }

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
        {
            mNowMs += 16.0;
            graphics.OnFrame(mNowMs);
        }
    }

    IControl& Tagged(int tag) { return *graphics.GetControlWithTag(tag); }

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

    ManualTimerBackend clock;
    WirePort port;
    ScriptedPlatformUi platform;
    ArtworkLoader artwork;
    EditorProbe editor;
    IGraphics graphics;

private:
    double mNowMs = 0.0;
};

// F0 | 00 3F 5A | 04 configuration | 02 write value | 71 status request | 00 | F7
inline const Bytes kStatusRequest{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x71, 0x00, 0xF7};
} // namespace ui_bench
