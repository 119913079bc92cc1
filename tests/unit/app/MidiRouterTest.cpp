#include "app/MidiRouter.h"

#include "core/ManualTimerBackend.h"
#include "midi/InProcessMidi.h"
#include "support/RecordingApp.h"
#include "support/TempFolder.h"

#include <gtest/gtest.h>

using testfiles::ReadBytes;
using testfiles::TempFolder;

namespace fs = std::filesystem;

namespace
{
using Bytes = std::vector<std::uint8_t>;

// ALSA-style names as RtMidi reports them: client name, port name, client:port numbers.
const std::string kBoxIn =
    "Korvo-Audio ctrlWave Stomplet:Korvo-Audio ctrlWave Stomplet MIDI 1 24:0";
const std::string kBoxOut = kBoxIn;
const std::string kKeys = "Keys:Keys MIDI 1 20:0";

class MidiRouting : public ::testing::Test
{
protected:
    MidiRouting()
    {
        mBus.PlugInputPort(kKeys);
        mBus.PlugInputPort(kBoxIn);
        mBus.PlugOutputPort(kKeys, [this](const std::uint8_t* b, std::size_t n)
                            { mSentToKeys.emplace_back(b, b + n); });
        mBus.PlugOutputPort(kBoxOut, [this](const std::uint8_t* b, std::size_t n)
                            { mSentToBox.emplace_back(b, b + n); });
    }

    // The shell's start-up: objects, first probe, then the stored names.
    void StartUp()
    {
        ASSERT_TRUE(mRouter.CreateMidiPorts(mBus));
        EXPECT_TRUE(mRouter.RefreshPortLists());
        EXPECT_TRUE(mRouter.SelectMidiPort(MidiRoute::kInput, mSettings.midiInputPort));
        EXPECT_TRUE(mRouter.SelectMidiPort(MidiRoute::kOutput, mSettings.midiOutputPort));
    }

    void Feed(const std::string& port, const Bytes& bytes)
    {
        mBus.FeedInputPort(port, bytes.data(), bytes.size());
    }

    ManualTimerBackend mClock; // first: the application's 20 ms timer runs on it
    TempFolder mFolder;
    AppSettings mSettings;
    RecordingApp mApp;
    InProcessMidi mBus;
    std::vector<Bytes> mSentToBox;
    std::vector<Bytes> mSentToKeys;
    std::vector<std::string> mDiagnostics;
    MidiRouter mRouter{mApp, mSettings,
                       [this](std::string_view line) { mDiagnostics.emplace_back(line); }};
};

// A MIDI system whose port objects cannot be made.
class BrokenMidiSystem final : public MidiPortFactory
{
public:
    MidiPortCreation<MidiInputPort> CreateInput() override
    {
        return {nullptr, "ALSA sequencer unavailable"};
    }
    MidiPortCreation<MidiOutputPort> CreateOutput() override
    {
        return {nullptr, "ALSA sequencer unavailable"};
    }
};
// The bus with port notices the test gives by hand, and a count of the port objects made.
class AnnouncingMidiSystem final : public MidiPortFactory
{
public:
    explicit AnnouncingMidiSystem(InProcessMidi& bus) : mBus(bus) {}
    MidiPortCreation<MidiInputPort> CreateInput() override
    {
        ++mInputsMade;
        return mBus.CreateInput();
    }
    MidiPortCreation<MidiOutputPort> CreateOutput() override { return mBus.CreateOutput(); }
    std::unique_ptr<MidiPortNotices> CreateNotices() override
    {
        return std::make_unique<Notices>(*this);
    }

    MidiPortNotice next = MidiPortNotice::kPortsChanged; // the first probe after creation reads
    int mInputsMade = 0;

private:
    struct Notices final : MidiPortNotices
    {
        explicit Notices(AnnouncingMidiSystem& system) : owner(system) {}
        MidiPortNotice Take() override { return std::exchange(owner.next, MidiPortNotice::kNone); }
        AnnouncingMidiSystem& owner;
    };
    InProcessMidi& mBus;
};
} // namespace

