#include "UiBench.h"
#include "toolkit/IVToggleControl.h"
#include "ui/ControlTags.h"
#include "ui/EditorActions.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
using ui_bench::Bytes;
using ui_bench::kStatusRequest;
using ui_bench::UiBench;

// Points on the screen, design pixels.
constexpr float kTabY = 340.f;
constexpr float kGlobalTabX = 400.f;
constexpr float kJack1TabX = 512.f;
constexpr float kJack2TabX = 625.f;
constexpr float kJack1ModeCaptionX = 512.f;
constexpr float kJack1ModeCaptionY = 455.f;

struct OpenBench : UiBench
{
    OpenBench()
    {
        OpenView();
        port.sent.clear();
    }
};
} // namespace

TEST(PageTabs, Jack1ShowsThePedalPageWhileJack1HoldsAPedal)
{
    OpenBench bench;
    bench.ClickAndSettle(kJack1TabX, kTabY);
    EXPECT_DOUBLE_EQ(bench.Tagged(kCtrlTagPageTabs).GetValue(), 0.5);
    EXPECT_EQ(bench.GroupState("globalcontrols"), "hidden");
    EXPECT_EQ(bench.GroupState("pedal1controls"), "shown");
    EXPECT_EQ(bench.GroupState("switch1controls"), "hidden");
    EXPECT_EQ(bench.GroupState("pedal2controls"), "hidden");
}

TEST(PageTabs, Jack1ShowsTheSwitchPageAfterItsModeCaptionChoseSwitches)
{
    OpenBench bench;
    bench.platform.ScriptPopupChoice(1); // "Switches"
    bench.ClickAndSettle(kJack1ModeCaptionX, kJack1ModeCaptionY);
    ASSERT_EQ(bench.editor.GetParam(kJack1Mode)->Int(), kJackModeSwitches);

    bench.ClickAndSettle(kJack1TabX, kTabY);
    EXPECT_EQ(bench.GroupState("switch1controls"), "shown");
    EXPECT_EQ(bench.GroupState("pedal1controls"), "hidden");
}

TEST(PageTabs, ClickingTheSelectedJackTabAgainRereadsTheJackKind)
{
    OpenBench bench;
    bench.ClickAndSettle(kJack2TabX, kTabY);
    ASSERT_EQ(bench.GroupState("pedal2controls"), "shown");
    bench.editor.SendParamToView(kJack2Mode, 1.0, true);

    bench.ClickAndSettle(kJack2TabX, kTabY);
    EXPECT_EQ(bench.GroupState("switch2controls"), "shown");
    EXPECT_EQ(bench.GroupState("pedal2controls"), "hidden");
}

TEST(PageTabs, GlobalHidesEveryJackPage)
{
    OpenBench bench;
    bench.ClickAndSettle(kJack1TabX, kTabY);
    bench.ClickAndSettle(kGlobalTabX, kTabY);
    EXPECT_EQ(bench.GroupState("globalcontrols"), "shown");
    for (const char* group :
         {"switch1controls", "switch2controls", "pedal1controls", "pedal2controls"})
        EXPECT_EQ(bench.GroupState(group), "hidden") << group;
}

TEST(PageTabs, AnUnknownPageChangesNothing)
{
    OpenBench bench;
    ShowPage(bench.Tagged(kCtrlTagPageTabs), 3);
    EXPECT_EQ(bench.GroupState("globalcontrols"), "shown");
}

TEST(ScreenButtons, ResetAllPutsTheResetThenTheStatusRequestOnTheWire)
{
    OpenBench bench;
    bench.ClickAndSettle(512.f, 388.f);
    const Bytes reset{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x70, 0x00, 0xF7}; // address 70: reset
    EXPECT_EQ(bench.port.sent, (std::vector<Bytes>{reset, kStatusRequest}));
}

