#include "app/MidiRouter.h"
#include "app/PumpThread.h"
#include "midi/InProcessMidi.h"
#include "support/RecordingApp.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>
#include <thread>

using testfiles::TempFolder;

namespace
{
const std::string kBox = "Stomplet 24:0";

// The host's pieces with the pump thread as the only driver.
class PumpThreadRun : public ::testing::Test
{
protected:
    PumpThreadRun()
    {
        mBus.PlugInputPort(kBox);
        mSettings.midiInputPort = kBox;
        EXPECT_TRUE(mRouter.CreateMidiPorts(mBus));
        mRouter.RefreshPortLists();
        mRouter.SelectMidiPort(MidiRoute::kInput, mSettings.midiInputPort);
    }

    // Feeds from a thread of its own, as the MIDI library's input thread does.
    void FeedFromInputThread(std::vector<std::uint8_t> bytes, int times)
    {
        std::thread input(
            [&, bytes, times]
            {
                for (int i = 0; i < times; ++i)
                    mBus.FeedInputPort(kBox, bytes.data(), bytes.size());
            });
        input.join();
    }

    TempFolder mFolder;
    AppSettings mSettings;
    RecordingApp mApp;
    InProcessMidi mBus;
    MidiRouter mRouter{mApp, mSettings};
    PumpDriverSlot mSlot;
    PumpThread mPump{mApp, mSlot};
};
} // namespace

TEST_F(PumpThreadRun, MidiReachesTheAppThroughThePumpThreadAndAfterStopTheNextDriverTakesOver)
{
    ASSERT_TRUE(mSlot.TryAcquire(PumpDriver::kAudioStream)); // the pump has one driver at a time
    EXPECT_FALSE(mPump.Start());
    mSlot.Release(PumpDriver::kAudioStream);
    ASSERT_TRUE(mPump.Start());
    EXPECT_FALSE(mPump.Start()); // already running
    EXPECT_FALSE(mSlot.TryAcquire(PumpDriver::kAudioStream));
    EXPECT_EQ(mApp.GetBlockSize(), 64);
    EXPECT_EQ(mApp.GetSampleRate(), 44100.0);

    FeedFromInputThread({0xB0, 0x07, 0x64}, 3);
    ASSERT_TRUE(mApp.WaitForMidi(3));
    mPump.Stop();
    mPump.Stop(); // idempotent
    EXPECT_FALSE(mPump.Running());
    EXPECT_EQ(mSlot.Holder(), PumpDriver::kNone);
    EXPECT_EQ(mApp.Midi(), (std::vector<MidiMessage>(3, {0, 0xB0, 0x07, 0x64})));

    // No step runs after Stop; the audio stream takes over as the single consumer and finds
    // what arrived meanwhile.
    const std::uint64_t steps = mPump.StepCount();
    FeedFromInputThread({0x80, 0x3C, 0x00}, 1);
    EXPECT_EQ(mPump.StepCount(), steps);
    EXPECT_EQ(mApp.Midi().size(), 3u);
    ASSERT_TRUE(mSlot.TryAcquire(PumpDriver::kAudioStream));
    mApp.Pump();
    EXPECT_EQ(mApp.Midi().back(), (MidiMessage{0, 0x80, 0x3C, 0x00}));
}