TEST_F(MidiRouting, WithPortNoticesTheProbeReadsOnlyAfterANoticeAndAStoppedSystemIsRemade)
{
    AnnouncingMidiSystem system(mBus);
    ASSERT_TRUE(mRouter.CreateMidiPorts(system));
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    mSettings.midiInputPort = kBoxIn;
    ASSERT_TRUE(mRouter.SelectMidiPort(MidiRoute::kInput, kBoxIn));
    mSettings.midiOutputPort = kBoxOut;
    ASSERT_TRUE(mRouter.SelectMidiPort(MidiRoute::kOutput, kBoxOut));
    mBus.PlugInputPort("Pads 40:0");
    mClock.Advance(5 * IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(mRouter.PortNameList(MidiRoute::kInput).size(), 3u);
    system.next = MidiPortNotice::kPortsChanged;
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(mRouter.PortNameList(MidiRoute::kInput).back(), "Pads 40:0");

    system.next = MidiPortNotice::kSystemStopped;
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(system.mInputsMade, 2);
    EXPECT_EQ(mBus.OutputConnections(kBoxOut), 0);
    EXPECT_EQ(mSettings.midiInputPort, kBoxIn); // remembered, to be reopened
    EXPECT_EQ(mApp.outputPortSelections, std::vector<std::string>{"off"});
    EXPECT_FALSE(mDiagnostics.empty());
    // Gone, although the bus still lists them: a stopped system's objects are not asked.
    EXPECT_EQ(mRouter.PortNameList(MidiRoute::kOutput), std::vector<std::string>{"off"});
    system.next = MidiPortNotice::kSystemAbsent;
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(mDiagnostics.size(), 1u) << "told once that it stopped, not again while away";

    system.next = MidiPortNotice::kSystemStarted;
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(system.mInputsMade, 3);
    EXPECT_EQ(mRouter.PortNameList(MidiRoute::kOutput).size(), 3u);
    // Back with the server, with no choice made.
    EXPECT_EQ(mBus.OutputConnections(kBoxOut), 1);
    EXPECT_EQ(mBus.InputConnections(kBoxIn), 1);
    EXPECT_EQ(mApp.outputPortSelections, (std::vector<std::string>{"off", kBoxOut}));
}

TEST_F(MidiRouting, ListsStartWithOffAndFollowThePortsAndAStoredNameFindsItsRenumberedPort)
{
    mSettings.midiInputPort = // stored with old ALSA client:port numbers
        "Korvo-Audio ctrlWave Stomplet:Korvo-Audio ctrlWave Stomplet MIDI 1 28:0";
    mSettings.midiOutputPort = kKeys;
    ASSERT_TRUE(mRouter.CreateMidiPorts(mBus));
    EXPECT_TRUE(mRouter.PortNameList(MidiRoute::kInput).empty());
    StartUp();
    EXPECT_EQ(mRouter.PortNameList(MidiRoute::kInput),
              (std::vector<std::string>{"off", kKeys, kBoxIn}));
    EXPECT_EQ(mSettings.midiInputPort, kBoxIn); // the setting follows the port's present name
    EXPECT_FALSE(mRouter.RefreshPortLists());

    mBus.UnplugInputPort(kKeys); // the box's index moves from 1 to 0: it stays connected
    mBus.PlugInputPort("Pads 40:0");
    EXPECT_TRUE(mRouter.RefreshPortLists());
    EXPECT_EQ(mRouter.PortNameList(MidiRoute::kInput).back(), "Pads 40:0");
    EXPECT_EQ(mBus.InputConnections(kBoxIn), 1);
    Feed(kBoxIn, {0xB0, 0x07, 0x64});
    mApp.Pump();
    EXPECT_EQ(mApp.Midi().size(), 1u);

    // Selecting closes the old port; a name that matches no port turns the output off.
    mSettings.midiOutputPort = kBoxOut;
    EXPECT_TRUE(mRouter.SelectMidiPort(MidiRoute::kOutput, kBoxOut));
    EXPECT_EQ(mBus.OutputConnections(kKeys), 0);
    EXPECT_EQ(mRouter.OpenPortName(MidiRoute::kOutput), kBoxOut);
    EXPECT_TRUE(mApp.outputPortSelections.empty());
    mSettings.midiOutputPort = "Gone 99:0";
    EXPECT_TRUE(mRouter.SelectMidiPort(MidiRoute::kOutput, mSettings.midiOutputPort));
    EXPECT_FALSE(mRouter.OpenPortName(MidiRoute::kOutput));
    EXPECT_EQ(mBus.OutputConnections(kBoxOut), 0);
    EXPECT_EQ(mApp.outputPortSelections, std::vector<std::string>{"off"});
}

TEST_F(MidiRouting, UnpluggedPortsAreOffWithinOneTickAndReopenWhenTheyComeBackRenumbered)
{
    mSettings.midiInputPort = kBoxIn;
    mSettings.midiOutputPort = kBoxOut;
    StartUp();
    ASSERT_EQ(mBus.OutputConnections(kBoxOut), 1);

    mBus.UnplugInputPort(kBoxIn);
    EXPECT_TRUE(mRouter.RefreshPortLists());
    EXPECT_FALSE(mRouter.OpenPortName(MidiRoute::kInput));
    EXPECT_TRUE(mApp.outputPortSelections.empty());

    mBus.UnplugOutputPort(kBoxOut);
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_FALSE(mRouter.OpenPortName(MidiRoute::kOutput));
    EXPECT_EQ(mApp.outputPortSelections, std::vector<std::string>{"off"});
    EXPECT_EQ(mSettings.midiOutputPort, kBoxOut); // the names stay for the file

    // Plugged in again, ALSA gives the box another client number.
    const std::string renumbered =
        "Korvo-Audio ctrlWave Stomplet:Korvo-Audio ctrlWave Stomplet MIDI 1 30:0";
    mBus.PlugInputPort(renumbered);
    mBus.PlugOutputPort(renumbered, {});
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(mRouter.OpenPortName(MidiRoute::kInput), renumbered);
    EXPECT_EQ(mBus.OutputConnections(renumbered), 1);
    EXPECT_EQ(mApp.outputPortSelections, (std::vector<std::string>{"off", renumbered}));
}

TEST_F(MidiRouting, APortObjectThatCannotBeMadeIsReportedAndMidiStaysOff)
{
    BrokenMidiSystem broken;
    EXPECT_FALSE(mRouter.CreateMidiPorts(broken));
    EXPECT_EQ(mDiagnostics, std::vector<std::string>{
                                "no MIDI: the MIDI system cannot be reached; MIDI stays off"});
    EXPECT_FALSE(mRouter.HasPortObjects());
    EXPECT_FALSE(mRouter.SelectMidiPort(MidiRoute::kInput, "off"));
    EXPECT_FALSE(mApp.SendMidiMessage({0, 0xB0, 0x07, 0x64}));
}

// How the pump treats what arrives (lengths, the 512-byte limit, queue sizes) is the
// application's and tested with it; here: what the ports hand on.
TEST_F(MidiRouting, MessagesPassWholeEachWayUntilExitingOrReleaseAndClockIsIgnored)
{
    mSettings.midiInputPort = kBoxIn;
    mSettings.midiOutputPort = kBoxOut;
    StartUp();
    const Bytes single = {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x17, 0x40, 0xF7};
    EXPECT_TRUE(mApp.SendSysExMessage({0, 9, single.data()}));
    EXPECT_TRUE(mApp.SendMidiMessage({0, 0xC0, 0x05, 0x00})); // program change: 2 bytes
    EXPECT_EQ(mSentToBox, (std::vector<Bytes>{single, {0xC0, 0x05}}));
    EXPECT_TRUE(mSentToKeys.empty());

    Bytes longest(512, 0x11);
    longest.front() = 0xF0;
    longest.back() = 0xF7;
    for (const Bytes& bytes : std::vector<Bytes>{{0xB0, 0x07, 0x64}, {0xFE}, {0xF8}, {}, longest})
        Feed(kBoxIn, bytes);
    mApp.Pump();
    EXPECT_EQ(mApp.Midi(), (std::vector<MidiMessage>{{0, 0xB0, 0x07, 0x64}, {0, 0xFE, 0, 0}}));
    EXPECT_EQ(mApp.handledSysEx, std::vector<Bytes>{longest});

    mSettings.midiOutputPort = "off"; // a send then succeeds and goes nowhere
    ASSERT_TRUE(mRouter.SelectMidiPort(MidiRoute::kOutput, "off"));
    EXPECT_TRUE(mApp.SendMidiMessage({0, 0x90, 0x3C, 0x64}));
    EXPECT_EQ(mSentToBox.size(), 2u);
    mRouter.SetExiting();
    Feed(kBoxIn, {0xB0, 0x07, 0x64});
    mApp.Pump();
    EXPECT_EQ(mApp.Midi().size(), 2u);
    mRouter.ReleasePorts();
    EXPECT_EQ(mBus.InputConnections(kBoxIn), 0);
    EXPECT_FALSE(mApp.SendMidiMessage({0, 0x90, 0x3C, 0x64}));
}
