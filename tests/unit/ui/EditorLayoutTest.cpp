#include "ui/EditorLayout.h"

#include "support/EditorBench.h"
#include "toolkit/IBitmapControl.h"
#include "ui/ControlTags.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using editor_bench::EditorBench;

TEST(EditorLayout, FirstScreenShowsTheGlobalPageWithItsBindingsTextsFontsAndPictures)
{
    EditorBench bench;
    // tag: setting; the captions, the number boxes of both switch pages, the polarity pictures.
    const int bindings[][2] = {{2, 2},  {3, 0},  {4, 31},  {5, 35},  {6, 14}, {7, 18},
                               {8, 36}, {9, 37}, {10, 19}, {11, 20}, {42, 3}, {43, 1}};
    for (const auto& [tag, idx] : bindings)
        EXPECT_EQ(bench.Tagged(tag).GetParamIdx(), idx) << "tag " << tag;
    EXPECT_EQ(bench.Label(kCtrlTagPedal1CalibrateLow), "Calibration Low End: 0%");
    EXPECT_EQ(bench.Label(kCtrlTagPedal2CalibrateHigh), "Calibration High End: 100%");
    EXPECT_EQ(bench.Text(kCtrlTagJack1PedalHeader), "PEDAL");
    EXPECT_EQ(bench.Text(kCtrlTagPresetName), "Untitled");
    EXPECT_EQ(bench.Text(kCtrlTagFirmwareProgress), "0 %");
    EXPECT_EQ(bench.Text(kCtrlTagJack1SwitchBHeader), "SWITCH B");
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText2), "");

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
