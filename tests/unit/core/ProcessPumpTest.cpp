#include "core/ManualTimerBackend.h"
#include "support/EditorBench.h"
#include "support/RecordingApp.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <iterator>

namespace
{
class Pump : public ::testing::Test
{
protected:
    void Enqueue(std::vector<std::uint8_t> bytes)
    {
        app.EnqueueMidiFromPort(bytes.data(), bytes.size());
    }
    static std::vector<std::uint8_t> SysEx(std::size_t size)
    {
        std::vector<std::uint8_t> bytes(size, 0x01);
        bytes.front() = 0xF0;
        bytes.back() = 0xF7;
        return bytes;
    }

    ManualTimerBackend clock;
    RecordingApp app;
    FakeView view;
    editor_bench::RecordingPort host;
};
} // namespace

TEST_F(Pump, SysExUpTo512BytesArrivesWholeAndLongerIsDropped)
{
    Enqueue(SysEx(512));
    Enqueue(SysEx(513));
    Enqueue({0xF0, 0x7E, 0x00, 0xF7}); // four bytes or more count as SysEx
    app.Pump();

    ASSERT_EQ(app.handledSysEx.size(), 2u);
    EXPECT_EQ(app.handledSysEx[0], SysEx(512));
    EXPECT_EQ(app.handledSysEx[1].size(), 4u);
    EXPECT_EQ(app.DropCounts().fromPortSysEx.load(), 1u);
}

TEST_F(Pump, ABurstOfSysExBetweenTwoTicksReachesTheViewSideWholeAndInOrder)
{
    // Mended: a fifth SysEx between two ticks pushed the box's reply out of the hand-over.
    app.AttachView(&view);
    constexpr std::size_t kBurst = SysExToViewQueue::kCapacity + SysExFromPortQueue::kCapacity;
    for (std::size_t i = 0; i < kBurst; ++i)
    {
        Enqueue(SysEx(10 + i)); // the last one stands for the box's reply
        app.Pump();
    }
    Enqueue(SysEx(9)); // no room left anywhere: dropped and counted
    EXPECT_EQ(app.DropCounts().fromPortSysEx.load(), 1u);

    // The main thread's tick makes room; what waited in the input ring follows on the next one.
    clock.Advance(IPlugAPP::kTimerPeriodMs);
    app.Pump();
    clock.Advance(IPlugAPP::kTimerPeriodMs);
    std::vector<std::string> viewed;
    std::copy_if(app.log.begin(), app.log.end(), std::back_inserter(viewed),
                 [](const std::string& line) { return line.rfind("sysex-view", 0) == 0; });
    ASSERT_EQ(viewed.size(), kBurst);
    for (std::size_t i = 0; i < kBurst; ++i)
        EXPECT_EQ(viewed[i], "sysex-view " + std::to_string(10 + i));
    EXPECT_EQ(app.handledSysEx.size(), kBurst); // each handled once, on its way to the view
}

TEST_F(Pump, ShortMessagesZeroFilledThenSysExThenAudioAndAllHandOnToTheMainThreadTick)
{
    Enqueue(SysEx(9));
    Enqueue({0xB0, 0x0B, 0x40}); // control change
    Enqueue({0xC2, 0x05});       // program change
    Enqueue({0xFE});             // active sensing
    Enqueue({});                 // empty: ignored
    app.Pump();
    EXPECT_EQ(app.log, (std::vector<std::string>{"midi 176", "midi 194", "midi 254", "sysex 9",
                                                 "audio 64"}));
    ASSERT_EQ(app.handledMidi.size(), 3u);
    EXPECT_EQ(app.handledMidi[0], (MidiMessage{0, 0xB0, 0x0B, 0x40}));
    EXPECT_EQ(app.handledMidi[1], (MidiMessage{0, 0xC2, 0x05, 0x00}));
    EXPECT_EQ(app.handledMidi[2], (MidiMessage{0, 0xFE, 0x00, 0x00}));

    app.log.clear();
    app.AttachView(&view);
    app.QueueParamForView(1, 3, false);
    clock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(app.log,
              (std::vector<std::string>{"view 1 Editor Delegate", "midi-view 176", "midi-view 194",
                                        "midi-view 254", "sysex-view 9", "idle"}));
    EXPECT_EQ(view.midi.size(), 3u);
}

TEST_F(Pump, TheViewSideMidiRingDropsBeyond32BetweenTicks)
{
    for (int burst = 0; burst < 2; ++burst)
    {
        for (int i = 0; i < 20; ++i)
            Enqueue({0xB0, 1, static_cast<std::uint8_t>(i)});
        app.Pump();
    }
    EXPECT_EQ(app.handledMidi.size(), 40u); // the pump handles all
    clock.Advance(IPlugAPP::kTimerPeriodMs);
    const auto viewed =
        std::count_if(app.log.begin(), app.log.end(),
                      [](const std::string& line) { return line == "midi-view 176"; });
    EXPECT_EQ(viewed, 32);
    EXPECT_EQ(app.DropCounts().toViewMidi.load(), 8u);
}

TEST_F(Pump, ShortMessagesGoOutWithTheirRealLengthAndSysExWhole)
{
    EXPECT_FALSE(app.SendMidiMessage({0, 0xC0, 5, 0})); // no host yet
    app.SetHostLink(&host);
    EXPECT_TRUE(app.SendMidiMessage({0, 0xC0, 5, 0}));
    EXPECT_TRUE(app.SendMidiMessage({0, 0xFA, 0, 0}));
    const std::vector<std::uint8_t> request{0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x71, 0x00, 0xF7};
    EXPECT_TRUE(
        app.SendSysExMessage({0, static_cast<std::int32_t>(request.size()), request.data()}));
    EXPECT_FALSE(app.SendSysExMessage({0, 0, request.data()})); // empty: refused
    EXPECT_EQ(host.sent, (std::vector<std::vector<std::uint8_t>>{{0xC0, 5}, {0xFA}, request}));
}

TEST_F(Pump, EachApplicationTickChecksThePortsAfterTheIdleTick)
{
    app.SetHostLink(&host);
    clock.Advance(3 * IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(host.probes, 3);
    EXPECT_EQ(std::count(app.log.begin(), app.log.end(), "idle"), 3);
}
