#pragma once

#include "core/MidiRecords.h"
#include "device/ParamTable.h"
#include "device/SeptetPacking.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// The SysEx messages exchanged with the box, byte for byte. Every message is framed as
//   F0 | 00 3F 5A (manufacturer) | model (04 configuration, 01 firmware) | command | payload | F7
// and every byte between F0 and F7 is a data byte (below 0x80).
//
// Builders fill a fixed-size record and never allocate. A builder whose arguments cannot be
// encoded returns an empty optional, so a malformed message cannot reach the port: a value or
// payload byte above 0x7F, a parameter index outside 0 to 37 or one of the four calibration
// settings (their addresses belong to the Calibration Request), a calibration address other than
// 09, 0A, 1A, 1B, a page count above 16. Builders do not send.
//
// Every function here is a pure transform. [any thread]

inline constexpr std::uint8_t kSysExStart = 0xF0;
inline constexpr std::uint8_t kSysExEnd = 0xF7;
inline constexpr std::array<std::uint8_t, 3> kManufacturerId{0x00, 0x3F, 0x5A};
inline constexpr std::uint8_t kModelConfiguration = 0x04;
inline constexpr std::uint8_t kModelFirmware = 0x01;

inline constexpr std::uint8_t kCommandStatusReply = 0x01;   // box -> editor
inline constexpr std::uint8_t kCommandWriteValue = 0x02;    // address byte, value byte
inline constexpr std::uint8_t kCommandAllSettings = 0x03;   // format version, 38 values
inline constexpr std::uint8_t kCommandFirmwareStart = 0x70; // start code, page count
inline constexpr std::uint8_t kCommandFirmwareBlock = 0x71; // marker, 74 packed bytes, checksum

// Addresses of the write-value command beyond the parameter indices 00 to 25.
inline constexpr std::uint8_t kAddressResetAll = 0x70;
inline constexpr std::uint8_t kAddressStatusRequest = 0x71;

inline constexpr std::uint8_t kAllSettingsFormatVersion = 0x0A; // ten times the version, 1.0
// The four fixed bytes at offsets 6 to 9 of every Firmware Start, which the box's firmware
// transfer expects ("STLT" in ASCII).
inline constexpr std::array<std::uint8_t, 4> kFirmwareStartCode{0x53, 0x54, 0x4C, 0x54};
inline constexpr std::array<std::uint8_t, 2> kFirmwareBlockMarker{0x54, 0x32};

inline constexpr int kMaxFirmwarePages = 16;
inline constexpr int kBlocksPerFirmwarePage = 16;
inline constexpr std::size_t kFirmwarePageBytes = kBlocksPerFirmwarePage * kFirmwareBlockBytes;

// Whole-message sizes, F0 and F7 included.
inline constexpr std::size_t kCommandMessageSize = 9;
inline constexpr std::size_t kAllSettingsSize = 46;
inline constexpr std::size_t kStatusReplySize = 50;
inline constexpr std::size_t kFirmwareStartSize = 12;
inline constexpr std::size_t kFirmwareBlockSize = 85;

// Field offsets.
inline constexpr std::size_t kModelOffset = 4;
inline constexpr std::size_t kCommandOffset = 5;
inline constexpr std::size_t kAddressOffset = 6; // write-value command
inline constexpr std::size_t kValueOffset = 7;   // write-value command
inline constexpr std::size_t kAllSettingsFormatOffset = 6;
inline constexpr std::size_t kAllSettingsValuesOffset = 7;
inline constexpr std::size_t kStatusReplyBoxDataOffset = 6; // 4 bytes the editor does not read
inline constexpr std::size_t kStatusReplyVersionOffset = 10;
inline constexpr std::size_t kStatusReplyValuesOffset = 11;
inline constexpr std::size_t kFirmwareStartCodeOffset = 6;
inline constexpr std::size_t kFirmwarePageCountOffset = 10;
inline constexpr std::size_t kFirmwareBlockMarkerOffset = 6;
inline constexpr std::size_t kFirmwareBlockDataOffset = 8;
inline constexpr std::size_t kFirmwareBlockChecksumOffset = 82;

