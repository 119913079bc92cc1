#pragma once

#include "core/MidiRecords.h"
#include "device/AssignmentSlots.h"
#include "device/ParamTable.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

// A stand-in for the box: takes the SysEx the editor sends and returns what the box sends back,
// keeps its own 38 settings, takes firmware transfers, and turns simulated pedal movements and
// switch presses into the MIDI its settings call for (the rules are in BoxMidiRules.h).
//
// Behaviour towards the editor:
// - Status Request: answered with one 50-byte Status Reply (box bytes, firmware version, the 38
//   settings). In Interface Mode every request is answered. In Standalone Mode a request is
//   answered only when no request was answered in the 300 ms before it, so the editor's
//   confirming request, which follows the first reply at once, gets no answer.
// - Single Setting (addresses 00 to 25 but 09, 0A, 1A, 1B) and All Settings: applied, no answer.
//   A value above a setting's largest value stores the largest value.
// - Calibration Request (09, 0A, 1A, 1B with value 00): the named calibration end of that pedal
//   takes the pedal's current position. Reset All Request: the factory settings. No answer.
// - Firmware Start (the start code, page count p from 0 to 16) opens a transfer of p * 16 blocks
//   into an image of p * 1024 bytes FF; each Firmware Block's checksum is verified, its bytes are
//   unpacked into the next 64 bytes of the image. A block whose checksum fails is counted and its
//   64 bytes stay FF; it still takes its place in the order. Once the announced number of blocks
//   has arrived the transfer is closed. While one is open no other message is acted upon or
//   answered; a new Firmware Start begins a new transfer.
// - Anything else is ignored and counted: a message that is not framed F0 ... F7 with data bytes
//   between, or that is the box's but has the wrong length or fixed bytes, is malformed; one of
//   another maker, another model or an unknown command or address is foreign; a Firmware Block
//   without an open transfer, or a configuration message during one, is out of sequence.
// The box's mode changes nothing else: Standalone Mode applies settings just as Interface Mode.
//
// Factory settings (set at construction and by Reset All): both jacks "Pedal", polarity "Tip";
// pedal 1 channel 1, "Control", controller 11 (expression), output 0 to 127; pedal 2 channel 1,
// "Control", controller 7 (volume), output 0 to 127; calibration 0 and 127 on both pedals; every
// switch channel 1, "Momentary", "Control", with controllers 80 (A1), 81 (B1), 82 (A2), 83 (B2);
// special-control bounds 0 and 127 on both jacks.
//
// Time is given by the caller as milliseconds of a monotonic clock (a time before the last
// answered request counts as within its 300 ms); the box reads no clock and starts no thread.
// Not thread-safe: use one box from one thread at a time. It allocates, so it must not be called
// from the pump thread.
class VirtualStomplet
{
public:
    // One whole message as it goes on the wire: a SysEx from F0 to F7, or a short MIDI message of
    // the length its status byte gives.
    using WireMessage = std::vector<std::uint8_t>;
    using Settings = std::array<std::uint8_t, kNumParams>;

    enum class Jack
    {
        k1 = 1,
        k2 = 2,
    };
    enum class FootSwitch
    {
        kA,
        kB,
    };

    struct Counts
    {
        std::uint32_t statusReplies = 0;      // Status Replies sent
        std::uint32_t unansweredRequests = 0; // Status Requests left unanswered (Standalone Mode)
        std::uint32_t settingsApplied = 0;    // Single Settings and All Settings taken
        std::uint32_t resets = 0;
        std::uint32_t calibrations = 0;
        std::uint32_t malformed = 0;
        std::uint32_t foreign = 0;
        std::uint32_t outOfSequence = 0;
    };

    struct FirmwareTransfer
    {
        bool open = false;               // blocks are still expected
        int pages = 0;                   // as announced by the Firmware Start
        int blocksExpected = 0;          // pages * 16
        int blocksReceived = 0;          // blocks taken, failed ones included
        int checksumFailures = 0;        // blocks whose checksum did not match
        std::vector<std::uint8_t> image; // pages * 1024 bytes, assembled in block order
    };

