#include "ui/EditorLayout.h"

#include "support/EditorBench.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/ICaptionControl.h"
#include "toolkit/IPanelControl.h"
#include "toolkit/IVButtonControl.h"
#include "toolkit/IVPanelControl.h"
#include "toolkit/IVTabSwitchControl.h"
#include "toolkit/IVToggleControl.h"
#include "ui/ControlTags.h"
#include "ui/ILEDControl.h"
#include "ui/IVNumberBoxControl.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace
{
using editor_bench::EditorBench;

std::string KindOf(const IControl* control)
{
    if (dynamic_cast<const ILEDControl*>(control))
        return "light";
    if (dynamic_cast<const IVNumberBoxControl*>(control))
        return "number box";
    if (dynamic_cast<const ICaptionControl*>(control))
        return "caption";
    if (dynamic_cast<const ITextControl*>(control))
        return "text";
    if (dynamic_cast<const IVTabSwitchControl*>(control))
        return "tab switch";
    if (dynamic_cast<const IVToggleControl*>(control))
        return "toggle";
    if (dynamic_cast<const IVButtonControl*>(control))
        return "button";
    if (dynamic_cast<const IBitmapControl*>(control))
        return "bitmap";
    if (dynamic_cast<const IVPanelControl*>(control))
        return "vector panel";
    if (dynamic_cast<const IPanelControl*>(control))
        return "panel";
    return "other";
}

// What a button or text shows: the label of a button, the text of a text display.
std::string TextOf(const IControl* control)
{
    if (const auto* text = dynamic_cast<const ITextControl*>(control))
        return text->GetStr();
    if (const auto* vector = dynamic_cast<const IVectorBase*>(control))
        return vector->GetLabelStr();
    return "";
}

struct TaggedControl
{
    int tag;
    const char* kind;
    IRECT rect;
    const char* group;
    int param;
};

// The screen as its owner draws it: every tagged control, its kind, place (design pixels, to a
// tenth), group and bound setting.
const std::vector<TaggedControl> kTaggedControls{
    {0, "light", {999, 5, 1019, 37}, "", -1},
    {1, "tab switch", {343, 320.8f, 681, 360.8f}, "maincontrols", -1},
    {2, "caption", {410.6f, 441.1f, 613.4f, 469.1f}, "globalcontrols", 2},
    {3, "caption", {410.6f, 567.4f, 613.4f, 595.4f}, "globalcontrols", 0},
    {4, "number box", {258.5f, 614.8f, 458.5f, 642.8f}, "switch1controls", 31},
    {5, "number box", {565.5f, 614.8f, 765.5f, 642.8f}, "switch1controls", 35},
    {6, "number box", {258.5f, 614.8f, 458.5f, 642.8f}, "switch2controls", 14},
    {7, "number box", {565.5f, 614.8f, 765.5f, 642.8f}, "switch2controls", 18},
    {8, "number box", {350, 687.7f, 500, 727.7f}, "switch1controls", 36},
    {9, "number box", {524, 687.7f, 674, 727.7f}, "switch1controls", 37},
    {10, "number box", {350, 687.7f, 500, 727.7f}, "switch2controls", 19},
    {11, "number box", {524, 687.7f, 674, 727.7f}, "switch2controls", 20},
    {12, "button", {258.5f, 687.7f, 478.5f, 727.7f}, "pedal1controls", -1},
    {13, "button", {545.5f, 687.7f, 765.5f, 727.7f}, "pedal1controls", -1},
    {14, "button", {258.5f, 687.7f, 478.5f, 727.7f}, "pedal2controls", -1},
    {15, "button", {545.5f, 687.7f, 765.5f, 727.7f}, "pedal2controls", -1},
    {16, "text", {362, 95.5f, 512, 115.5f}, "jack1pedalcontrols", -1},
    {17, "text", {362, 117.1f, 512, 147.1f}, "jack1pedalcontrols", -1},
    {18, "text", {362, 131.1f, 512, 147.1f}, "jack1pedalcontrols", -1},
    {19, "text", {362, 144.7f, 512, 178.7f}, "jack1pedalcontrols", -1},
    {21, "text", {362, 95.5f, 512, 115.5f}, "jack1switchcontrols", -1},
    {22, "text", {362, 117.1f, 512, 147.1f}, "jack1switchcontrols", -1},
    {23, "text", {362, 131.1f, 512, 147.1f}, "jack1switchcontrols", -1},
    {24, "text", {362, 144.7f, 512, 178.7f}, "jack1switchcontrols", -1},
    {25, "text", {362, 190.3f, 512, 210.3f}, "jack1switchcontrols", -1},
    {26, "text", {362, 211.9f, 512, 241.9f}, "jack1switchcontrols", -1},
    {27, "text", {362, 225.9f, 512, 241.9f}, "jack1switchcontrols", -1},
    {28, "text", {362, 239.5f, 512, 273.5f}, "jack1switchcontrols", -1},
    {29, "text", {512, 95.5f, 662, 115.5f}, "jack2pedalcontrols", -1},
    {30, "text", {512, 117.1f, 662, 147.1f}, "jack2pedalcontrols", -1},
    {31, "text", {512, 131.1f, 662, 147.1f}, "jack2pedalcontrols", -1},
    {32, "text", {512, 144.7f, 662, 178.7f}, "jack2pedalcontrols", -1},
    {34, "text", {512, 95.5f, 662, 115.5f}, "jack2switchcontrols", -1},
    {35, "text", {512, 117.1f, 662, 147.1f}, "jack2switchcontrols", -1},
    {36, "text", {512, 131.1f, 662, 147.1f}, "jack2switchcontrols", -1},
    {37, "text", {512, 144.7f, 662, 178.7f}, "jack2switchcontrols", -1},
    {38, "text", {512, 190.3f, 662, 210.3f}, "jack2switchcontrols", -1},
    {39, "text", {512, 211.9f, 662, 241.9f}, "jack2switchcontrols", -1},
    {40, "text", {512, 225.9f, 662, 241.9f}, "jack2switchcontrols", -1},
    {41, "text", {512, 239.5f, 662, 273.5f}, "jack2switchcontrols", -1},
    {42, "bitmap", {360, 184, 510, 283}, "jack1pedalcontrols", 3},
    {43, "bitmap", {514, 184, 664, 283}, "jack2pedalcontrols", 1},
    {44, "text", {399, 8, 630, 36}, "maincontrols", -1},
    {45, "text", {360, 160, 665, 260}, "firmwarecontrols", -1},
    {46, "text", {10, 50, 410, 64}, "devicecontrols", -1},
    {47, "text", {10, 82, 410, 96}, "devicecontrols", -1}, // 16 apart, so 14-pixel type never
    {48, "text", {10, 66, 410, 80}, "devicecontrols", -1}, // touches the line above
    {49, "button", {208, 306, 818, 750}, "maincontrols", -1},
    {50, "bitmap", {203, 301, 824, 755}, "fwbgcontrols", -1},
    {51, "text", {630, 8, 648, 36}, "", -1},
};

// The initial text of the buttons and displays that show one; every other text display starts
// empty.
const std::vector<std::pair<int, std::string>> kInitialTexts{
    {12, "Calibration Low End: 0%"},
    {13, "Calibration High End: 100%"},
    {14, "Calibration Low End: 0%"},
    {15, "Calibration High End: 100%"},
    {16, "PEDAL"},
    {21, "SWITCH A"},
    {25, "SWITCH B"},
    {29, "PEDAL"},
    {34, "SWITCH A"},
    {38, "SWITCH B"},
    {44, "Untitled"},
    {45, "0 %"},
    {49, "Editing is not possible in Standalone Mode."},
    {51, "\u2022"},
};

void ExpectNear(const IRECT& actual, const IRECT& expected, int tag)
{
    EXPECT_NEAR(actual.L, expected.L, 0.051f) << "tag " << tag;
    EXPECT_NEAR(actual.T, expected.T, 0.051f) << "tag " << tag;
    EXPECT_NEAR(actual.R, expected.R, 0.051f) << "tag " << tag;
    EXPECT_NEAR(actual.B, expected.B, 0.051f) << "tag " << tag;
}
} // namespace

