#include "app/MidiRouter.h"

#include "core/ManualTimerBackend.h"
#include "midi/InProcessMidi.h"
#include "support/RecordingApp.h"

#include <gtest/gtest.h>

namespace
{
using Bytes = std::vector<std::uint8_t>;

// ALSA-style names as RtMidi reports them: client name, port name, client:port numbers.
const std::string kBox = "Korvo-Audio ctrlWave Stomplet:Korvo-Audio ctrlWave Stomplet MIDI 1 24:0";
const std::string kKeys = "Keys:Keys MIDI 1 20:0";

class MidiRouting : public ::testing::Test
{
protected:
    MidiRouting()
    {
        mBus.PlugInputPort(kKeys);
        mBus.PlugInputPort(kBox);
        mBus.PlugOutputPort(kBox, [this](const std::uint8_t* b, std::size_t n)
                            { mSentToBox.emplace_back(b, b + n); });
    }

    // The shell's start-up: objects, first probe, then the stored names.
    void StartUp(MidiPortFactory& system, const std::string& input, const std::string& output)
    {
        mSettings.midiInputPort = input;
        mSettings.midiOutputPort = output;
        ASSERT_TRUE(mRouter.CreateMidiPorts(system));
        EXPECT_TRUE(mRouter.RefreshPortLists());
        EXPECT_TRUE(mRouter.SelectMidiPort(MidiRoute::kInput, mSettings.midiInputPort));
        EXPECT_TRUE(mRouter.SelectMidiPort(MidiRoute::kOutput, mSettings.midiOutputPort));
    }

    void Feed(const Bytes& bytes) { mBus.FeedInputPort(kBox, bytes.data(), bytes.size()); }

    ManualTimerBackend mClock; // first: the application's 20 ms timer runs on it
    AppSettings mSettings;
    RecordingApp mApp;
    InProcessMidi mBus;
    std::vector<Bytes> mSentToBox;
    std::vector<std::string> mDiagnostics;
    MidiRouter mRouter{mApp, mSettings,
                       [this](std::string_view line) { mDiagnostics.emplace_back(line); }};
};

// The bus with port notices the test gives by hand, and a count of the port objects made; or,
// while unreachable, a MIDI system whose port objects cannot be made.
class AnnouncingMidiSystem final : public MidiPortFactory
{
public:
    explicit AnnouncingMidiSystem(InProcessMidi& bus) : mBus(bus) {}
    MidiPortCreation<MidiInputPort> CreateInput() override
    {
        if (unreachable)
            return {nullptr, "ALSA sequencer unavailable"};
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
    bool unreachable = false;

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
    StartUp(system, kBox, kBox);
    mClock.Advance(IPlugAPP::kTimerPeriodMs); // takes the notice pending since creation
    mBus.PlugInputPort("Pads 40:0");
    mClock.Advance(5 * IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(mRouter.PortNameList(MidiRoute::kInput).size(), 3u);
    system.next = MidiPortNotice::kPortsChanged;
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(mRouter.PortNameList(MidiRoute::kInput).back(), "Pads 40:0");

    system.next = MidiPortNotice::kSystemStopped;
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(mApp.outputPortSelections, std::vector<std::string>{"off"});
    // Gone, although the bus still lists them: a stopped system's objects are not asked.
    EXPECT_EQ(mRouter.PortNameList(MidiRoute::kOutput), std::vector<std::string>{"off"});
    system.next = MidiPortNotice::kSystemAbsent;
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(mDiagnostics.size(), 1u) << "told once that it stopped, not again while away";

    system.next = MidiPortNotice::kSystemStarted; // back with the server, with no choice made
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_EQ(system.mInputsMade, 3);
    EXPECT_EQ(mBus.InputConnections(kBox), 1);
    EXPECT_EQ(mApp.outputPortSelections, (std::vector<std::string>{"off", kBox}));
}

TEST_F(MidiRouting, StoredNamesFindRenumberedPortsAndAnUnpluggedPortIsOffAndReopensByName)
{
    // Stored with old ALSA client:port numbers.
    StartUp(mBus, "Korvo-Audio ctrlWave Stomplet:Korvo-Audio ctrlWave Stomplet MIDI 1 28:0", kBox);
    EXPECT_EQ(mRouter.PortNameList(MidiRoute::kInput),
              (std::vector<std::string>{"off", kKeys, kBox}));
    EXPECT_EQ(mSettings.midiInputPort, kBox); // the setting follows the port's present name
    mBus.UnplugInputPort(kKeys); // the box's index moves from 1 to 0: it stays connected
    EXPECT_TRUE(mRouter.RefreshPortLists());
    EXPECT_EQ(mBus.InputConnections(kBox), 1);

    mBus.UnplugInputPort(kBox);
    mBus.UnplugOutputPort(kBox);
    mClock.Advance(IPlugAPP::kTimerPeriodMs);
    EXPECT_FALSE(mRouter.OpenPortName(MidiRoute::kInput));
    EXPECT_EQ(mApp.outputPortSelections, std::vector<std::string>{"off"});
    EXPECT_EQ(mSettings.midiOutputPort, kBox); // the names stay for the file

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
    AnnouncingMidiSystem broken(mBus);
    broken.unreachable = true;
    EXPECT_FALSE(mRouter.CreateMidiPorts(broken));
    EXPECT_EQ(mDiagnostics, std::vector<std::string>{
                                "no MIDI: the MIDI system cannot be reached; MIDI stays off"});
    EXPECT_FALSE(mApp.SendMidiMessage({0, 0xB0, 0x07, 0x64}));
}

// How the pump treats what arrives (lengths, the 512-byte limit, queue sizes) is the
// application's and tested with it; here: what the ports hand on.
TEST_F(MidiRouting, MessagesPassWholeEachWayUntilExitingOrReleaseAndClockIsIgnored)
{
    StartUp(mBus, kBox, kBox);
    const Bytes single = {0xF0, 0x00, 0x3F, 0x5A, 0x04, 0x02, 0x17, 0x40, 0xF7};
    EXPECT_TRUE(mApp.SendSysExMessage({0, 9, single.data()}));
    EXPECT_TRUE(mApp.SendMidiMessage({0, 0xC0, 0x05, 0x00}));
    EXPECT_EQ(mSentToBox, (std::vector<Bytes>{single, {0xC0, 0x05}}));

    for (const Bytes& bytes : std::vector<Bytes>{{0xB0, 0x07, 0x64}, {0xFE}, {0xF8}, {}, single})
        Feed(bytes);
    mApp.Pump();
    EXPECT_EQ(mApp.Midi(), (std::vector<MidiMessage>{{0, 0xB0, 0x07, 0x64}, {0, 0xFE, 0, 0}}));
    EXPECT_EQ(mApp.handledSysEx, std::vector<Bytes>{single});

    // Off: a send then succeeds and goes nowhere.
    ASSERT_TRUE(mRouter.SelectMidiPort(MidiRoute::kOutput, mSettings.midiOutputPort = "off"));
    EXPECT_TRUE(mApp.SendMidiMessage({0, 0x90, 0x3C, 0x64}));
    EXPECT_EQ(mSentToBox.size(), 2u);
    mRouter.SetExiting();
    Feed({0xB0, 0x07, 0x64});
    mApp.Pump();
    EXPECT_EQ(mApp.Midi().size(), 2u);
    mRouter.ReleasePorts();
    EXPECT_EQ(mBus.InputConnections(kBox), 0);
    EXPECT_FALSE(mApp.SendMidiMessage({0, 0x90, 0x3C, 0x64}));
}
