#include "sim/VirtualStomplet.h"

#include "device/SeptetPacking.h"
#include "device/SysExMessages.h"
#include "sim/BoxMidiRules.h"

#include <algorithm>
#include <cstddef>
#include <initializer_list>

namespace
{
// The settings of one jack that the pedal and the switches use, by parameter index.
struct JackSettings
{
    int mode;
    int pedalSlot;
    int outMinimum;
    int outMaximum;
    int calibrationLow;
    int calibrationHigh;
    int switchSlotA;
    int switchSlotB;
    int specialLower;
    int specialUpper;
};

constexpr std::array<JackSettings, 2> kJacks{{
    {kJack1Mode, kSlotPedal1, kPedal1OutMinimum, kPedal1OutMaximum, kPedal1CalibrationLow,
     kPedal1CalibrationHigh, kSlotSwitchA1, kSlotSwitchB1, kSwitch1SpecialLower,
     kSwitch1SpecialUpper},
    {kJack2Mode, kSlotPedal2, kPedal2OutMinimum, kPedal2OutMaximum, kPedal2CalibrationLow,
     kPedal2CalibrationHigh, kSlotSwitchA2, kSlotSwitchB2, kSwitch2SpecialLower,
     kSwitch2SpecialUpper},
}};

const AssignmentSlot& Slot(int slot)
{
    return kAssignmentSlots[static_cast<std::size_t>(slot)];
}

const JackSettings& JackOfSlot(int slot)
{
    return kJacks[Slot(slot).jack == 1 ? 0 : 1];
}

bool IsFramed(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 2 || bytes.front() != kSysExStart || bytes.back() != kSysExEnd)
        return false;
    return std::all_of(bytes.begin() + 1, bytes.end() - 1, [](std::uint8_t b) { return b < 0x80; });
}

bool IsOurs(std::span<const std::uint8_t> bytes)
{
    return bytes.size() > kManufacturerId.size() &&
           std::equal(kManufacturerId.begin(), kManufacturerId.end(), bytes.begin() + 1);
}

VirtualStomplet::WireMessage ToWire(const MidiMessage& msg)
{
    const std::uint8_t all[3] = {msg.status, msg.data1, msg.data2};
    return VirtualStomplet::WireMessage(all, all + MidiMessageLength(msg.status));
}
} // namespace

VirtualStomplet::VirtualStomplet() : mSettings(FactorySettings()) {}

VirtualStomplet::Settings VirtualStomplet::FactorySettings()
{
    Settings settings{};
    const auto set = [&settings](int idx, int value)
    { settings[static_cast<std::size_t>(idx)] = static_cast<std::uint8_t>(value); };

    set(kJack2Mode, kJackModePedal);
    set(kJack1Mode, kJackModePedal);
    set(kPedal1Controller, 11);
    set(kPedal2Controller, 7);
    for (const JackSettings& jack : kJacks)
    {
        set(jack.outMinimum, 0);
        set(jack.outMaximum, 127);
        set(jack.calibrationLow, 0);
        set(jack.calibrationHigh, 127);
        set(jack.specialLower, 0);
        set(jack.specialUpper, 127);
    }
    set(kSwitchA1Controller, 80);
    set(kSwitchB1Controller, 81);
    set(kSwitchA2Controller, 82);
    set(kSwitchB2Controller, 83);
    return settings;
}

bool VirtualStomplet::SetFirmwareVersion(std::uint8_t version)
{
    if (version > 0x7F)
        return false;
    mFirmwareVersion = version;
    return true;
}

bool VirtualStomplet::SetBoxData(const std::array<std::uint8_t, 4>& boxData)
{
    if (std::any_of(boxData.begin(), boxData.end(), [](std::uint8_t b) { return b > 0x7F; }))
        return false;
    mBoxData = boxData;
    return true;
}

std::vector<VirtualStomplet::WireMessage>
VirtualStomplet::ReceiveSysEx(std::span<const std::uint8_t> bytes, std::int64_t nowMs)
{
    if (!IsFramed(bytes))
    {
        ++mCounts.malformed;
        return {};
    }
    if (!IsOurs(bytes))
    {
        ++mCounts.foreign;
        return {};
    }
    if (bytes.size() <= kCommandOffset + 1)
    {
        ++mCounts.malformed;
        return {};
    }

    switch (bytes[kModelOffset])
    {
    case kModelFirmware:
        return ReceiveFirmware(bytes);
    case kModelConfiguration:
        if (mFirmware.open)
        {
            ++mCounts.outOfSequence;
            return {};
        }
        return ReceiveConfiguration(bytes, nowMs);
    default:
        ++mCounts.foreign;
        return {};
    }
}

