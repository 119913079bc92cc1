#pragma once

// What the fuzz targets share: the contract check, the input read as a stream of choices, a
// scratch file per process, and what may leave the editor's output port, checked byte by byte
// against the message set rather than through the builders, so that a builder that strays is
// caught too.

#include "core/MidiRecords.h"
#include "device/FirmwareTransfer.h"
#include "device/ParamTable.h"
#include "device/SysExMessages.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <span>
#include <string>
#include <unistd.h>

namespace fuzz
{
// Ends the run with a finding (libFuzzer saves the input) when a contract is broken.
inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// The input from its start; past its end every byte reads 0 and every run of bytes is empty.
struct Input
{
    std::span<const std::uint8_t> rest;
    bool Empty() const { return rest.empty(); }
    std::span<const std::uint8_t> Bytes(std::size_t count)
    {
        const std::span<const std::uint8_t> taken = rest.first(std::min(count, rest.size()));
        rest = rest.subspan(taken.size());
        return taken;
    }
    std::uint8_t Byte() { return Empty() ? 0 : Bytes(1)[0]; }
    unsigned U16() // high byte first
    {
        const unsigned high = Byte();
        return high << 8 | Byte();
    }
    std::string Text(std::size_t maxLength) // a length byte, then that many bytes
    {
        const std::span<const std::uint8_t> text = Bytes(Byte() % (maxLength + 1));
        return std::string(text.begin(), text.end());
    }
};

// A path of this process in the temporary folder, removed at exit.
inline std::filesystem::path ScratchPath(const std::string& name)
{
    static const std::filesystem::path folder = []
    {
        const auto made = std::filesystem::temp_directory_path() /
                          ("stomplet-fuzz-" + std::to_string(::getpid()));
        std::filesystem::create_directories(made);
        std::atexit([] { std::filesystem::remove_all(folder); });
        return made;
    }();
    return folder / name;
}

enum class Sent
{
    kNotOurs,
    kSingleSetting, // also the Status Request, Reset All and the calibration requests
    kAllSettings,
    kFirmwareStart,
    kFirmwareBlock,
};

// The kind of a whole SysEx message the editor may send, or kNotOurs when any byte breaks its
// layout: F0 00 3F 5A model command ... F7 with data bytes between; Write Value (04 02, address,
// value: a setting within its range, 70 and 71 (reset, request) and the calibration addresses with
// 00); All Settings (04 03, format 0A, 38 values in range); Firmware Start (01 70, "STLT", 0 to
// 16 pages); Firmware Block (01 71, 54 32, 74 bytes, checksum of their sum in two septets).
inline Sent ClassifySent(std::span<const std::uint8_t> m)
{
    if (m.size() < 9 || m[0] != 0xF0 || m.back() != 0xF7 || m[1] != 0x00 || m[2] != 0x3F ||
        m[3] != 0x5A || std::any_of(m.begin() + 1, m.end() - 1, [](auto b) { return b >= 0x80; }))
        return Sent::kNotOurs;
    const auto command = static_cast<int>(m[4] << 8 | m[5]);
    if (command == 0x0402 && m.size() == 9)
    {
        const int address = m[6];
        const bool request = address == 0x70 || address == 0x71 || address == 0x09 ||
                             address == 0x0A || address == 0x1A || address == 0x1B;
        const bool setting = !request && address < kNumParams && m[7] <= ParamMaxValue(address);
        return (request && m[7] == 0) || setting ? Sent::kSingleSetting : Sent::kNotOurs;
    }
    bool inRange = m.size() == 46;
    for (int idx = 0; idx < kNumParams && inRange; ++idx)
        inRange = m[7 + static_cast<std::size_t>(idx)] <= ParamMaxValue(idx);
    if (command == 0x0403 && inRange && m[6] == 0x0A)
        return Sent::kAllSettings;
    if (command == 0x0170 && m.size() == 12 && m[6] == 'S' && m[7] == 'T' && m[8] == 'L' &&
        m[9] == 'T' && m[10] <= 16)
        return Sent::kFirmwareStart;
    unsigned sum = 0;
    for (std::size_t i = 8; i < 82 && m.size() == 85; ++i)
        sum += m[i];
    if (command == 0x0171 && m.size() == 85 && m[6] == 0x54 && m[7] == 0x32 &&
        m[82] == ((sum >> 7) & 0x7F) && m[83] == (sum & 0x7F))
        return Sent::kFirmwareBlock;
    return Sent::kNotOurs;
}

// A short message as it goes on the wire: a status byte other than F0 and F7, data bytes below
// 80, the length its status byte gives.
inline bool IsShortMessage(std::span<const std::uint8_t> m)
{
    return !m.empty() && m.size() <= 3 && m[0] >= 0x80 && m[0] != 0xF0 && m[0] != 0xF7 &&
           static_cast<int>(m.size()) == MidiMessageLength(m[0]) &&
           std::all_of(m.begin() + 1, m.end(), [](auto b) { return b < 0x80; });
}

// The first block not before the start delay (less the tick tolerance) after the Firmware Start,
// every later one at least the least spacing after the one before.
inline void RequirePaced(std::int64_t sinceLast, int blocksBefore)
{
    Require(sinceLast >= (blocksBefore == 0
                              ? FirmwareTransfer::kStartDelayMs - FirmwareTransfer::kTickToleranceMs
                              : FirmwareTransfer::kMinBlockSpacingMs));
}
} // namespace fuzz
