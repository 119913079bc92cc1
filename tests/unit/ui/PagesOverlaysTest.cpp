#include "support/EditorBench.h"
#include "ui/ControlTags.h"

#include <array>
#include <gtest/gtest.h>
#include <string>

namespace pages_overlays_test
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

using OpenBench = EditorBench;

} // namespace pages_overlays_test

using namespace pages_overlays_test;

TEST(PageVisibility, EachPageAndJackKindShowsExactlyItsGroup)
{
    struct
    {
        int tab;          // 0 GLOBAL, 1 JACK 1, 2 JACK 2
        double jack1Mode; // 0 pedal, 1 switches
        double jack2Mode;
        const char* visible; // the one page group shown afterwards
    } const cases[] = {{0, 1.0, 1.0, "globalcontrols"},
                       {1, 1.0, 0.0, "switch1controls"},
                       {1, 0.0, 1.0, "pedal1controls"},
                       {2, 0.0, 1.0, "switch2controls"},
                       {2, 1.0, 0.0, "pedal2controls"}};
    for (const auto& c : cases)
    {
        OpenBench bench;
        bench.editor.SendParamToView(kJack1Mode, c.jack1Mode, true);
        bench.editor.SendParamToView(kJack2Mode, c.jack2Mode, true);
        for (const char* group : kPageGroups) // every page visible: the switch must hide the rest
            bench.graphics.HideGroup(group, false);
        std::array<std::string, kOtherGroups.size()> before;
        for (std::size_t i = 0; i < kOtherGroups.size(); ++i)
            before[i] = bench.GroupState(kOtherGroups[i]);

        bench.ClickAndSettle(kTabX[static_cast<std::size_t>(c.tab)], kTabY);

        for (const char* group : kPageGroups)
            EXPECT_EQ(bench.GroupState(group), std::string(group) == c.visible ? "shown" : "hidden")
                << c.visible << ": " << group;
        for (std::size_t i = 0; i < kOtherGroups.size(); ++i)
            EXPECT_EQ(bench.GroupState(kOtherGroups[i]), before[i]) << c.visible;
    }
}

TEST(PageVisibility, TheJackKindIsReadWhenTheTabIsClickedNotWhenTheModeChanges)
{
    OpenBench bench;
    bench.ClickAndSettle(kTabX[1], kTabY);
    ASSERT_EQ(bench.GroupState("pedal1controls"), "shown");

    bench.editor.SendParamToView(kJack1Mode, 1.0, true);
    EXPECT_EQ(bench.GroupState("pedal1controls"), "shown");
    EXPECT_EQ(bench.GroupState("switch1controls"), "hidden");

    bench.ClickAndSettle(kTabX[1], kTabY); // the selected tab again
    EXPECT_EQ(bench.GroupState("pedal1controls"), "hidden");
    EXPECT_EQ(bench.GroupState("switch1controls"), "shown");
}

TEST(AboutPage, OpensFromTheMenuAboveTheFirmwareWindowAndTakesTheNextClickToClose)
{
    OpenBench bench;
    ASSERT_TRUE(bench.editor.OnFirmwareUpdateRequested(1));
    ASSERT_EQ(bench.GroupState("aboutcontrols"), "hidden");
    EXPECT_TRUE(bench.editor.OnAboutRequested());
    EXPECT_EQ(bench.GroupState("aboutcontrols"), "shown");

    // On the firmware window's "X", under the About page: it closes after its splash.
    bench.graphics.OnMouseDown(kCloseX, kCloseY, {.L = true});
    bench.graphics.OnMouseUp(kCloseX, kCloseY, {.L = true});
    EXPECT_EQ(bench.GroupState("aboutcontrols"), "shown");
    bench.Settle();
    EXPECT_EQ(bench.GroupState("aboutcontrols"), "hidden");
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "shown") << "the click belonged to the About page";
    EXPECT_EQ(bench.GroupState("fwupdatecontrols"), "shown");
}

TEST(FirmwareWindow, OpensOnRequestOneWithItsButtonsEnabledAndTheHeaderBarDisabledUntilXClosesIt)
{
    OpenBench bench;
    for (int request : {0, 2, -1})
        EXPECT_FALSE(bench.editor.OnFirmwareUpdateRequested(request)) << request;
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "hidden");
    EXPECT_TRUE(bench.editor.OnFirmwareUpdateRequested(1));
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "shown");
    EXPECT_EQ(bench.GroupState("fwupdatecontrols"), "shown");
    bench.graphics.ForControlInGroup("fwupdatecontrols",
                                     [](IControl& control) { EXPECT_FALSE(control.IsDisabled()); });
    bench.graphics.ForControlInGroup("maincontrols",
                                     [](IControl& control) { EXPECT_TRUE(control.IsDisabled()); });

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
}

TEST(FirmwareWindow, ReopeningEnablesButtonsAFinishedTransferLeftDisabled)
{
    OpenBench bench;
    ASSERT_TRUE(bench.editor.OnFirmwareUpdateRequested(1));
    bench.graphics.DisableGroup("fwupdatecontrols", true); // as a transfer leaves them
    bench.ClickAndSettle(kCloseX, kCloseY);                // disabled "X": the click falls through
    ASSERT_EQ(bench.GroupState("fwbgcontrols"), "shown");
    bench.graphics.HideGroup("fwbgcontrols", true);
    bench.graphics.HideGroup("fwupdatecontrols", true);

    ASSERT_TRUE(bench.editor.OnFirmwareUpdateRequested(1));
    bench.ClickAndSettle(kCloseX, kCloseY);
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "hidden");
}
