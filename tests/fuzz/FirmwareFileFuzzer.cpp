// libFuzzer target: arbitrary bytes as a firmware image file. Beside the sanitizers' checks it
// aborts when
// - an empty file or one of 16384 bytes or more is not refused as such, or an accepted image has
//   another page or block count than its size gives;
// - its Firmware Start or one of its Firmware Blocks (as a transfer builds them) breaks the message
// set's layout, or block b does not
//   unpack to bytes 64 b to 64 b + 63 of the file.
// How a transfer paces the blocks is the sequence target's and the unit tests' concern.

#include "FuzzSupport.h"
#include "device/FirmwareImage.h"
#include "device/SeptetPacking.h"

#include <variant>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const FirmwareImageResult read =
        ReadFirmwareFile(ScratchFile("image.bin", {reinterpret_cast<const char*>(data), size}));
    if (const auto* error = std::get_if<FirmwareImageError>(&read))
    {
        Require(*error == (size == 0 ? FirmwareImageError::kEmpty : FirmwareImageError::kTooLarge));
        Require(size == 0 || size >= 16384);
        return 0;
    }
    const FirmwareImage& image = std::get<FirmwareImage>(read);
    const auto pages = static_cast<int>((size + 1023) / 1024);
    Require(size < 16384 && image.PageCount() == pages && image.BlockCount() == 16 * pages);
    const FirmwareStartMessage start = FirmwareStartFor(image);
    Require(ClassifySent(start.bytes) == Sent::kFirmwareStart && start.bytes[10] == pages);
    for (int b = 0; b < image.BlockCount(); ++b)
    {
        const std::optional<FirmwareBlockMessage> block = FirmwareBlockAt(image, b);
        Require(block && ClassifySent(block->bytes) == Sent::kFirmwareBlock);
        const auto unpacked = UnpackFirmwareBlock(
            std::span<const std::uint8_t>(block->bytes).subspan<8, kPackedBlockBytes>());
        const std::size_t from = std::min<std::size_t>(64 * b, size);
        const std::size_t count = std::min<std::size_t>(64, size - from);
        Require(unpacked && std::equal(data + from, data + from + count, unpacked->begin()));
    }
    return 0;
}
