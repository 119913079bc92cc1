#include "OutgoingMessages.h"

#include "core/MidiRecords.h"
#include "device/ParamTable.h"
#include "device/SysExMessages.h"

#include <algorithm>
#include <cstddef>

namespace fuzz_support
{
namespace
{
bool IsCalibrationAddress(int address)
{
    return address == 0x09 || address == 0x0A || address == 0x1A || address == 0x1B;
}

// F0 00 3F 5A 04 02 | address | value | F7
std::optional<EditorMessage> ClassifyWriteValue(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != 9)
        return std::nullopt;
    const int address = bytes[6];
    const int value = bytes[7];
    if (address == 0x70)
        return value == 0 ? std::optional(EditorMessage::kResetAll) : std::nullopt;
    if (address == 0x71)
        return value == 0 ? std::optional(EditorMessage::kStatusRequest) : std::nullopt;
    if (IsCalibrationAddress(address))
        return value == 0 ? std::optional(EditorMessage::kCalibration) : std::nullopt;
    if (address < kNumParams && value <= ParamMaxValue(address))
        return EditorMessage::kSingleSetting;
    return std::nullopt;
}

// F0 00 3F 5A 04 03 | 0A | 38 values | F7
std::optional<EditorMessage> ClassifyAllSettings(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != 46 || bytes[6] != 0x0A)
        return std::nullopt;
    for (int idx = 0; idx < kNumParams; ++idx)
        if (bytes[7 + static_cast<std::size_t>(idx)] > ParamMaxValue(idx))
            return std::nullopt;
    return EditorMessage::kAllSettings;
}

// F0 00 3F 5A 01 70 | start code (4) | pages | F7
std::optional<EditorMessage> ClassifyFirmwareStart(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != 12 ||
        !std::equal(kFirmwareStartCode.begin(), kFirmwareStartCode.end(), bytes.begin() + 6))
        return std::nullopt;
    return bytes[10] <= 16 ? std::optional(EditorMessage::kFirmwareStart) : std::nullopt;
}

// F0 00 3F 5A 01 71 | 54 32 | 74 data bytes | checksum high, low | F7
std::optional<EditorMessage> ClassifyFirmwareBlock(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() != 85 || bytes[6] != 0x54 || bytes[7] != 0x32)
        return std::nullopt;
    unsigned sum = 0;
    for (std::size_t i = 8; i < 82; ++i)
        sum += bytes[i];
    if (bytes[82] != ((sum >> 7) & 0x7F) || bytes[83] != (sum & 0x7F))
        return std::nullopt;
    return EditorMessage::kFirmwareBlock;
}
} // namespace

std::optional<EditorMessage> ClassifyEditorSysEx(std::span<const std::uint8_t> bytes)
{
    if (bytes.size() < 7 || bytes.front() != 0xF0 || bytes.back() != 0xF7)
        return std::nullopt;
    if (!std::all_of(bytes.begin() + 1, bytes.end() - 1, [](std::uint8_t b) { return b < 0x80; }))
        return std::nullopt;
    if (bytes[1] != 0x00 || bytes[2] != 0x3F || bytes[3] != 0x5A)
        return std::nullopt;

    const std::uint8_t model = bytes[4];
    const std::uint8_t command = bytes[5];
    if (model == 0x04 && command == 0x02)
        return ClassifyWriteValue(bytes);
    if (model == 0x04 && command == 0x03)
        return ClassifyAllSettings(bytes);
    if (model == 0x01 && command == 0x70)
        return ClassifyFirmwareStart(bytes);
    if (model == 0x01 && command == 0x71)
        return ClassifyFirmwareBlock(bytes);
    return std::nullopt;
}

bool IsWellFormedShortMessage(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty() || bytes.size() > 3)
        return false;
    const std::uint8_t status = bytes.front();
    if (status < 0x80 || status == 0xF0 || status == 0xF7)
        return false;
    if (static_cast<int>(bytes.size()) != MidiMessageLength(status))
        return false;
    return std::all_of(bytes.begin() + 1, bytes.end(), [](std::uint8_t b) { return b < 0x80; });
}

int FirmwareStartPageCount(std::span<const std::uint8_t> bytes)
{
    return bytes.size() > 10 ? bytes[10] : 0;
}
} // namespace fuzz_support
