#include "device/FirmwareImage.h"

#include "support/TempFolder.h"

#include <algorithm>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

Bytes RandomImage(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    Bytes image(size);
    for (std::uint8_t& b : image)
        b = static_cast<std::uint8_t>(random());
    return image;
}

// The image, or an empty one and a failed expectation when it was refused.
FirmwareImage ImageOf(const FirmwareImageResult& result)
{
    const FirmwareImage* image = std::get_if<FirmwareImage>(&result);
    EXPECT_TRUE(image) << "refused";
    return image ? *image : FirmwareImage{};
}

std::optional<FirmwareImageError> ErrorOf(const FirmwareImageResult& result)
{
    if (const FirmwareImageError* error = std::get_if<FirmwareImageError>(&result))
        return *error;
    return std::nullopt;
}

// The packing of 64 bytes FF.
PackedBlock Prefill()
{
    PackedBlock block;
    block.fill(0x7F);
    block[73] = 0x40;
    return block;
}

// What the box rebuilds from the blocks: every block unpacked, in order.
Bytes Unpacked(const FirmwareImage& image)
{
    Bytes bytes;
    for (const PackedBlock& block : image.Blocks())
    {
        const auto data = UnpackFirmwareBlock(block);
        EXPECT_TRUE(data);
        if (data)
            bytes.insert(bytes.end(), data->begin(), data->end());
    }
    return bytes;
}

// True when `rebuilt` (whole pages) starts with `file` and every block after the one that holds the
// file's last byte is all FF. (The rest of that block is the pre-fill packed after a short group,
// so it does not unpack to FF.)
::testing::AssertionResult RebuildsTo(const Bytes& rebuilt, const Bytes& file)
{
    const std::size_t pages = (file.size() + 1023) / 1024;
    if (rebuilt.size() != pages * 1024)
        return ::testing::AssertionFailure()
               << rebuilt.size() << " bytes for " << pages << " pages";
    if (!std::equal(file.begin(), file.end(), rebuilt.begin()))
        return ::testing::AssertionFailure() << "the image's bytes differ";
    const std::size_t filledBlocksEnd = (file.size() + 63) / 64 * 64;
    if (!std::all_of(rebuilt.begin() + static_cast<std::ptrdiff_t>(filledBlocksEnd), rebuilt.end(),
                     [](std::uint8_t b) { return b == 0xFF; }))
        return ::testing::AssertionFailure() << "a block beyond the image is not all FF";
    return ::testing::AssertionSuccess();
}
} // namespace

TEST(FirmwareImage, OneByteABIsOnePageWhoseFirstBlockStartsWith5540)
{
    const Bytes file{0xAB};
    const FirmwareImage image = ImageOf(EncodeFirmwareImage(file));
    EXPECT_EQ(image.PageCount(), 1);
    ASSERT_EQ(image.BlockCount(), 16);

    PackedBlock first = Prefill();
    first[0] = 0x55; // AB >> 1
    first[1] = 0x40; // AB's low bit, at the top of the second septet
    EXPECT_EQ(image.Blocks()[0], first);
    for (int b = 1; b < 16; ++b)
        EXPECT_EQ(image.Blocks()[static_cast<std::size_t>(b)], Prefill()) << b;

    const std::vector<FirmwareBlockMessage> messages = FirmwareBlockMessages(image);
    ASSERT_EQ(messages.size(), 16u);
    EXPECT_EQ(messages[0].bytes[82], 0x48); // block 0's sum, 9230: high seven bits
    EXPECT_EQ(messages[0].bytes[83], 0x0E); // low seven bits
}

TEST(FirmwareImage, EveryImageSizeUnpacksToItsBytesAndFFBeyondThem)
{
    for (std::size_t size : {7u, 8u, 64u, 65u, 1024u, 1025u, 5000u, 16383u})
    {
        const Bytes file = RandomImage(size, static_cast<unsigned>(size));
        const FirmwareImage image = ImageOf(EncodeFirmwareImage(file));
        const int pages = static_cast<int>((size + 1023) / 1024);
        EXPECT_EQ(image.PageCount(), pages) << size;
        EXPECT_EQ(image.BlockCount(), pages * 16) << size;
        EXPECT_EQ(FirmwareStartFor(image).bytes[10], pages) << size; // page count
        EXPECT_TRUE(RebuildsTo(Unpacked(image), file)) << size;
    }
}

TEST(FirmwareImage, EmptyAndOversizedImagesAreRefusedAndBlocksOutsideTheImageGiveNoMessage)
{
    EXPECT_EQ(ErrorOf(EncodeFirmwareImage({})), FirmwareImageError::kEmpty);
    EXPECT_EQ(ErrorOf(EncodeFirmwareImage(Bytes(16384, 0))), FirmwareImageError::kTooLarge);
    const FirmwareImage image = ImageOf(EncodeFirmwareImage(Bytes{0xAB}));
    EXPECT_FALSE(FirmwareBlockAt(image, -1));
    EXPECT_FALSE(FirmwareBlockAt(image, 16));
    EXPECT_FALSE(FirmwareBlockAt(FirmwareImage{}, 0));
}

TEST(FirmwareFile, FilesAreReadWholeAndRefusedByTheSameRules)
{
    testfiles::TempFolder folder;
    const auto write = [&](const char* name, std::size_t size)
    {
        const Bytes bytes = RandomImage(size, 9);
        testfiles::WriteBytes(folder.Path() / name,
                              {reinterpret_cast<const char*>(bytes.data()), bytes.size()});
        return folder.Path() / name;
    };

    const FirmwareImageResult read = ReadFirmwareFile(write("fw1025.bin", 1025));
    EXPECT_TRUE(RebuildsTo(Unpacked(ImageOf(read)), RandomImage(1025, 9)));
    EXPECT_EQ(ErrorOf(ReadFirmwareFile(write("fw0.bin", 0))), FirmwareImageError::kEmpty);
    EXPECT_EQ(ErrorOf(ReadFirmwareFile(write("fw16384.bin", 16384))),
              FirmwareImageError::kTooLarge);
    EXPECT_EQ(ErrorOf(ReadFirmwareFile(folder.Path() / "none.bin")),
              FirmwareImageError::kCannotOpen);
}

TEST(FirmwareProgress, PercentIsTruncatedAndStaysWithinZeroToHundred)
{
    // sent, total: percent
    const int cases[][3] = {{1, 16, 6},  {4, 16, 25},    {8, 16, 50}, {15, 16, 93},  {16, 16, 100},
                            {1, 256, 0}, {255, 256, 99}, {0, 0, 0},   {17, 16, 100}, {-1, 16, 0}};
    for (const auto& c : cases)
    {
        EXPECT_EQ(FirmwareProgressPercent(c[0], c[1]), c[2]) << c[0] << "/" << c[1];
        EXPECT_EQ(FirmwareProgressText(c[0], c[1]), std::to_string(c[2]) + " %");
    }
}