    static constexpr std::int64_t kStandaloneRepeatWindowMs = 300;
    static constexpr std::uint8_t kDefaultFirmwareVersion = 0x0C; // version 1.2
    static constexpr std::array<std::uint8_t, 4> kDefaultBoxData{0x01, 0x00, 0x04, 0x02};

    VirtualStomplet();

    // The factory settings listed above.
    static Settings FactorySettings();

    void SetStandalone(bool standalone) { mStandalone = standalone; }
    bool Standalone() const { return mStandalone; }
    // False, and nothing changed, for a byte above 0x7F.
    bool SetFirmwareVersion(std::uint8_t version);
    bool SetBoxData(const std::array<std::uint8_t, 4>& boxData);
    std::uint8_t FirmwareVersion() const { return mFirmwareVersion; }
    const std::array<std::uint8_t, 4>& BoxData() const { return mBoxData; }

    // One whole incoming SysEx message received at `nowMs`; returns what the box sends in answer
    // (nothing or one Status Reply).
    std::vector<WireMessage> ReceiveSysEx(std::span<const std::uint8_t> bytes, std::int64_t nowMs);

    // Moves a pedal to `position` (0 heel to 127 toe; outside values are clamped); returns the
    // message the pedal sends, if its jack is in "Pedal" mode and the message differs from the
    // last one that pedal sent since the settings last changed.
    std::vector<WireMessage> SetPedalPosition(Jack jack, int position);
    // A switch goes down or up; returns what it sends. Nothing while its jack is in "Pedal" mode;
    // a press of a switch already down, or a release of one already up, changes nothing.
    std::vector<WireMessage> PressSwitch(Jack jack, FootSwitch footSwitch);
    std::vector<WireMessage> ReleaseSwitch(Jack jack, FootSwitch footSwitch);

    const Settings& CurrentSettings() const { return mSettings; }
    int PedalPosition(Jack jack) const { return mPedalPosition[JackIndex(jack)]; }
    // True while the switch is "on" (held for Momentary, latched for Latching).
    bool SwitchOn(Jack jack, FootSwitch footSwitch) const;
    const Counts& GetCounts() const { return mCounts; }
    // The current or last firmware transfer.
    const FirmwareTransfer& Firmware() const { return mFirmware; }

private:
    static std::size_t JackIndex(Jack jack) { return jack == Jack::k1 ? 0 : 1; }
    static int SwitchSlot(Jack jack, FootSwitch footSwitch);

    std::vector<WireMessage> ReceiveConfiguration(std::span<const std::uint8_t> bytes,
                                                  std::int64_t nowMs);
    std::vector<WireMessage> ReceiveFirmware(std::span<const std::uint8_t> bytes);
    std::vector<WireMessage> AnswerStatusRequest(std::int64_t nowMs);
    void WriteSetting(int paramIdx, std::uint8_t value);
    void Calibrate(int paramIdx);
    void ResetAll();
    void SettingsChanged();
    std::vector<WireMessage> SwitchTurned(int slot, bool on);
    int Setting(int paramIdx) const { return mSettings[static_cast<std::size_t>(paramIdx)]; }

    Settings mSettings;
    bool mStandalone = false;
    std::uint8_t mFirmwareVersion = kDefaultFirmwareVersion;
    std::array<std::uint8_t, 4> mBoxData = kDefaultBoxData;
    std::optional<std::int64_t> mLastAnsweredRequestMs;

    std::array<int, 2> mPedalPosition{};                     // by jack 1, 2
    std::array<std::optional<MidiMessage>, 2> mLastPedalMsg; // by jack 1, 2
    std::array<bool, kNumAssignmentSlots> mSwitchDown{};     // switch slots only
    std::array<bool, kNumAssignmentSlots> mSwitchOn{};       // switch slots only

    FirmwareTransfer mFirmware;
    Counts mCounts;
};
