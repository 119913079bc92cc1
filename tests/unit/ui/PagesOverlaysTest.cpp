#include "support/EditorBench.h"
#include "ui/ControlTags.h"

#include <array>
#include <gtest/gtest.h>
#include <string>
#include <tuple>

namespace
{
using editor_bench::EditorBench;

// Points on the screen, design pixels.
constexpr float kTabY = 340.f;
constexpr std::array<float, 3> kTabX{400.f, 512.f, 625.f}; // GLOBAL, JACK 1, JACK 2
constexpr float kAuditionX = 720.f;
constexpr float kAuditionY = 20.f;
constexpr float kCloseX = 795.f; // the firmware window's "X"
constexpr float kCloseY = 330.f;

constexpr std::array<const char*, 5> kPageGroups{
    "globalcontrols", "switch1controls", "pedal1controls", "switch2controls", "pedal2controls"};
// Groups a page change never touches.
constexpr std::array<const char*, 6> kOtherGroups{"maincontrols",       "devicecontrols",
                                                  "jack1pedalcontrols", "jack1switchcontrols",
                                                  "jack2pedalcontrols", "jack2switchcontrols"};
} // namespace

TEST(PageVisibility, EachTabShowsExactlyTheGroupOfItsJackKindAsReadWhenTheTabIsClicked)
{
    // The tab clicked, the modes of the jacks (0 pedal, 1 switches), the one page group shown.
    for (const auto& [tabX, jack1Mode, jack2Mode, visible] :
         {std::tuple{kTabX[0], 1.0, 1.0, "globalcontrols"},
          std::tuple{kTabX[1], 1.0, 0.0, "switch1controls"},
          std::tuple{kTabX[1], 0.0, 1.0, "pedal1controls"},
          std::tuple{kTabX[2], 0.0, 1.0, "switch2controls"},
          std::tuple{kTabX[2], 1.0, 0.0, "pedal2controls"}})
    {
        EditorBench bench;
        bench.editor.SendParamToView(kJack1Mode, jack1Mode, true);
        bench.editor.SendParamToView(kJack2Mode, jack2Mode, true);
        for (const char* group : kPageGroups) // every page visible: the switch must hide the rest
            bench.graphics.HideGroup(group, false);
        std::array<std::string, kOtherGroups.size()> before;
        for (std::size_t i = 0; i < kOtherGroups.size(); ++i)
            before[i] = bench.GroupState(kOtherGroups[i]);

        bench.ClickAndSettle(tabX, kTabY);

        for (const char* group : kPageGroups)
            EXPECT_EQ(bench.GroupState(group), std::string(group) == visible ? "shown" : "hidden")
                << visible << ": " << group;
        for (std::size_t i = 0; i < kOtherGroups.size(); ++i)
            EXPECT_EQ(bench.GroupState(kOtherGroups[i]), before[i]) << visible;
    }

    // The jack's kind is read when its tab is clicked, not when its mode changes.
    EditorBench bench;
    bench.ClickAndSettle(kTabX[1], kTabY);
    bench.editor.SendParamToView(kJack1Mode, 1.0, true);
    EXPECT_EQ(bench.GroupState("switch1controls"), "hidden");

    bench.ClickAndSettle(kTabX[1], kTabY); // the selected tab again
    EXPECT_EQ(bench.GroupState("switch1controls"), "shown");
}

TEST(FirmwareWindow, OpensOnRequestOneDisablingTheHeaderBarUntilXClosesItAndLiesUnderTheAboutPage)
{
    EditorBench bench;
    for (int request : {0, 2, -1})
        EXPECT_FALSE(bench.editor.OnFirmwareUpdateRequested(request)) << request;
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "hidden");
    EXPECT_TRUE(bench.editor.OnFirmwareUpdateRequested(1));
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "shown");
    EXPECT_EQ(bench.GroupState("fwupdatecontrols"), "shown");
    EXPECT_FALSE(bench.GroupDisabled("fwupdatecontrols"));
    EXPECT_TRUE(bench.GroupDisabled("maincontrols"));

    bench.ClickAndSettle(kAuditionX, kAuditionY);
    EXPECT_FALSE(bench.editor.mAudition.load());
    bench.ClickAndSettle(kTabX[1], kTabY);
    EXPECT_DOUBLE_EQ(bench.Tagged(kCtrlTagPageTabs).GetValue(), 0.0);
    EXPECT_TRUE(bench.port.sent.empty());

    bench.ClickAndSettle(kCloseX, kCloseY); // "X" closes it and the header bar reacts again
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "hidden");
    EXPECT_EQ(bench.GroupState("fwupdatecontrols"), "hidden");
    bench.ClickAndSettle(kAuditionX, kAuditionY);
    EXPECT_TRUE(bench.editor.mAudition.load());
    bench.ClickAndSettle(kAuditionX, kAuditionY); // a second click turns it off again
    EXPECT_FALSE(bench.editor.mAudition.load());

    // Reopening enables the buttons a finished transfer left disabled.
    bench.graphics.DisableGroup("fwupdatecontrols", true);
    ASSERT_TRUE(bench.editor.OnFirmwareUpdateRequested(1));
    bench.ClickAndSettle(kCloseX, kCloseY);
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "hidden");

    // The About page opens from the menu above the window and takes the next click to close: on
    // the window's "X" under it, it closes after its splash.
    ASSERT_TRUE(bench.editor.OnFirmwareUpdateRequested(1));
    EXPECT_TRUE(bench.editor.OnAboutRequested());
    EXPECT_EQ(bench.GroupState("aboutcontrols"), "shown");
    bench.graphics.OnMouseDown(kCloseX, kCloseY, {.L = true});
    bench.graphics.OnMouseUp(kCloseX, kCloseY, {.L = true});
    EXPECT_EQ(bench.GroupState("aboutcontrols"), "shown");
    bench.Settle();
    EXPECT_EQ(bench.GroupState("aboutcontrols"), "hidden");
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "shown") << "the click belonged to the About page";
}
