#include "device/SysExMessages.h"

#include <algorithm>

namespace
{
constexpr bool IsDataByte(int value)
{
    return value >= 0 && value <= 0x7F;
}

bool AllDataBytes(std::span<const std::uint8_t> bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](std::uint8_t b) { return b <= 0x7F; });
}

// F0, manufacturer, model and command at the start of `bytes`, F7 at its end.
template <std::size_t N>
SysExBytes<N> Framed(std::uint8_t model, std::uint8_t command)
{
    SysExBytes<N> msg;
    msg.bytes[0] = kSysExStart;
    std::copy(kManufacturerId.begin(), kManufacturerId.end(), msg.bytes.begin() + 1);
    msg.bytes[kModelOffset] = model;
    msg.bytes[kCommandOffset] = command;
    msg.bytes[N - 1] = kSysExEnd;
    return msg;
}

CommandMessage WriteValue(std::uint8_t address, std::uint8_t value)
{
    CommandMessage msg = Framed<kCommandMessageSize>(kModelConfiguration, kCommandWriteValue);
    msg.bytes[kAddressOffset] = address;
    msg.bytes[kValueOffset] = value;
    return msg;
}
} // namespace

std::optional<CommandMessage> BuildSingleSetting(int paramIdx, int value)
{
    const std::optional<std::uint8_t> address = ParameterAddress(paramIdx);
    if (!address || IsCalibrationParam(paramIdx) || !IsDataByte(value))
        return std::nullopt;
    return WriteValue(*address, static_cast<std::uint8_t>(value));
}

CommandMessage BuildStatusRequest()
{
    return WriteValue(kAddressStatusRequest, 0);
}

CommandMessage BuildResetAllRequest()
{
    return WriteValue(kAddressResetAll, 0);
}

std::optional<CommandMessage> BuildCalibrationRequest(int address)
{
    if (!IsCalibrationParam(address))
        return std::nullopt;
    return WriteValue(static_cast<std::uint8_t>(address), 0);
}

std::optional<AllSettingsMessage> BuildAllSettings(std::span<const std::uint8_t, kNumParams> values)
{
    if (!AllDataBytes(values))
        return std::nullopt;
    AllSettingsMessage msg = Framed<kAllSettingsSize>(kModelConfiguration, kCommandAllSettings);
    msg.bytes[kAllSettingsFormatOffset] = kAllSettingsFormatVersion;
    std::copy(values.begin(), values.end(), msg.bytes.begin() + kAllSettingsValuesOffset);
    return msg;
}

std::optional<FirmwareStartMessage> BuildFirmwareStart(int pageCount)
{
    if (pageCount < 0 || pageCount > kMaxFirmwarePages)
        return std::nullopt;
    FirmwareStartMessage msg = Framed<kFirmwareStartSize>(kModelFirmware, kCommandFirmwareStart);
    std::copy(kFirmwareStartCode.begin(), kFirmwareStartCode.end(),
              msg.bytes.begin() + kFirmwareStartCodeOffset);
    msg.bytes[kFirmwarePageCountOffset] = static_cast<std::uint8_t>(pageCount);
    return msg;
}

std::optional<FirmwareBlockMessage>
BuildFirmwareBlock(std::span<const std::uint8_t, kPackedBlockBytes> packed)
{
    if (!AllDataBytes(packed))
        return std::nullopt;
    FirmwareBlockMessage msg = Framed<kFirmwareBlockSize>(kModelFirmware, kCommandFirmwareBlock);
    std::copy(kFirmwareBlockMarker.begin(), kFirmwareBlockMarker.end(),
              msg.bytes.begin() + kFirmwareBlockMarkerOffset);
    std::copy(packed.begin(), packed.end(), msg.bytes.begin() + kFirmwareBlockDataOffset);
    const std::array<std::uint8_t, 2> checksum = BlockChecksum(packed);
    msg.bytes[kFirmwareBlockChecksumOffset] = checksum[0];
    msg.bytes[kFirmwareBlockChecksumOffset + 1] = checksum[1];
    return msg;
}

std::optional<StatusReplyMessage> BuildStatusReply(std::span<const std::uint8_t, 4> boxData,
                                                   std::uint8_t version,
                                                   std::span<const std::uint8_t, kNumParams> values)
{
    if (!AllDataBytes(boxData) || !IsDataByte(version) || !AllDataBytes(values))
        return std::nullopt;
    StatusReplyMessage msg = Framed<kStatusReplySize>(kModelConfiguration, kCommandStatusReply);
    std::copy(boxData.begin(), boxData.end(), msg.bytes.begin() + kStatusReplyBoxDataOffset);
    msg.bytes[kStatusReplyVersionOffset] = version;
    std::copy(values.begin(), values.end(), msg.bytes.begin() + kStatusReplyValuesOffset);
    return msg;
}

std::optional<StatusReply> RecogniseStatusReply(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < kStatusReplySize)
        return std::nullopt;
    if (!std::equal(kManufacturerId.begin(), kManufacturerId.end(), bytes.begin() + 1) ||
        bytes[kModelOffset] != kModelConfiguration || bytes[kCommandOffset] != kCommandStatusReply)
        return std::nullopt;

    StatusReply reply;
    reply.version = bytes[kStatusReplyVersionOffset];
    std::copy_n(bytes.begin() + kStatusReplyValuesOffset, kNumParams, reply.values.begin());
    return reply;
}

std::optional<StatusReply> RecogniseStatusReply(const SysExMessage& msg)
{
    if (!msg.data || msg.size <= 0)
        return std::nullopt;
    return RecogniseStatusReply({msg.data, static_cast<std::size_t>(msg.size)});
}