TEST(ScreenButtons, EachCalibrationButtonAsksForItsOwnPedalEnd)
{
    struct Case
    {
        int tag;
        const char* tabPage;
        std::uint8_t address;
    };
    for (const Case& c : {Case{kCtrlTagPedal1CalibrateLow, "jack1", 0x1A},
                          Case{kCtrlTagPedal1CalibrateHigh, "jack1", 0x1B},
                          Case{kCtrlTagPedal2CalibrateLow, "jack2", 0x09},
                          Case{kCtrlTagPedal2CalibrateHigh, "jack2", 0x0A}})
    {
        OpenBench bench;
        bench.ClickAndSettle(std::string(c.tabPage) == "jack1" ? kJack1TabX : kJack2TabX, kTabY);
        const IRECT button = bench.Tagged(c.tag).GetRECT();
        bench.ClickAndSettle(button.MW(), button.MH());
        // F0 | 00 3F 5A | 04 | 02 | calibration address | 00 | F7
        const Bytes calibrate{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, c.address, 0x00, 0xF7};
        EXPECT_EQ(bench.port.sent, (std::vector<Bytes>{calibrate, kStatusRequest}))
            << "tag " << c.tag;
    }
}

TEST(ScreenButtons, OnlyTheFourCalibrationTagsNameAPedalEnd)
{
    EXPECT_EQ(CalibrationAddressForTag(kCtrlTagPedal1CalibrateLow), 26);
    EXPECT_EQ(CalibrationAddressForTag(kCtrlTagPedal2CalibrateHigh), 10);
    EXPECT_EQ(CalibrationAddressForTag(kCtrlTagPedal2CalibrateLow - 3), std::nullopt);
    EXPECT_EQ(CalibrationAddressForTag(kCtrlTagJack1PedalHeader), std::nullopt);
}

TEST(ScreenButtons, AuditionTwiceLeavesAuditionOff)
{
    OpenBench bench;
    bench.ClickAndSettle(720.f, 20.f);
    EXPECT_TRUE(bench.editor.mAudition.load());
    bench.ClickAndSettle(720.f, 20.f);
    EXPECT_FALSE(bench.editor.mAudition.load());
    EXPECT_TRUE(bench.port.sent.empty());
}

TEST(ScreenButtons, StandaloneNoticeSwallowsClicksOnThePagesButNotOnTheHeader)
{
    OpenBench bench;
    bench.graphics.HideControl(kCtrlTagStandaloneNotice, false);

    bench.ClickAndSettle(kJack1ModeCaptionX, kJack1ModeCaptionY);
    EXPECT_EQ(bench.platform.PopupMenus().size(), 0u);
    bench.ClickAndSettle(kJack1TabX, kTabY);
    EXPECT_DOUBLE_EQ(bench.Tagged(kCtrlTagPageTabs).GetValue(), 0.0);

    bench.ClickAndSettle(720.f, 20.f);
    EXPECT_TRUE(bench.editor.mAudition.load());
}

TEST(ScreenButtons, FirmwareWindowCloserHidesTheWindowAndEnablesTheHeaderBar)
{
    OpenBench bench;
    bench.graphics.HideGroup("fwbgcontrols", false);
    bench.graphics.HideGroup("fwupdatecontrols", false);
    bench.graphics.DisableGroup("maincontrols", true);

    bench.ClickAndSettle(720.f, 20.f); // AUDITION, disabled
    EXPECT_FALSE(bench.editor.mAudition.load());

    bench.ClickAndSettle(795.f, 330.f); // "X"
    EXPECT_EQ(bench.GroupState("fwbgcontrols"), "hidden");
    EXPECT_EQ(bench.GroupState("fwupdatecontrols"), "hidden");
    bench.graphics.ForControlInGroup("maincontrols",
                                     [](IControl& control) { EXPECT_FALSE(control.IsDisabled()); });
}

TEST(ScreenButtons, AboutPageTakesEveryClickAndClosesAfterTheSplash)
{
    OpenBench bench;
    bench.graphics.HideGroup("aboutcontrols", false);

    bench.graphics.OnMouseDown(720.f, 20.f, {.L = true}); // over AUDITION
    bench.graphics.OnMouseUp(720.f, 20.f, {.L = true});
    EXPECT_EQ(bench.GroupState("aboutcontrols"), "shown");
    EXPECT_FALSE(bench.editor.mAudition.load());

    bench.Settle();
    EXPECT_EQ(bench.GroupState("aboutcontrols"), "hidden");
}