// One whole message in a buffer of its own.
template <std::size_t N>
struct SysExBytes
{
    std::array<std::uint8_t, N> bytes{};

    // The record for SendSysExMessage: offset 0, size N. Points into this object; valid while it
    // lives and is not modified.
    SysExMessage Message() const { return {0, static_cast<std::int32_t>(N), bytes.data()}; }
};

using CommandMessage = SysExBytes<kCommandMessageSize>;
using AllSettingsMessage = SysExBytes<kAllSettingsSize>;
using StatusReplyMessage = SysExBytes<kStatusReplySize>;
using FirmwareStartMessage = SysExBytes<kFirmwareStartSize>;
using FirmwareBlockMessage = SysExBytes<kFirmwareBlockSize>;

// The four settings whose addresses take only a Calibration Request: the low and high calibration
// ends of both pedals (09, 0A, 1A, 1B).
constexpr bool IsCalibrationParam(int paramIdx)
{
    return paramIdx == kPedal2CalibrationLow || paramIdx == kPedal2CalibrationHigh ||
           paramIdx == kPedal1CalibrationLow || paramIdx == kPedal1CalibrationHigh;
}

// The address byte of a setting in the write-value command: its index. Empty outside 0 to 37.
constexpr std::optional<std::uint8_t> ParameterAddress(int paramIdx)
{
    if (paramIdx < 0 || paramIdx >= kNumParams)
        return std::nullopt;
    return static_cast<std::uint8_t>(paramIdx);
}

// F0 00 3F 5A 04 02 a v F7: setting `paramIdx` (0 to 37, not a calibration setting) takes `value`
// (0 to 0x7F).
std::optional<CommandMessage> BuildSingleSetting(int paramIdx, int value);
// F0 00 3F 5A 04 02 71 00 F7
CommandMessage BuildStatusRequest();
// F0 00 3F 5A 04 02 70 00 F7
CommandMessage BuildResetAllRequest();
// F0 00 3F 5A 04 02 c 00 F7, `address` one of 09, 0A, 1A, 1B (the calibration settings' indices).
std::optional<CommandMessage> BuildCalibrationRequest(int address);
// F0 00 3F 5A 04 03 0A, the 38 setting bytes in index order, F7.
std::optional<AllSettingsMessage>
BuildAllSettings(std::span<const std::uint8_t, kNumParams> values);
// F0 00 3F 5A 01 70, the start code, the page count (0 to 16), F7.
std::optional<FirmwareStartMessage> BuildFirmwareStart(int pageCount);
// F0 00 3F 5A 01 71 54 32, the 74 packed bytes, the two checksum bytes, F7.
std::optional<FirmwareBlockMessage>
BuildFirmwareBlock(std::span<const std::uint8_t, kPackedBlockBytes> packed);
// F0 00 3F 5A 04 01, four box bytes, the firmware version (ten times the version number), the 38
// setting bytes, F7. What the box sends; the editor only recognises it.
std::optional<StatusReplyMessage>
BuildStatusReply(std::span<const std::uint8_t, 4> boxData, std::uint8_t version,
                 std::span<const std::uint8_t, kNumParams> values);

// What the editor reads from a Status Reply.
struct StatusReply
{
    std::uint8_t version = 0; // ten times the firmware version: 0x0C is 1.2
    std::array<std::uint8_t, kNumParams> values{};
};

// A message is a Status Reply when it has at least 50 bytes and bytes 1 to 5 are 00 3F 5A 04 01.
// Byte 0, the box bytes, byte 49 and anything beyond it are not checked; value bytes are passed on
// as they are (the settings constrain them). Empty for anything else, a null pointer included.
std::optional<StatusReply> RecogniseStatusReply(std::span<const std::uint8_t> bytes);
std::optional<StatusReply> RecogniseStatusReply(const SysExMessage& msg);
