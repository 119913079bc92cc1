#include "device/SeptetPacking.h"

#include <algorithm>

namespace
{
// The 56-bit number of a group of up to 7 bytes, completed with zero bytes.
std::uint64_t GroupNumber(std::span<const std::uint8_t> group)
{
    std::uint64_t number = 0;
    for (std::size_t i = 0; i < kSeptetGroupBytes; ++i)
        number = (number << 8) | (i < group.size() ? group[i] : 0u);
    return number;
}

std::uint8_t PackedByte(std::uint64_t number, std::size_t j)
{
    return static_cast<std::uint8_t>((number >> (7 * (kPackedGroupBytes - 1 - j))) & 0x7Fu);
}

std::uint8_t DataByte(std::uint64_t number, std::size_t i)
{
    return static_cast<std::uint8_t>((number >> (8 * (kSeptetGroupBytes - 1 - i))) & 0xFFu);
}

// Bytes the unpacking of `packedBytes` bytes gives, or empty when the last group is one byte.
std::optional<std::size_t> UnpackedSize(std::size_t packedBytes)
{
    const std::size_t rest = packedBytes % kPackedGroupBytes;
    if (rest == 1)
        return std::nullopt;
    return kSeptetGroupBytes * (packedBytes / kPackedGroupBytes) + (rest == 0 ? 0 : rest - 1);
}
} // namespace

std::optional<std::size_t> PackSeptets(std::span<const std::uint8_t> data,
                                       std::span<std::uint8_t> out)
{
    const std::size_t size = PackedSize(data.size());
    if (out.size() < size)
        return std::nullopt;

    std::size_t written = 0;
    for (std::size_t start = 0; start < data.size(); start += kSeptetGroupBytes)
    {
        const auto group = data.subspan(start, std::min(kSeptetGroupBytes, data.size() - start));
        const std::uint64_t number = GroupNumber(group);
        const std::size_t keep =
            group.size() == kSeptetGroupBytes ? kPackedGroupBytes : group.size() + 1;
        for (std::size_t j = 0; j < keep; ++j)
            out[written++] = PackedByte(number, j);
    }
    return written;
}

std::optional<std::size_t> UnpackSeptets(std::span<const std::uint8_t> packed,
                                         std::span<std::uint8_t> out)
{
    const std::optional<std::size_t> size = UnpackedSize(packed.size());
    if (!size || out.size() < *size)
        return std::nullopt;
    if (std::any_of(packed.begin(), packed.end(), [](std::uint8_t b) { return b >= 0x80; }))
        return std::nullopt;

    std::size_t written = 0;
    for (std::size_t start = 0; start < packed.size(); start += kPackedGroupBytes)
    {
        const std::size_t count = std::min(kPackedGroupBytes, packed.size() - start);
        std::uint64_t number = 0;
        for (std::size_t j = 0; j < kPackedGroupBytes; ++j)
            number = (number << 7) | (j < count ? packed[start + j] : 0u);
        // A full group gives 7 bytes; a last group of m bytes gives m - 1.
        const std::size_t give = count == kPackedGroupBytes ? kSeptetGroupBytes : count - 1;
        for (std::size_t i = 0; i < give; ++i)
            out[written++] = DataByte(number, i);
    }
    return written;
}

std::optional<PackedBlock> PackFirmwareBlock(std::span<const std::uint8_t> data)
{
    if (data.empty() || data.size() > kFirmwareBlockBytes)
        return std::nullopt;

    PackedBlock packed;
    packed.fill(kPrefillPackedByte);
    packed.back() = kPrefillPackedLastByte;
    PackSeptets(data, packed);
    return packed;
}

std::optional<ImageBlock>
UnpackFirmwareBlock(std::span<const std::uint8_t, kPackedBlockBytes> packed)
{
    ImageBlock image{};
    if (!UnpackSeptets(packed, image))
        return std::nullopt;
    return image;
}

std::array<std::uint8_t, 2> BlockChecksum(std::span<const std::uint8_t, kPackedBlockBytes> packed)
{
    unsigned sum = 0;
    for (std::uint8_t b : packed)
        sum += b;
    return {static_cast<std::uint8_t>((sum >> 7) & 0x7Fu), static_cast<std::uint8_t>(sum & 0x7Fu)};
}