TEST(EditorLayout, EveryTagHasItsKindPlaceGroupBindingAndTextOnAFirstScreenOfItsOwn)
{
    EditorBench bench;
    for (const TaggedControl& expected : kTaggedControls)
    {
        const IControl* control = bench.graphics.GetControlWithTag(expected.tag);
        ASSERT_NE(control, nullptr) << "tag " << expected.tag;
        EXPECT_EQ(KindOf(control), expected.kind) << "tag " << expected.tag;
        ExpectNear(control->GetRECT(), expected.rect, expected.tag);
        EXPECT_EQ(control->GetGroup(), expected.group) << "tag " << expected.tag;
        EXPECT_EQ(control->GetParamIdx(), expected.param) << "tag " << expected.tag;
        const auto known =
            std::ranges::find(kInitialTexts, expected.tag, &std::pair<int, std::string>::first);
        const bool shows = known != kInitialTexts.end() || std::string(expected.kind) == "text";
        EXPECT_EQ(shows ? TextOf(control) : "", known != kInitialTexts.end() ? known->second : "")
            << "tag " << expected.tag;
    }

    // Header, status, pedal displays and the global page are shown; only the standalone notice
    // of the header bar is not. A number box's readout and buttons are hidden with its page.
    for (const char* group : {"background", "globalcontrols", "jack1pedalcontrols",
                              "jack2pedalcontrols", "devicecontrols"})
        EXPECT_EQ(bench.GroupState(group), "shown") << group;
    for (const char* group :
         {"switch1controls", "switch2controls", "pedal1controls", "pedal2controls",
          "jack1switchcontrols", "jack2switchcontrols", "firmwarecontrols", "fwbgcontrols",
          "fwupdatecontrols", "aboutcontrols"})
        EXPECT_EQ(bench.GroupState(group), "hidden") << group;
    bench.graphics.ForControlInGroup(
        "maincontrols", [](IControl& control)
        { EXPECT_EQ(control.IsHidden(), control.GetTag() == kCtrlTagStandaloneNotice); });
    const IControl& box = bench.Tagged(kCtrlTagSwitchA1Controller);
    ASSERT_EQ(box.GetChildren().size(), 3u);
    for (const IControl* child : box.GetChildren())
        EXPECT_TRUE(child->IsHidden());

    using Font = std::pair<std::string, std::string>;
    EXPECT_EQ(bench.artwork.loadedFonts,
              (std::vector<Font>{{"Roboto-Regular", "Roboto-Regular.ttf"},
                                 {"ForkAwesome", "forkawesome-webfont.ttf"},
                                 {"Fontaudio", "fontaudio.ttf"},
                                 {"FontLCD", "ni7seg.ttf"}}));
    EXPECT_EQ(bench.artwork.requestedImages,
              (std::vector<std::string>{"background.png", "tipring.png", "fwbg.png", "about.png"}));
    const auto& polarity = dynamic_cast<const IBitmapControl&>(bench.Tagged(kCtrlTagJack1Polarity));
    EXPECT_EQ(polarity.GetBitmap().NFrames(), 2);
}