std::vector<VirtualStomplet::WireMessage>
VirtualStomplet::ReceiveConfiguration(std::span<const std::uint8_t> bytes, std::int64_t nowMs)
{
    const std::uint8_t command = bytes[kCommandOffset];
    if (command == kCommandAllSettings)
    {
        if (bytes.size() != kAllSettingsSize ||
            bytes[kAllSettingsFormatOffset] != kAllSettingsFormatVersion)
        {
            ++mCounts.malformed;
            return {};
        }
        for (int idx = 0; idx < kNumParams; ++idx)
            WriteSetting(idx, bytes[kAllSettingsValuesOffset + static_cast<std::size_t>(idx)]);
        SettingsChanged();
        ++mCounts.settingsApplied;
        return {};
    }
    if (command != kCommandWriteValue)
    {
        ++mCounts.foreign;
        return {};
    }
    if (bytes.size() != kCommandMessageSize)
    {
        ++mCounts.malformed;
        return {};
    }

    const std::uint8_t address = bytes[kAddressOffset];
    const std::uint8_t value = bytes[kValueOffset];
    if (address < kNumParams && !IsCalibrationParam(address))
    {
        WriteSetting(address, value);
        SettingsChanged();
        ++mCounts.settingsApplied;
        return {};
    }
    if (address != kAddressStatusRequest && address != kAddressResetAll &&
        !IsCalibrationParam(address))
    {
        ++mCounts.foreign;
        return {};
    }
    if (value != 0)
    {
        ++mCounts.malformed;
        return {};
    }
    if (address == kAddressStatusRequest)
        return AnswerStatusRequest(nowMs);
    if (address == kAddressResetAll)
        ResetAll();
    else
        Calibrate(address);
    return {};
}

std::vector<VirtualStomplet::WireMessage>
VirtualStomplet::ReceiveFirmware(std::span<const std::uint8_t> bytes)
{
    const std::uint8_t command = bytes[kCommandOffset];
    if (command == kCommandFirmwareStart)
    {
        const bool codeMatches = bytes.size() == kFirmwareStartSize &&
                                 std::equal(kFirmwareStartCode.begin(), kFirmwareStartCode.end(),
                                            bytes.begin() + kFirmwareStartCodeOffset);
        if (!codeMatches || bytes[kFirmwarePageCountOffset] > kMaxFirmwarePages)
        {
            ++mCounts.malformed;
            return {};
        }
        const int pages = bytes[kFirmwarePageCountOffset];
        mFirmware = FirmwareTransfer{};
        mFirmware.pages = pages;
        mFirmware.blocksExpected = pages * kBlocksPerFirmwarePage;
        mFirmware.open = mFirmware.blocksExpected > 0;
        mFirmware.image.assign(static_cast<std::size_t>(pages) * kFirmwarePageBytes, 0xFF);
        return {};
    }
    if (command != kCommandFirmwareBlock)
    {
        ++mCounts.foreign;
        return {};
    }
    if (bytes.size() != kFirmwareBlockSize ||
        !std::equal(kFirmwareBlockMarker.begin(), kFirmwareBlockMarker.end(),
                    bytes.begin() + kFirmwareBlockMarkerOffset))
    {
        ++mCounts.malformed;
        return {};
    }
    if (!mFirmware.open)
    {
        ++mCounts.outOfSequence;
        return {};
    }

    const std::span<const std::uint8_t, kPackedBlockBytes> packed =
        bytes.subspan<kFirmwareBlockDataOffset, kPackedBlockBytes>();
    const std::array<std::uint8_t, 2> checksum = BlockChecksum(packed);
    const bool checksumMatches = checksum[0] == bytes[kFirmwareBlockChecksumOffset] &&
                                 checksum[1] == bytes[kFirmwareBlockChecksumOffset + 1];
    const std::optional<ImageBlock> block =
        checksumMatches ? UnpackFirmwareBlock(packed) : std::nullopt;
    if (block)
    {
        const auto start = static_cast<std::size_t>(mFirmware.blocksReceived) * kFirmwareBlockBytes;
        std::copy(block->begin(), block->end(),
                  mFirmware.image.begin() + static_cast<std::ptrdiff_t>(start));
    }
    else
    {
        ++mFirmware.checksumFailures;
    }
    ++mFirmware.blocksReceived;
    if (mFirmware.blocksReceived == mFirmware.blocksExpected)
        mFirmware.open = false;
    return {};
}

std::vector<VirtualStomplet::WireMessage> VirtualStomplet::AnswerStatusRequest(std::int64_t nowMs)
{
    if (mStandalone && mLastAnsweredRequestMs &&
        nowMs - *mLastAnsweredRequestMs < kStandaloneRepeatWindowMs)
    {
        ++mCounts.unansweredRequests;
        return {};
    }

    mLastAnsweredRequestMs = nowMs;
    const std::optional<StatusReplyMessage> reply =
        BuildStatusReply(mBoxData, mFirmwareVersion, mSettings);
    if (!reply)
        return {};
    ++mCounts.statusReplies;
    return {WireMessage(reply->bytes.begin(), reply->bytes.end())};
}

void VirtualStomplet::WriteSetting(int paramIdx, std::uint8_t value)
{
    const int stored = std::min<int>(value, ParamMaxValue(paramIdx));
    mSettings[static_cast<std::size_t>(paramIdx)] = static_cast<std::uint8_t>(stored);
}

