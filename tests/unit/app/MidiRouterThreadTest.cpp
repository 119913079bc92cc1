#include "app/MidiRouter.h"
#include "app/PumpThread.h"
#include "midi/InProcessMidi.h"
#include "support/RecordingApp.h"

#include <atomic>
#include <gtest/gtest.h>
#include <thread>

namespace
{
using Bytes = std::vector<std::uint8_t>;
const std::string kBox = "Box 24:0";

// A 64-byte SysEx: a torn message shows as other bytes.
const Bytes kSysEx = []
{
    Bytes bytes(64, 0x2A);
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}();
const std::uint8_t kControlChange[] = {0xB0, 0x07, 0x64};

// The host's pieces with the MIDI library's threads and the pump thread around them.
class HostThreads : public ::testing::Test
{
protected:
    HostThreads()
    {
        mBus.PlugInputPort(kBox);
        EXPECT_TRUE(mRouter.CreateMidiPorts(mBus));
        mRouter.RefreshPortLists();
    }

    void Listen(const std::string& name)
    {
        mBus.PlugOutputPort(name, [this](const std::uint8_t* bytes, std::size_t size)
                            { mFaults += Bytes(bytes, bytes + size) != kSysEx; });
    }

    AppSettings mSettings;
    RecordingApp mApp;
    InProcessMidi mBus;
    MidiRouter mRouter{mApp, mSettings};
    std::atomic<int> mFaults{0};
};
} // namespace

// The pump side sends and the MIDI library's thread feeds input while the main thread switches
// both ports; after release nothing is delivered.
TEST_F(HostThreads, MessagesStayWholeWhileTheMainThreadSwitchesPortsAndNoneArriveAfterRelease)
{
    Listen("A 20:0");
    Listen("B 21:0");
    mRouter.RefreshPortLists();

    constexpr int kSends = 3000;
    std::atomic<int> refused{0};
    std::thread sender(
        [&]
        {
            for (int i = 0; i < kSends; ++i)
                refused += !mApp.SendSysExMessage({0, 64, kSysEx.data()});
        });
    std::atomic<bool> stop{false};
    std::thread input(
        [&]
        {
            while (!stop.load())
                mBus.FeedInputPort(kBox, kControlChange, 3);
        });

    for (int round = 0; round < 300; ++round)
    {
        mSettings.midiOutputPort = round % 3 == 0 ? "A 20:0" : round % 3 == 1 ? "B 21:0" : "off";
        mRouter.SelectMidiPort(MidiRoute::kOutput, mSettings.midiOutputPort);
        mSettings.midiInputPort = round % 2 == 0 ? kBox : "off";
        mRouter.SelectMidiPort(MidiRoute::kInput, mSettings.midiInputPort);
        if (round % 10 == 0)
            Listen("C " + std::to_string(round) + ":0");
        mRouter.RefreshPortLists();
        mApp.Pump();
    }
    sender.join();
    mRouter.ReleasePorts(); // while the input thread still feeds
    mApp.Pump();
    const std::size_t handled = mApp.Midi().size();
    EXPECT_EQ(mBus.FeedInputPort(kBox, kControlChange, 3), 0);
    stop.store(true);
    input.join();

    EXPECT_EQ(refused.load(), 0);
    mApp.Pump();
    EXPECT_EQ(mApp.Midi().size(), handled);
    for (const MidiMessage& msg : mApp.Midi())
        EXPECT_EQ(msg, (MidiMessage{0, 0xB0, 0x07, 0x64}));
    EXPECT_EQ(mFaults.load(), 0);
}

TEST_F(HostThreads, MidiReachesTheAppThroughThePumpThreadAndAfterStopTheNextDriverTakesOver)
{
    mSettings.midiInputPort = kBox;
    mRouter.SelectMidiPort(MidiRoute::kInput, kBox);
    PumpDriverSlot slot;
    PumpThread pump{mApp, slot};
    ASSERT_TRUE(slot.TryAcquire(PumpDriver::kAudioStream)); // the pump has one driver at a time
    EXPECT_FALSE(pump.Start());
    slot.Release(PumpDriver::kAudioStream);
    ASSERT_TRUE(pump.Start());
    EXPECT_FALSE(pump.Start()); // already running
    EXPECT_FALSE(slot.TryAcquire(PumpDriver::kAudioStream));

    // Fed from this thread while the pump thread reads, as the MIDI library's thread does.
    for (int i = 0; i < 3; ++i)
        mBus.FeedInputPort(kBox, kControlChange, 3);
    ASSERT_TRUE(mApp.WaitForMidi(3));
    pump.Stop();
    pump.Stop(); // idempotent
    EXPECT_EQ(mApp.Midi(), (std::vector<MidiMessage>(3, {0, 0xB0, 0x07, 0x64})));

    // No step runs after Stop; the audio stream takes over as the single consumer and finds
    // what arrived meanwhile.
    const std::uint64_t steps = pump.StepCount();
    const std::uint8_t noteOff[] = {0x80, 0x3C, 0x00};
    mBus.FeedInputPort(kBox, noteOff, 3);
    EXPECT_EQ(pump.StepCount(), steps);
    ASSERT_TRUE(slot.TryAcquire(PumpDriver::kAudioStream));
    mApp.Pump();
    EXPECT_EQ(mApp.Midi().back(), (MidiMessage{0, 0x80, 0x3C, 0x00}));
}