TEST(EditorLayout, FirstScreenFollowsWhatCameBeforeItAndEndsReadyWithOneStatusRequest)
{
    EditorBench bench(false);
    bench.editor.OnMidiOutputPortSelected("Some Synth");
    bench.editor.GetParam(kJack1Mode)->Set(kJackModeSwitches);
    bench.editor.GetParam(kSwitchA1Function)->Set(kSwitchFunctionSpecialControl);
    bench.editor.GetParam(kSwitchB1Function)->Set(kSwitchFunctionStart);
    bench.editor.GetParam(kPedal2Mode)->Set(kPedalModeBend);
    bench.port.sent.clear();
    EXPECT_FALSE(bench.editor.mUIReady);
    bench.OpenView();

    EXPECT_TRUE(bench.editor.mUIReady);
    EXPECT_TRUE(bench.editor.mStatusTextsReady);
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText1), "DEVICE: Some Synth");
    EXPECT_EQ(bench.GroupState("jack1switchcontrols"), "shown");
    EXPECT_EQ(bench.GroupState("jack1pedalcontrols"), "hidden");
    EXPECT_EQ(bench.BoundState(kSwitch1SpecialLower), "enabled");
    EXPECT_EQ(bench.BoundState(kSwitchB1Channel), "disabled");
    EXPECT_EQ(bench.BoundState(kPedal2Controller), "disabled");
    // The pages keep their first-screen state: the jack's page is chosen by the tabs.
    EXPECT_EQ(bench.GroupState("switch1controls"), "hidden");
    EXPECT_EQ(bench.editor.mPendingParam, -1); // nothing recorded as an edit
    EXPECT_EQ(bench.port.sent, std::vector<editor_bench::Bytes>{editor_bench::kStatusRequest});

    const int controls = bench.graphics.NControls(); // a second build adds and sends nothing
    BuildEditorLayout(bench.editor, bench.graphics);
    EXPECT_EQ(bench.graphics.NControls(), controls);
    EXPECT_EQ(bench.port.sent.size(), 1u);
}
