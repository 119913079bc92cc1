#include "app/MidiRouter.h"
#include "midi/InProcessMidi.h"
#include "support/RecordingApp.h"
#include "support/TempFolder.h"

#include <atomic>
#include <gtest/gtest.h>
#include <mutex>
#include <thread>

using testfiles::TempFolder;

namespace
{
using Bytes = std::vector<std::uint8_t>;

// A 64-byte SysEx whose body repeats its sequence byte, so a torn or mixed message shows.
Bytes Pattern(std::uint8_t sequence)
{
    Bytes bytes(64, static_cast<std::uint8_t>(sequence & 0x7F));
    bytes.front() = 0xF0;
    bytes.back() = 0xF7;
    return bytes;
}

bool IsPattern(const std::uint8_t* bytes, std::size_t size)
{
    if (size != 64 || bytes[0] != 0xF0 || bytes[63] != 0xF7)
        return false;
    for (std::size_t i = 2; i < 63; ++i)
    {
        if (bytes[i] != bytes[1])
            return false;
    }
    return true;
}

class PortsAcrossThreads : public ::testing::Test
{
protected:
    void Listen(const std::string& name)
    {
        mBus.PlugOutputPort(name,
                            [this](const std::uint8_t* bytes, std::size_t size)
                            {
                                std::lock_guard lock(mMutex);
                                ++mReceived;
                                if (!IsPattern(bytes, size))
                                    ++mFaults;
                            });
    }

    TempFolder mFolder;
    AppSettings mSettings;
    RecordingApp mApp;
    InProcessMidi mBus;
    MidiRouter mRouter{mApp, mSettings};
    std::mutex mMutex;
    int mReceived = 0;
    int mFaults = 0;
};
} // namespace

// The pump side sends and the MIDI library's thread feeds input while the main thread switches
// both ports; after release nothing is delivered.
TEST_F(PortsAcrossThreads,
       MessagesStayWholeWhileTheMainThreadSwitchesPortsAndNoneArriveAfterRelease)
{
    Listen("A 20:0");
    Listen("B 21:0");
    mBus.PlugInputPort("Box 24:0");
    ASSERT_TRUE(mRouter.CreateMidiPorts(mBus));
    mRouter.RefreshPortLists();

    constexpr int kSends = 3000;
    std::atomic<int> refused{0};
    std::thread sender(
        [&]
        {
            for (int i = 0; i < kSends; ++i)
            {
                const Bytes bytes = Pattern(static_cast<std::uint8_t>(i));
                if (!mApp.SendSysExMessage({0, 64, bytes.data()}))
                    refused.fetch_add(1);
            }
        });
    std::atomic<bool> stop{false};
    std::atomic<bool> released{false};
    std::atomic<int> feedsAfterRelease{0};
    std::atomic<int> deliveriesAfterRelease{0};
    std::thread input(
        [&]
        {
            const std::uint8_t controlChange[] = {0xB0, 0x07, 0x64};
            while (!stop.load())
            {
                const bool after = released.load();
                const int reached = mBus.FeedInputPort("Box 24:0", controlChange, 3);
                if (after)
                {
                    feedsAfterRelease.fetch_add(1);
                    deliveriesAfterRelease.fetch_add(reached);
                }
            }
        });

    for (int round = 0; round < 300; ++round)
    {
        mSettings.midiOutputPort = round % 3 == 0 ? "A 20:0" : round % 3 == 1 ? "B 21:0" : "off";
        mRouter.SelectMidiPort(MidiRoute::kOutput, mSettings.midiOutputPort);
        mSettings.midiInputPort = round % 2 == 0 ? "Box 24:0" : "off";
        mRouter.SelectMidiPort(MidiRoute::kInput, mSettings.midiInputPort);
        if (round % 10 == 0)
            Listen("C " + std::to_string(round) + ":0");
        mRouter.RefreshPortLists();
        mApp.Pump();
    }
    sender.join();
    mRouter.ReleasePorts();
    released.store(true);
    mApp.Pump();
    const std::size_t handled = mApp.Midi().size();
    while (feedsAfterRelease.load() < 100)
        std::this_thread::yield();
    stop.store(true);
    input.join();

    EXPECT_EQ(refused.load(), 0);
    EXPECT_EQ(deliveriesAfterRelease.load(), 0);
    mApp.Pump();
    EXPECT_EQ(mApp.Midi().size(), handled);
    for (const MidiMessage& msg : mApp.Midi())
        EXPECT_EQ(msg, (MidiMessage{0, 0xB0, 0x07, 0x64}));
    std::lock_guard lock(mMutex);
    EXPECT_EQ(mFaults, 0);
    EXPECT_LE(mReceived, kSends);
}
