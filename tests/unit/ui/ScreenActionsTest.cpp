#include "support/EditorBench.h"
#include "ui/ControlTags.h"

#include <gtest/gtest.h>
#include <vector>

namespace
{
using editor_bench::Bytes;
using editor_bench::EditorBench;
using editor_bench::kStatusRequest;

// Points on the screen, design pixels.
constexpr float kTabY = 340.f;
constexpr float kJack1TabX = 512.f;
constexpr float kJack2TabX = 625.f;
constexpr float kJack1ModeCaptionX = 512.f;
constexpr float kJack1ModeCaptionY = 455.f;

using OpenBench = EditorBench;
} // namespace

TEST(ScreenButtons, ResetAllAsksFirstAndOnYesPutsTheResetThenTheStatusRequestOnTheWire)
{
    OpenBench bench;
    bench.ClickAndSettle(512.f, 388.f);
    ASSERT_EQ(bench.platform.PendingMessageBoxes(), 1);
    EXPECT_EQ(bench.platform.MessageBoxes().back().text,
              "Reset every setting of the box to its factory value?");
    EXPECT_EQ(bench.platform.MessageBoxes().back().type, EMsgBoxType::kYesNo);
    EXPECT_TRUE(bench.platform.AnswerMessageBox(EMsgBoxResult::kNo));
    EXPECT_TRUE(bench.port.sent.empty());

    bench.ClickAndSettle(512.f, 388.f);
    EXPECT_TRUE(bench.port.sent.empty()); // not before the answer
    EXPECT_TRUE(bench.platform.AnswerMessageBox(EMsgBoxResult::kYes));
    const Bytes reset{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x70, 0x00, 0xF7}; // address 70: reset
    EXPECT_EQ(bench.port.sent, (std::vector<Bytes>{reset, kStatusRequest}));
}

TEST(ScreenButtons, EachCalibrationButtonAsksAtOnceForItsOwnPedalEndAndNothingElse)
{
    struct Case
    {
        int tag;
        float tabX; // the tab of its jack
        std::uint8_t address;
    };
    for (const Case& c : {Case{kCtrlTagPedal1CalibrateLow, kJack1TabX, 0x1A},
                          Case{kCtrlTagPedal1CalibrateHigh, kJack1TabX, 0x1B},
                          Case{kCtrlTagPedal2CalibrateLow, kJack2TabX, 0x09},
                          Case{kCtrlTagPedal2CalibrateHigh, kJack2TabX, 0x0A}})
    {
        OpenBench bench;
        bench.ClickAndSettle(c.tabX, kTabY);
        const IRECT button = bench.Tagged(c.tag).GetRECT();
        // Sent on the click itself, before the splash has run a single frame.
        bench.graphics.OnMouseDown(button.MW(), button.MH(), {.L = true});
        bench.graphics.OnMouseUp(button.MW(), button.MH(), {.L = true});
        // F0 | 00 3F 5A | 04 | 02 | calibration address | 00 | F7
        const Bytes calibrate{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, c.address, 0x00, 0xF7};
        EXPECT_EQ(bench.port.sent, (std::vector<Bytes>{calibrate, kStatusRequest}))
            << "tag " << c.tag;
    }
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
