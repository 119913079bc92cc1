#pragma once

#include "device/SeptetPacking.h"
#include "device/SysExMessages.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

// A firmware image ("bin" file) made ready for the transfer to the box: cut into pages of 1024
// bytes and blocks of 64 bytes, each block in its packed form of 74 data bytes. Every block a page
// has starts as the packing of 64 bytes FF (73 x 7F, then 40); the packing of the image's bytes
// overwrites it from its start, so the last block of a short image ends in that pre-fill and a
// page the image fills only in part is completed with pre-filled blocks.
//
// Every function here but ReadFirmwareFile, which uses the file system, is a pure transform.
// [any thread]

inline constexpr std::string_view kFirmwareFileExtension = "bin";
// Images of this size or more are refused: the largest accepted one, 16383 bytes, has 16 pages.
inline constexpr std::size_t kFirmwareImageLimit = kMaxFirmwarePages * kFirmwarePageBytes;
inline constexpr int kMaxFirmwareBlocks = kMaxFirmwarePages * kBlocksPerFirmwarePage;

// Shown when an empty image is refused. (An image that is too large is refused without a word.)
inline constexpr std::string_view kEmptyFirmwareText =
    "The firmware file is empty.\nNothing was sent to the Stomplet.";

// Why there is no image to send. Nothing may be sent or changed in any of these cases.
enum class FirmwareImageError
{
    kCannotOpen, // the file cannot be read; nothing is shown
    kNotAFile,   // a folder, a device, a FIFO or a socket, never read; nothing is shown
    kEmpty,      // no byte to send: kEmptyFirmwareText
    kTooLarge,   // 16384 bytes or more; nothing is shown
};

class FirmwareImage;
// Exactly one is held: the image, or why there is none.
using FirmwareImageResult = std::variant<FirmwareImage, FirmwareImageError>;

// Cuts and packs the bytes of a firmware file. Empty data is kEmpty, 16384 bytes or more
// kTooLarge.
FirmwareImageResult EncodeFirmwareImage(std::span<const std::uint8_t> bytes);

// An encoded image, made by EncodeFirmwareImage. A default-made one has no page and no block.
class FirmwareImage
{
public:
    // 1 to 16 for an encoded image: (image size + 1023) / 1024.
    int PageCount() const { return mPageCount; }
    // 16 per page.
    int BlockCount() const { return static_cast<int>(mBlocks.size()); }
    // In image order: block b holds the packing of image bytes 64 b to 64 b + 63, or its pre-fill
    // where the image has no such bytes.
    const std::vector<PackedBlock>& Blocks() const { return mBlocks; }

private:
    friend FirmwareImageResult EncodeFirmwareImage(std::span<const std::uint8_t> bytes);

    int mPageCount = 0;
    std::vector<PackedBlock> mBlocks;
};

// Reads the firmware file at `path` (at most 16384 bytes of it) and encodes it.
FirmwareImageResult ReadFirmwareFile(const std::filesystem::path& path);

// The Firmware Start announcing the image's page count.
FirmwareStartMessage FirmwareStartFor(const FirmwareImage& image);

// Firmware Block `blockIndex` of the image; empty outside 0 to BlockCount() - 1.
std::optional<FirmwareBlockMessage> FirmwareBlockAt(const FirmwareImage& image, int blockIndex);

// Every Firmware Block of the image, in sending order.
std::vector<FirmwareBlockMessage> FirmwareBlockMessages(const FirmwareImage& image);

// The progress after `blocksSent` of `blockCount` blocks, in whole per cent: blocksSent /
// blockCount * 100 in double precision, truncated toward zero (1 of 16 is 6, 16 of 16 is 100).
// `blocksSent` is taken within 0 to blockCount; 0 when there are no blocks.
int FirmwareProgressPercent(int blocksSent, int blockCount);

// The progress display's text, "%d %%" of the percentage: "6 %".
std::string FirmwareProgressText(int blocksSent, int blockCount);
