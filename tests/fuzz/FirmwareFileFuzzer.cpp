// libFuzzer target: arbitrary bytes as a firmware image file, and every image the loader accepts
// sent through a transfer ticked at uneven times. Beside the sanitizers' checks it aborts when
// - an empty image or one of 16384 bytes or more is not refused as such, or the file and the same
//   bytes in memory give different results;
// - the page or block count does not follow from the size, a message breaks the message set's
//   layout, or a block does not unpack to its 64 image bytes;
// - the transfer sends blocks out of order, closer than its pacing allows, or another number of
//   them than the image has, or takes a second image while it runs.

#include "FuzzSupport.h"
#include "device/FirmwareImage.h"
#include "device/SeptetPacking.h"

#include <fstream>
#include <random>
#include <string_view>
#include <variant>

using fuzz::Require;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::span<const std::uint8_t> bytes(data, size);
    const FirmwareImageResult encoded = EncodeFirmwareImage(bytes);
    const std::filesystem::path file = fuzz::ScratchPath("image.bin");
    std::ofstream(file, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const FirmwareImageResult read = ReadFirmwareFile(file);
    Require(encoded.index() == read.index());
    if (const auto* error = std::get_if<FirmwareImageError>(&encoded))
    {
        Require(*error == (size == 0 ? FirmwareImageError::kEmpty : FirmwareImageError::kTooLarge));
        Require((size == 0 || size >= 16384) && std::get<FirmwareImageError>(read) == *error);
        return 0;
    }
    const FirmwareImage& image = std::get<FirmwareImage>(encoded);
    Require(size < 16384 && std::get<FirmwareImage>(read).Blocks() == image.Blocks());
    Require(image.PageCount() == static_cast<int>((size + 1023) / 1024));
    Require(image.BlockCount() == 16 * image.PageCount());
    const FirmwareStartMessage start = FirmwareStartFor(image);
    Require(fuzz::ClassifySent(start.bytes) == fuzz::Sent::kFirmwareStart);
    Require(start.bytes[10] == image.PageCount());
    const std::vector<FirmwareBlockMessage> blocks = FirmwareBlockMessages(image);
    Require(static_cast<int>(blocks.size()) == image.BlockCount());
    for (std::size_t b = 0; b < blocks.size(); ++b)
    {
        Require(fuzz::ClassifySent(blocks[b].bytes) == fuzz::Sent::kFirmwareBlock);
        const auto unpacked = UnpackFirmwareBlock(
            std::span<const std::uint8_t>(blocks[b].bytes).subspan<8, kPackedBlockBytes>());
        const std::size_t from = std::min(64 * b, size);
        const std::size_t count = std::min<std::size_t>(64, size - from);
        Require(unpacked && std::equal(data + from, data + from + count, unpacked->begin()));
    }

    // Ticks 0 to 250 ms apart, from a generator seeded with the image so that a run repeats.
    std::minstd_rand gaps(
        std::hash<std::string_view>{}({reinterpret_cast<const char*>(data), size}));
    FirmwareTransfer transfer;
    std::int64_t now = 1000;
    std::int64_t last = now;
    const std::optional<FirmwareStartMessage> begun = transfer.Begin(image, now);
    Require(begun && begun->bytes == start.bytes && !transfer.Begin(image, now));
    int sent = 0;
    for (int tick = 0; tick < 10 * image.BlockCount() + 100; ++tick)
    {
        now += static_cast<std::int64_t>(gaps() % 251);
        const FirmwareTransfer::Step step = transfer.Tick(now);
        if (step.kind == FirmwareTransfer::Step::Kind::kFinished)
            break;
        if (step.kind != FirmwareTransfer::Step::Kind::kBlock)
            continue;
        fuzz::RequirePaced(now - last, sent);
        Require(step.block.bytes == blocks[static_cast<std::size_t>(sent)].bytes);
        Require(step.blocksSent == ++sent);
        last = now;
    }
    Require(sent == image.BlockCount() && !transfer.Running());
    return 0;
}
