#include "device/FirmwareImage.h"

#include "core/BoundedFileRead.h"

#include <algorithm>
#include <cassert>
#include <cstdio>

namespace
{
static_assert(kFirmwareImageLimit == 16384);
static_assert(kMaxFirmwareBlocks == 256);

// The packing of 64 bytes FF: what every block starts as.
PackedBlock PrefilledBlock()
{
    PackedBlock block;
    block.fill(kPrefillPackedByte);
    block.back() = kPrefillPackedLastByte;
    return block;
}
} // namespace

FirmwareImageResult EncodeFirmwareImage(std::span<const std::uint8_t> bytes)
{
    if (bytes.empty())
        return FirmwareImageError::kEmpty;
    if (bytes.size() >= kFirmwareImageLimit)
        return FirmwareImageError::kTooLarge;

    FirmwareImage image;
    image.mPageCount =
        static_cast<int>((bytes.size() + kFirmwarePageBytes - 1) / kFirmwarePageBytes);
    image.mBlocks.assign(static_cast<std::size_t>(image.mPageCount * kBlocksPerFirmwarePage),
                         PrefilledBlock());
    for (std::size_t start = 0, block = 0; start < bytes.size();
         start += kFirmwareBlockBytes, ++block)
    {
        const auto data = bytes.subspan(start, std::min(kFirmwareBlockBytes, bytes.size() - start));
        // 1 to 64 bytes, which PackFirmwareBlock always takes.
        if (const std::optional<PackedBlock> packed = PackFirmwareBlock(data))
            image.mBlocks[block] = *packed;
    }
    return image;
}

FirmwareImageResult ReadFirmwareFile(const std::filesystem::path& path)
{
    const std::variant<std::string, FileReadError> bytes = ReadFileBelow(path, kFirmwareImageLimit);
    if (const FileReadError* error = std::get_if<FileReadError>(&bytes))
    {
        if (*error == FileReadError::kTooLarge)
            return FirmwareImageError::kTooLarge;
        return *error == FileReadError::kNotAFile ? FirmwareImageError::kNotAFile
                                                  : FirmwareImageError::kCannotOpen;
    }
    const std::string& content = *std::get_if<std::string>(&bytes);
    return EncodeFirmwareImage(
        {reinterpret_cast<const std::uint8_t*>(content.data()), content.size()});
}

FirmwareStartMessage FirmwareStartFor(const FirmwareImage& image)
{
    const std::optional<FirmwareStartMessage> start = BuildFirmwareStart(image.PageCount());
    assert(start && "an image has 0 to 16 pages");
    return *start;
}

std::optional<FirmwareBlockMessage> FirmwareBlockAt(const FirmwareImage& image, int blockIndex)
{
    if (blockIndex < 0 || blockIndex >= image.BlockCount())
        return std::nullopt;
    return BuildFirmwareBlock(image.Blocks()[static_cast<std::size_t>(blockIndex)]);
}

std::vector<FirmwareBlockMessage> FirmwareBlockMessages(const FirmwareImage& image)
{
    std::vector<FirmwareBlockMessage> messages;
    messages.reserve(image.Blocks().size());
    for (int b = 0; b < image.BlockCount(); ++b)
    {
        const std::optional<FirmwareBlockMessage> message = FirmwareBlockAt(image, b);
        assert(message && "packed bytes are data bytes");
        messages.push_back(*message);
    }
    return messages;
}

int FirmwareProgressPercent(int blocksSent, int blockCount)
{
    if (blockCount <= 0)
        return 0;
    const int sent = std::clamp(blocksSent, 0, blockCount);
    return static_cast<int>(static_cast<double>(sent) / static_cast<double>(blockCount) * 100.0);
}

std::string FirmwareProgressText(int blocksSent, int blockCount)
{
    char text[16];
    std::snprintf(text, sizeof text, "%d %%", FirmwareProgressPercent(blocksSent, blockCount));
    return text;
}
