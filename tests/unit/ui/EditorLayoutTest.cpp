#include "ui/EditorLayout.h"

#include "support/EditorBench.h"
#include "ui/ControlTags.h"

#include <gtest/gtest.h>
#include <vector>

using editor_bench::EditorBench;

TEST(EditorLayout, FirstScreenShowsTheHeaderTheJackDisplaysAndTheGlobalPageOnly)
{
    // Its texts, fonts and pictures are read and drawn by the window's own tests.
    EditorBench bench;
    for (const char* group : {"background", "globalcontrols", "jack1pedalcontrols",
                              "jack2pedalcontrols", "devicecontrols"})
        EXPECT_EQ(bench.GroupState(group), "shown") << group;
    for (const char* group :
         {"switch1controls", "switch2controls", "pedal1controls", "pedal2controls",
          "jack1switchcontrols", "jack2switchcontrols", "firmwarecontrols", "fwbgcontrols",
          "fwupdatecontrols", "aboutcontrols"})
        EXPECT_EQ(bench.GroupState(group), "hidden") << group;
    // Of the header bar only the standalone notice waits; a number box hides with its page.
    bench.graphics.ForControlInGroup(
        "maincontrols", [](IControl& control)
        { EXPECT_EQ(control.IsHidden(), control.GetTag() == kCtrlTagStandaloneNotice); });
    for (const IControl* child : bench.Tagged(kCtrlTagSwitchA1Controller).GetChildren())
        EXPECT_TRUE(child->IsHidden());
}

TEST(EditorLayout, FirstScreenFollowsWhatCameBeforeItAndEndsReadyWithOneStatusRequest)
{
    EditorBench bench(false);
    bench.editor.OnMidiOutputPortSelected("Some Synth");
    bench.editor.GetParam(kJack1Mode)->Set(kJackModeSwitches);
    bench.editor.GetParam(kSwitchA1Function)->Set(kSwitchFunctionSpecialControl);
    bench.port.sent.clear();
    EXPECT_FALSE(bench.editor.mUIReady);
    bench.OpenView();

    EXPECT_TRUE(bench.editor.mUIReady);
    EXPECT_TRUE(bench.editor.mStatusTextsReady);
    EXPECT_EQ(bench.Text(kCtrlTagDeviceText1), "DEVICE: Some Synth");
    EXPECT_EQ(bench.GroupState("jack1switchcontrols"), "shown");
    EXPECT_EQ(bench.BoundState(kSwitch1SpecialLower), "enabled"); // the jack rules applied
    // The pages keep their first-screen state: the jack's page is chosen by the tabs.
    EXPECT_EQ(bench.GroupState("switch1controls"), "hidden");
    EXPECT_EQ(bench.editor.mPendingParam, -1); // nothing recorded as an edit
    EXPECT_EQ(bench.port.sent, std::vector<editor_bench::Bytes>{editor_bench::kStatusRequest});

    const int controls = bench.graphics.NControls(); // a second build adds and sends nothing
    BuildEditorLayout(bench.editor, bench.graphics);
    EXPECT_EQ(bench.graphics.NControls(), controls);
    EXPECT_EQ(bench.port.sent.size(), 1u);
}
