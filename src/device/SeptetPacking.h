#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

// Septet packing: 8-bit data carried in 7-bit MIDI data bytes, as firmware blocks travel.
//
// The data is cut into groups of 7 bytes from its start. A full group b0..b6, read as one 56-bit
// number N most significant byte first, becomes 8 data bytes, most significant first: byte j is
// (N >> 7 * (7 - j)) & 0x7F. A last group of r bytes (1 to 6) is completed with zero bytes,
// packed the same way, and only its first r + 1 bytes are kept. So n bytes pack into
// 8 * (n / 7) + (n % 7 == 0 ? 0 : n % 7 + 1) bytes; a 64-byte block into 74.
//
// Every function here is a pure transform. [any thread]

inline constexpr std::size_t kSeptetGroupBytes = 7;
inline constexpr std::size_t kPackedGroupBytes = 8;
inline constexpr std::size_t kFirmwareBlockBytes = 64;   // image bytes per Firmware Block
inline constexpr std::size_t kPackedBlockBytes = 74;     // their packed form
inline constexpr std::uint8_t kPrefillPackedByte = 0x7F; // packing of FF: 73 x 7F, then 40
inline constexpr std::uint8_t kPrefillPackedLastByte = 0x40;

using PackedBlock = std::array<std::uint8_t, kPackedBlockBytes>;
using ImageBlock = std::array<std::uint8_t, kFirmwareBlockBytes>;

// Bytes the packing of `dataBytes` bytes takes.
constexpr std::size_t PackedSize(std::size_t dataBytes)
{
    const std::size_t rest = dataBytes % kSeptetGroupBytes;
    return kPackedGroupBytes * (dataBytes / kSeptetGroupBytes) + (rest == 0 ? 0 : rest + 1);
}

static_assert(PackedSize(kFirmwareBlockBytes) == kPackedBlockBytes);

// Packs `data` into the start of `out`; returns the number of bytes written (PackedSize of the
// data's length). Empty, and `out` untouched, when `out` is shorter than that.
std::optional<std::size_t> PackSeptets(std::span<const std::uint8_t> data,
                                       std::span<std::uint8_t> out);

// Unpacks `packed` into the start of `out`; returns the number of bytes written. A last group of
// m packed bytes (2 to 7) gives m - 1 bytes; the padding bits it carries are not checked. Empty,
// and `out` untouched, when a byte is 0x80 or above, when the last group is a single byte (no
// packing ends so), or when `out` is too short.
std::optional<std::size_t> UnpackSeptets(std::span<const std::uint8_t> packed,
                                         std::span<std::uint8_t> out);

// The packed form of one Firmware Block of 1 to 64 image bytes. The 74 bytes start as the packing
// of 64 bytes FF; the packing of `data` overwrites them from the start, so a full block fills
// them exactly and a shorter last block of an image leaves the rest as it was. Empty for no data
// or more than 64 bytes.
std::optional<PackedBlock> PackFirmwareBlock(std::span<const std::uint8_t> data);

// The 64 image bytes of a packed block; empty when a byte is 0x80 or above.
std::optional<ImageBlock>
UnpackFirmwareBlock(std::span<const std::uint8_t, kPackedBlockBytes> packed);

// The checksum of a Firmware Block: S, the sum of the 74 packed bytes as unsigned numbers, as
// {(S >> 7) & 0x7F, S & 0x7F}. Packed bytes are below 0x80, so S is at most 9398 and both bytes
// carry it exactly.
std::array<std::uint8_t, 2> BlockChecksum(std::span<const std::uint8_t, kPackedBlockBytes> packed);