void VirtualStomplet::Calibrate(int paramIdx)
{
    const bool jack1 = paramIdx == kPedal1CalibrationLow || paramIdx == kPedal1CalibrationHigh;
    WriteSetting(paramIdx, static_cast<std::uint8_t>(mPedalPosition[jack1 ? 0 : 1]));
    SettingsChanged();
    ++mCounts.calibrations;
}

void VirtualStomplet::ResetAll()
{
    mSettings = FactorySettings();
    mSwitchDown.fill(false);
    mSwitchOn.fill(false);
    SettingsChanged();
    ++mCounts.resets;
}

void VirtualStomplet::SettingsChanged()
{
    mLastPedalMsg.fill(std::nullopt);
}

int VirtualStomplet::SwitchSlot(Jack jack, FootSwitch footSwitch)
{
    const JackSettings& settings = kJacks[JackIndex(jack)];
    return footSwitch == FootSwitch::kA ? settings.switchSlotA : settings.switchSlotB;
}

bool VirtualStomplet::SwitchOn(Jack jack, FootSwitch footSwitch) const
{
    return mSwitchOn[static_cast<std::size_t>(SwitchSlot(jack, footSwitch))];
}

std::vector<VirtualStomplet::WireMessage> VirtualStomplet::SetPedalPosition(Jack jack, int position)
{
    const std::size_t index = JackIndex(jack);
    mPedalPosition[index] = std::clamp(position, 0, 127);
    const JackSettings& settings = kJacks[index];
    if (Setting(settings.mode) != kJackModePedal)
        return {};

    const int value = ScalePedalPosition(
        mPedalPosition[index], Setting(settings.calibrationLow), Setting(settings.calibrationHigh),
        Setting(settings.outMinimum), Setting(settings.outMaximum));

    // A switch with the function "Pedal" on the other jack, while on, takes the pedal over.
    const JackSettings& other = kJacks[1 - index];
    std::optional<int> takeover;
    if (Setting(other.mode) == kJackModeSwitches)
    {
        for (int slot : {other.switchSlotA, other.switchSlotB})
        {
            if (!takeover && mSwitchOn[static_cast<std::size_t>(slot)] &&
                Setting(Slot(slot).kindParam) == kSwitchFunctionPedal)
                takeover = slot;
        }
    }

    const AssignmentSlot& pedal = Slot(settings.pedalSlot);
    const MidiMessage msg =
        takeover ? PedalMessage(kPedalModeControl, Setting(Slot(*takeover).channelParam),
                                Setting(Slot(*takeover).numberParam), value)
                 : PedalMessage(Setting(pedal.kindParam), Setting(pedal.channelParam),
                                Setting(pedal.numberParam), value);
    if (mLastPedalMsg[index] == msg)
        return {};
    mLastPedalMsg[index] = msg;
    return {ToWire(msg)};
}

std::vector<VirtualStomplet::WireMessage> VirtualStomplet::PressSwitch(Jack jack,
                                                                       FootSwitch footSwitch)
{
    const int slot = SwitchSlot(jack, footSwitch);
    const auto index = static_cast<std::size_t>(slot);
    if (Setting(kJacks[JackIndex(jack)].mode) != kJackModeSwitches || mSwitchDown[index])
        return {};
    mSwitchDown[index] = true;

    const int function = Setting(Slot(slot).kindParam);
    if (IsPressOnlyFunction(function))
        return SwitchTurned(slot, true);
    if (Setting(Slot(slot).operationParam) == kSwitchLatching)
        return SwitchTurned(slot, !mSwitchOn[index]);
    return SwitchTurned(slot, true);
}

std::vector<VirtualStomplet::WireMessage> VirtualStomplet::ReleaseSwitch(Jack jack,
                                                                         FootSwitch footSwitch)
{
    const int slot = SwitchSlot(jack, footSwitch);
    const auto index = static_cast<std::size_t>(slot);
    if (Setting(kJacks[JackIndex(jack)].mode) != kJackModeSwitches || !mSwitchDown[index])
        return {};
    mSwitchDown[index] = false;

    const int function = Setting(Slot(slot).kindParam);
    if (IsPressOnlyFunction(function) || Setting(Slot(slot).operationParam) == kSwitchLatching)
        return {};
    return SwitchTurned(slot, false);
}

std::vector<VirtualStomplet::WireMessage> VirtualStomplet::SwitchTurned(int slot, bool on)
{
    const AssignmentSlot& assignment = Slot(slot);
    const int function = Setting(assignment.kindParam);
    if (!IsPressOnlyFunction(function))
        mSwitchOn[static_cast<std::size_t>(slot)] = on;

    const JackSettings& jack = JackOfSlot(slot);
    const std::optional<MidiMessage> msg =
        SwitchMessage(function, Setting(assignment.channelParam), Setting(assignment.numberParam),
                      Setting(jack.specialLower), Setting(jack.specialUpper), on);
    if (!msg)
        return {};
    return {ToWire(*msg)};
}
