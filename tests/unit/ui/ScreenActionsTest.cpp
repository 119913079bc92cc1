#include "support/EditorBench.h"
#include "ui/ControlTags.h"

#include <gtest/gtest.h>
#include <tuple>
#include <vector>

namespace
{
using editor_bench::Bytes;
using editor_bench::EditorBench;
using editor_bench::kStatusRequest;
using editor_bench::WriteValue;

// Points on the screen, design pixels.
constexpr float kTabY = 340.f;
constexpr float kJack1TabX = 512.f;
constexpr float kJack2TabX = 625.f;
} // namespace

TEST(ScreenButtons, ResetAllAsksFirstAndOnYesPutsTheResetThenTheStatusRequestOnTheWire)
{
    EditorBench bench;
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
    EXPECT_EQ(bench.port.sent, (std::vector<Bytes>{WriteValue(0x70, 0), kStatusRequest}));
}

TEST(ScreenButtons, EachCalibrationButtonAsksAtOnceForItsOwnPedalEndAndNothingElse)
{
    // The button, the tab of its jack, the address it writes.
    for (const auto& [tag, tabX, address] :
         {std::tuple{kCtrlTagPedal1CalibrateLow, kJack1TabX, 0x1A},
          std::tuple{kCtrlTagPedal1CalibrateHigh, kJack1TabX, 0x1B},
          std::tuple{kCtrlTagPedal2CalibrateLow, kJack2TabX, 0x09},
          std::tuple{kCtrlTagPedal2CalibrateHigh, kJack2TabX, 0x0A}})
    {
        EditorBench bench;
        bench.ClickAndSettle(tabX, kTabY);
        const IRECT button = bench.Tagged(tag).GetRECT();
        // Sent on the click itself, before the splash has run a single frame.
        bench.graphics.OnMouseDown(button.MW(), button.MH(), {.L = true});
        bench.graphics.OnMouseUp(button.MW(), button.MH(), {.L = true});
        const auto write = WriteValue(static_cast<std::uint8_t>(address), 0);
        EXPECT_EQ(bench.port.sent, (std::vector<Bytes>{write, kStatusRequest})) << "tag " << tag;
    }
}

TEST(ScreenButtons, StandaloneNoticeSwallowsClicksOnThePagesButNotOnTheHeader)
{
    EditorBench bench;
    bench.graphics.HideControl(kCtrlTagStandaloneNotice, false);

    bench.ClickAndSettle(512.f, 455.f); // the JACK 1 Mode caption
    EXPECT_EQ(bench.platform.PopupMenus().size(), 0u);
    bench.ClickAndSettle(kJack1TabX, kTabY);
    EXPECT_DOUBLE_EQ(bench.Tagged(kCtrlTagPageTabs).GetValue(), 0.0);

    bench.ClickAndSettle(720.f, 20.f);
    EXPECT_TRUE(bench.editor.mAudition.load());
}
