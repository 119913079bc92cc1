#pragma once

// What the fuzz targets share, each being a program of its own: the contract check, the input
// read as a stream of choices, scratch files of the process, and what may leave the editor's output
// port, checked byte by byte against the message set rather than through the builders, so that a
// builder that strays is caught too.

#include "device/ParamTable.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <span>
#include <string>
#include <string_view>
#include <unistd.h>

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
    std::span<const std::uint8_t> Bytes(std::size_t count)
    {
        const std::span<const std::uint8_t> taken = rest.first(std::min(count, rest.size()));
        rest = rest.subspan(taken.size());
        return taken;
    }
    std::uint8_t Byte() { return rest.empty() ? 0 : Bytes(1)[0]; }
    std::string Text(std::size_t maxLength) // a length byte, then that many bytes
    {
        const std::span<const std::uint8_t> text = Bytes(Byte() % (maxLength + 1));
        return std::string(text.begin(), text.end());
    }
};

// A path of this process in the temporary folder, which is removed at exit.
inline std::filesystem::path ScratchPath(const std::string& name)
{
    static const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("stomplet-fuzz-" + std::to_string(::getpid()));
    [[maybe_unused]] static const int made =
        (std::filesystem::create_directories(folder),
         std::atexit([] { std::filesystem::remove_all(folder); }));
    return folder / name;
}

// Writes `bytes` as the scratch file `name`; gives its path.
inline std::string ScratchFile(const std::string& name, std::string_view bytes)
{
    std::ofstream(ScratchPath(name), std::ios::binary | std::ios::trunc) << bytes;
    return ScratchPath(name).string();
}

// kSettings: Write Value (also the Status Request, Reset All, the calibrations) or All Settings.
enum class Sent
{
    kNotOurs,
    kSettings,
    kFirmwareStart,
    kFirmwareBlock
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
    const int at = m[6];
    constexpr int kRequests[] = {0x70, 0x71, 0x09, 0x0A, 0x1A, 0x1B}; // reset, status, calibrations
    const bool request = std::ranges::find(kRequests, at) != std::end(kRequests);
    if (command == 0x0402 && m.size() == 9 &&
        (request ? m[7] == 0 : at < kNumParams && m[7] <= ParamMaxValue(at)))
        return Sent::kSettings;
    bool inRange = m.size() == 46 && at == 0x0A;
    for (int idx = 0; idx < kNumParams && inRange; ++idx)
        inRange = m[7 + static_cast<std::size_t>(idx)] <= ParamMaxValue(idx);
    if (command == 0x0403 && inRange)
        return Sent::kSettings;
    if (command == 0x0170 && m.size() == 12 && std::equal(m.begin() + 6, m.begin() + 10, "STLT") &&
        m[10] <= 16)
        return Sent::kFirmwareStart;
    const unsigned sum = m.size() == 85 ? std::accumulate(m.begin() + 8, m.begin() + 82, 0u) : 0;
    return command == 0x0171 && m.size() == 85 && at == 0x54 && m[7] == 0x32 &&
                   m[82] == ((sum >> 7) & 0x7F) && m[83] == (sum & 0x7F)
               ? Sent::kFirmwareBlock
               : Sent::kNotOurs;
}
