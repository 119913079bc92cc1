// libFuzzer target: the firmware loader on arbitrary bytes as an image file, and every image it
// accepts sent through whole transfers. Beside the sanitizers' checks it aborts when
// - an empty image or one of 16384 bytes or more is not refused as such, or reading the bytes
//   from a file gives another result than encoding them in memory;
// - the page or block count does not follow from the size, or a block differs from the septet
//   packing of its 64 image bytes over the pre-fill (worked out here independently);
// - the Firmware Start or a Firmware Block is not exactly as the message set lays it out;
// - a transfer ticked every 100 ms does not send block k on tick 6 + k and finish on the tick
//   after the last one, or a transfer ticked at uneven times sends blocks out of order, closer
//   than 90 ms (490 ms after the Firmware Start), or another number of them than the image has;
// - a transfer accepts a second image while it runs, or does not start afresh after Abort.

#include "FuzzInput.h"
#include "OutgoingMessages.h"
#include "device/FirmwareImage.h"
#include "device/FirmwareTransfer.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <span>
#include <string>
#include <system_error>
#include <unistd.h>
#include <variant>
#include <vector>

namespace firmware_file_fuzz
{
using fuzz_support::EditorMessage;
using fuzz_support::Require;
namespace fs = std::filesystem;

// Block `b` of an image: 73 x 7F and 40, overwritten from its start by the septet packing of the
// image bytes 64 b to 64 b + 63 that exist.
PackedBlock ReferenceBlock(std::span<const std::uint8_t> image, std::size_t b)
{
    PackedBlock packed;
    packed.fill(0x7F);
    packed.back() = 0x40;
    const std::size_t start = 64 * b;
    if (start >= image.size())
        return packed;
    const std::span<const std::uint8_t> data =
        image.subspan(start, std::min<std::size_t>(64, image.size() - start));
    for (std::size_t group = 0; 7 * group < data.size(); ++group)
    {
        const std::size_t length = std::min<std::size_t>(7, data.size() - 7 * group);
        std::uint64_t number = 0;
        for (std::size_t j = 0; j < 7; ++j)
            number = (number << 8) | (j < length ? data[7 * group + j] : 0u);
        const std::size_t kept = length == 7 ? 8 : length + 1;
        for (std::size_t j = 0; j < kept; ++j)
            packed[8 * group + j] = static_cast<std::uint8_t>((number >> (7 * (7 - j))) & 0x7F);
    }
    return packed;
}

std::span<const std::uint8_t> BytesOf(const FirmwareBlockMessage& message)
{
    return message.bytes;
}

// The message is a well-formed Firmware Block carrying `packed`.
void CheckBlockMessage(const FirmwareBlockMessage& message, const PackedBlock& packed)
{
    Require(fuzz_support::ClassifyEditorSysEx(BytesOf(message)) == EditorMessage::kFirmwareBlock);
    Require(std::equal(packed.begin(), packed.end(), message.bytes.begin() + 8));
}

// The image's Firmware Blocks, each checked once; the transfers must send exactly these.
using BlockMessages = std::vector<FirmwareBlockMessage>;

// A file of this process holding the bytes, removed at exit.
const fs::path& ImageFile()
{
    static const fs::path path = []
    {
        const fs::path made =
            fs::temp_directory_path() / ("stomplet-fuzz-firmware-" + std::to_string(::getpid()));
        std::atexit(
            []
            {
                std::error_code ignored;
                fs::remove(ImageFile(), ignored);
            });
        return made;
    }();
    return path;
}

// A small generator of tick spacings, seeded from the image so that a run repeats exactly.
class Spacing
{
public:
    explicit Spacing(std::span<const std::uint8_t> seed)
    {
        for (std::uint8_t b : seed)
            mState = (mState ^ b) * 0x100000001B3u;
    }
    std::uint64_t Next()
    {
        mState ^= mState << 13;
        mState ^= mState >> 7;
        mState ^= mState << 17;
        return mState;
    }

private:
    std::uint64_t mState = 0xCBF29CE484222325u;
};

// Ticks every 100 ms: the start delay's five ticks, block k on tick 6 + k, the end on the next.
void CheckRegularTransfer(const FirmwareImage& image, const BlockMessages& blocks)
{
    FirmwareTransfer transfer;
    const std::optional<FirmwareStartMessage> start = transfer.Begin(image, 0);
    Require(start.has_value() && start->bytes == FirmwareStartFor(image).bytes);
    Require(transfer.Running() && transfer.BlockCount() == image.BlockCount());
    Require(!transfer.Begin(image, 0).has_value());

    std::int64_t now = 0;
    for (int tick = 1; tick <= 5; ++tick)
        Require(transfer.Tick(now += 100).kind == FirmwareTransfer::Step::Kind::kNothing);
    for (int b = 0; b < image.BlockCount(); ++b)
    {
        const FirmwareTransfer::Step step = transfer.Tick(now += 100);
        Require(step.kind == FirmwareTransfer::Step::Kind::kBlock);
        Require(step.blocksSent == b + 1 && step.blockCount == image.BlockCount());
        Require(step.block.bytes == blocks[static_cast<std::size_t>(b)].bytes);
    }
    Require(transfer.Tick(now += 100).kind == FirmwareTransfer::Step::Kind::kFinished);
    Require(!transfer.Running() && transfer.BlocksSent() == image.BlockCount());
    Require(transfer.Tick(now += 100).kind == FirmwareTransfer::Step::Kind::kNothing);
}

// Ticks 0 to 250 ms apart, now and then an Abort and a new start: every transfer that runs to its
// end sends every block once, in order, never closer than the pacing allows.
void CheckUnevenTransfer(const FirmwareImage& image, const BlockMessages& blocks,
                         std::span<const std::uint8_t> bytes)
{
    Spacing spacing(bytes);
    FirmwareTransfer transfer;
    std::int64_t now = 1000;
    const int abortAfter = static_cast<int>(spacing.Next() % (2 * image.BlockCount() + 1));
    bool aborted = false;
    for (int attempt = 0; attempt < 2; ++attempt)
    {
        Require(transfer.Begin(image, now).has_value());
        std::int64_t lastSendMs = now;
        int sent = 0;
        bool finished = false;
        for (int tick = 0; tick < 10 * image.BlockCount() + 100 && !finished; ++tick)
        {
            now += static_cast<std::int64_t>(spacing.Next() % 251);
            const FirmwareTransfer::Step step = transfer.Tick(now);
            if (step.kind == FirmwareTransfer::Step::Kind::kBlock)
            {
                Require(now - lastSendMs >= (sent == 0 ? FirmwareTransfer::kStartDelayMs -
                                                             FirmwareTransfer::kTickToleranceMs
                                                       : FirmwareTransfer::kMinBlockSpacingMs));
                Require(step.block.bytes == blocks[static_cast<std::size_t>(sent)].bytes);
                Require(step.blocksSent == ++sent);
                lastSendMs = now;
                if (!aborted && sent == abortAfter)
                {
                    transfer.Abort();
                    aborted = true;
                    Require(!transfer.Running());
                    Require(transfer.Tick(now += 1000).kind ==
                            FirmwareTransfer::Step::Kind::kNothing);
                    break;
                }
            }
            finished = step.kind == FirmwareTransfer::Step::Kind::kFinished;
        }
        if (finished)
        {
            Require(sent == image.BlockCount() && !transfer.Running());
            return;
        }
        Require(aborted && attempt == 0);
    }
    Require(false);
}

void CheckImage(const FirmwareImage& image, std::span<const std::uint8_t> bytes)
{
    Require(image.PageCount() == static_cast<int>((bytes.size() + 1023) / 1024));
    Require(image.PageCount() >= 1 && image.PageCount() <= 16);
    Require(image.BlockCount() == 16 * image.PageCount());
    for (std::size_t b = 0; b < image.Blocks().size(); ++b)
        Require(image.Blocks()[b] == ReferenceBlock(bytes, b));

    const FirmwareStartMessage start = FirmwareStartFor(image);
    Require(fuzz_support::ClassifyEditorSysEx(start.bytes) == EditorMessage::kFirmwareStart);
    Require(fuzz_support::FirmwareStartPageCount(start.bytes) == image.PageCount());

    const BlockMessages messages = FirmwareBlockMessages(image);
    Require(static_cast<int>(messages.size()) == image.BlockCount());
    for (int b = 0; b < image.BlockCount(); ++b)
    {
        CheckBlockMessage(messages[static_cast<std::size_t>(b)],
                          image.Blocks()[static_cast<std::size_t>(b)]);
        const std::optional<FirmwareBlockMessage> at = FirmwareBlockAt(image, b);
        Require(at && at->bytes == messages[static_cast<std::size_t>(b)].bytes);
        const int percent = FirmwareProgressPercent(b + 1, image.BlockCount());
        Require(percent ==
                static_cast<int>((b + 1) / static_cast<double>(image.BlockCount()) * 100.0));
        Require(FirmwareProgressText(b + 1, image.BlockCount()) == std::to_string(percent) + " %");
    }
    Require(!FirmwareBlockAt(image, -1) && !FirmwareBlockAt(image, image.BlockCount()));

    CheckRegularTransfer(image, messages);
    CheckUnevenTransfer(image, messages, bytes);
}
} // namespace firmware_file_fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace firmware_file_fuzz;
    const std::span<const std::uint8_t> bytes(data, size);
    const FirmwareImageResult encoded = EncodeFirmwareImage(bytes);

    std::ofstream(ImageFile(), std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    const FirmwareImageResult read = ReadFirmwareFile(ImageFile());
    Require(encoded.index() == read.index());

    if (const FirmwareImageError* error = std::get_if<FirmwareImageError>(&encoded))
    {
        Require(*error == (size == 0 ? FirmwareImageError::kEmpty : FirmwareImageError::kTooLarge));
        Require(size == 0 || size >= 16384);
        Require(*std::get_if<FirmwareImageError>(&read) == *error);
        return 0;
    }
    Require(size >= 1 && size < 16384);
    const FirmwareImage& image = std::get<FirmwareImage>(encoded);
    const FirmwareImage& fromFile = std::get<FirmwareImage>(read);
    Require(fromFile.PageCount() == image.PageCount() && fromFile.Blocks() == image.Blocks());
    CheckImage(image, bytes);
    return 0;
}
