#include "core/ManualTimerBackend.h"
#include "core/Trace.h"
#include "support/RecordingApp.h"

#include <gtest/gtest.h>

namespace
{
class ParamFlow : public ::testing::Test
{
protected:
    ManualTimerBackend clock;
    RecordingApp app;
    FakeView view;
};
} // namespace

TEST_F(ParamFlow, EachValueFromAControlReachesTheEditorOnceAsUI)
{
    std::vector<std::string> trace;
    SetTraceSink([&trace](std::string_view line) { trace.emplace_back(line); });
    app.AttachView(&view);
    app.SendParamFromView(2, 64.0 / 127.0);
    app.SendParamFromView(2, 1.0);
    SetTraceSink(nullptr);

    EXPECT_EQ(app.log,
              (std::vector<std::string>{"change 2", "view 2 UI", "change 2", "view 2 UI"}));
    EXPECT_EQ(trace, (std::vector<std::string>{"idx:2 src:UI\n", "idx:2 src:UI\n"}));
    EXPECT_EQ(app.GetParam(2)->Value(), 127.0);
}

TEST_F(ParamFlow, QueuedValuesReachTheControlsInOrderOnTheNextTick)
{
    app.AttachView(&view);
    app.QueueParamForView(1, 10.0, false);
    app.QueueParamForView(1, 64.0, false);
    app.QueueParamForView(0, 0.5, true); // normalized entries are stored as values: 63.5 -> 64
    EXPECT_TRUE(view.received.empty());

    clock.Advance(IPlugAPP::kTimerPeriodMs);
    ASSERT_EQ(view.received.size(), 3u);
    EXPECT_DOUBLE_EQ(view.received[0].value, 10.0 / 127.0);
    EXPECT_DOUBLE_EQ(view.received[1].value, 64.0 / 127.0); // the control ends on the second
    EXPECT_DOUBLE_EQ(view.received[2].value, 64.0 / 127.0);
}

TEST_F(ParamFlow, SixHundredQueuedValuesDeliverTheFirst512)
{
    app.AttachView(&view);
    for (int i = 0; i < 600; ++i)
        app.QueueParamForView(0, i % 128, false);
    clock.Advance(IPlugAPP::kTimerPeriodMs);
    ASSERT_EQ(view.received.size(), 512u);
    EXPECT_DOUBLE_EQ(view.received.back().value, (511 % 128) / 127.0);

    clock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(view.received.size(), 512u); // the rest were dropped, not delayed
}

TEST_F(ParamFlow, AnnouncingAllParamsGivesEachParameterOnceWithTheSource)
{
    app.AnnounceAllParams(ParamSource::kReset);
    EXPECT_EQ(app.log,
              (std::vector<std::string>{"change 0", "view 0 Reset", "change 1", "view 1 Reset",
                                        "change 2", "view 2 Reset", "change 3", "view 3 Reset"}));
}

TEST_F(ParamFlow, SerializedParamsReadBackAndAnnounceAsPreset)
{
    app.GetParam(0)->Set(5);
    app.GetParam(3)->Set(127);
    std::vector<std::uint8_t> chunk{0xEE}; // something before the parameters
    ASSERT_TRUE(app.SerializeParams(chunk));
    ASSERT_EQ(chunk.size(), 1u + 4 * 8);

    RecordingApp other;
    EXPECT_EQ(other.UnserializeParams(chunk, 1), 33);
    EXPECT_EQ(other.GetParam(0)->Value(), 5.0);
    EXPECT_EQ(other.GetParam(3)->Value(), 127.0);
    EXPECT_EQ(other.log.back(), "view 3 Preset");
}

TEST_F(ParamFlow, AChunkCutShortEndsReadingAtMinusOne)
{
    app.GetParam(0)->Set(9);
    app.GetParam(1)->Set(9);
    std::vector<std::uint8_t> chunk;
    app.SerializeParams(chunk);
    chunk.resize(8 + 3); // the first value whole, three bytes of the second

    RecordingApp other;
    other.GetParam(1)->Set(50);
    other.GetParam(2)->Set(50);
    EXPECT_EQ(other.UnserializeParams(chunk, 0), -1);
    EXPECT_EQ(other.GetParam(1)->Value(), 0.0);  // cut short: Constrain(0.0)
    EXPECT_EQ(other.GetParam(2)->Value(), 50.0); // not reached
    EXPECT_EQ(other.UnserializeParams(chunk, 4000), -1);
}

TEST(HostIdentity, StandaloneIsRecognisedWithoutRegardToCase)
{
    ManualTimerBackend clock;
    RecordingApp app;
    app.SetHost("Standalone", 0);
    EXPECT_EQ(app.GetHost(), IPluginBase::kHostStandalone);
    app.SetHost("some other program", 1);
    EXPECT_EQ(app.GetHost(), IPluginBase::kHostUnknown);
}
