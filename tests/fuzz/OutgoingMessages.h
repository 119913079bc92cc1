#pragma once

#include <cstdint>
#include <optional>
#include <span>

// What the fuzz targets accept on the editor's output port, checked byte by byte against the
// message set rather than through the builders, so a builder that strays is caught too.
namespace fuzz_support
{
// The seven SysEx messages the editor sends to the box.
enum class EditorMessage
{
    kSingleSetting,
    kStatusRequest,
    kResetAll,
    kCalibration,
    kAllSettings,
    kFirmwareStart,
    kFirmwareBlock,
};

// The kind of a whole SysEx message (F0 to F7) the editor may send, or nullopt when any byte
// breaks its layout: the frame, the size of its kind, data bytes below 80 in between, a setting
// value within its setting's range (calibration addresses take only 00), the All Settings format
// version 0A, the firmware start code, a page count of 0 to 16, the block marker and the block
// checksum.
std::optional<EditorMessage> ClassifyEditorSysEx(std::span<const std::uint8_t> bytes);

// A short MIDI message as it goes on the wire: a status byte 80 to FF other than F0 and F7, data
// bytes below 80, and exactly the length the status byte gives.
bool IsWellFormedShortMessage(std::span<const std::uint8_t> bytes);

// The page count of a message ClassifyEditorSysEx finds to be a Firmware Start.
int FirmwareStartPageCount(std::span<const std::uint8_t> bytes);
} // namespace fuzz_support
