#include "device/SeptetPacking.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace
{
using Bytes = std::vector<std::uint8_t>;

Bytes Pack(const Bytes& data)
{
    Bytes out(80, 0xEE);
    const auto written = PackSeptets(data, out);
    EXPECT_TRUE(written);
    out.resize(written.value_or(0));
    return out;
}

// The packing of 64 bytes FF: 73 bytes 7F and a final 40.
std::array<std::uint8_t, 74> PackedAllFF()
{
    std::array<std::uint8_t, 74> packed;
    packed.fill(0x7F);
    packed[73] = 0x40;
    return packed;
}
} // namespace

TEST(SeptetPacking, FullGroupOneToSevenGivesEightBytes)
{
    EXPECT_EQ(Pack({0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07}),
              (Bytes{0x00, 0x40, 0x40, 0x30, 0x20, 0x14, 0x0C, 0x07}));
}

TEST(SeptetPacking, LastGroupOfOneFFGivesTwoBytes)
{
    EXPECT_EQ(Pack({0xFF}), (Bytes{0x7F, 0x40}));
}

TEST(SeptetPacking, BlockOfSixtyFourFFGivesSeventyThree7FAndA40)
{
    const std::array<std::uint8_t, 74> expected = PackedAllFF();
    EXPECT_EQ(Pack(Bytes(64, 0xFF)), Bytes(expected.begin(), expected.end()));
}

TEST(SeptetPacking, LastGroupKeepsOneByteMoreThanItHas)
{
    // 0xAB 0xCD as 56 bits: 10101011 11001101 0...; first three septets 1010101 1110011 0100000.
    EXPECT_EQ(Pack({0xAB, 0xCD}), (Bytes{0x55, 0x73, 0x20}));
}

TEST(SeptetPacking, PackedSizeCountsFullAndPartialGroups)
{
    EXPECT_EQ(PackedSize(0), 0u);
    EXPECT_EQ(PackedSize(1), 2u);
    EXPECT_EQ(PackedSize(6), 7u);
    EXPECT_EQ(PackedSize(7), 8u);
    EXPECT_EQ(PackedSize(8), 10u);
    EXPECT_EQ(PackedSize(63), 72u);
    EXPECT_EQ(PackedSize(64), 74u);
}

TEST(SeptetPacking, EveryLengthWritesExactlyItsPackedSizeOfDataBytes)
{
    for (std::size_t length = 1; length <= 64; ++length)
    {
        const Bytes packed = Pack(Bytes(length, 0xFF));
        EXPECT_EQ(packed.size(), PackedSize(length)) << length;
        for (std::uint8_t b : packed)
            EXPECT_LT(b, 0x80) << length;
    }
}

TEST(SeptetPacking, TooSmallOutputIsRefusedAndLeftUntouched)
{
    Bytes out(73, 0xEE);
    EXPECT_FALSE(PackSeptets(Bytes(64, 0x12), out));
    EXPECT_EQ(out, Bytes(73, 0xEE));
}

TEST(SeptetPacking, PackThenUnpackRestoresRandomDataOfEveryLength)
{
    for (unsigned seed = 1; seed <= 200; ++seed)
    {
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> byte(0, 255);
        for (std::size_t length = 1; length <= 64; ++length)
        {
            Bytes data(length);
            for (auto& b : data)
                b = static_cast<std::uint8_t>(byte(random));

            Bytes packed(74);
            const auto packedCount = PackSeptets(data, packed);
            ASSERT_EQ(packedCount, PackedSize(length));
            packed.resize(*packedCount);

            Bytes unpacked(64, 0xEE);
            const auto unpackedCount = UnpackSeptets(packed, unpacked);
            ASSERT_EQ(unpackedCount, length) << "seed " << seed;
            unpacked.resize(*unpackedCount);
            ASSERT_EQ(unpacked, data) << "seed " << seed << " length " << length;
        }
    }
}

TEST(SeptetUnpacking, ByteWithTopBitSetIsRefused)
{
    Bytes packed(8, 0x00);
    packed[3] = 0x80;
    Bytes out(7, 0xEE);
    EXPECT_FALSE(UnpackSeptets(packed, out));
    EXPECT_EQ(out, Bytes(7, 0xEE));
}

TEST(SeptetUnpacking, LastGroupOfOneByteIsRefused)
{
    Bytes out(64);
    EXPECT_FALSE(UnpackSeptets(Bytes(9, 0x00), out));
    EXPECT_FALSE(UnpackSeptets(Bytes(1, 0x00), out));
}

TEST(SeptetUnpacking, TooSmallOutputIsRefused)
{
    Bytes out(6);
    EXPECT_FALSE(UnpackSeptets(Bytes(8, 0x00), out));
}

TEST(FirmwareBlockPacking, FullBlockFillsAllSeventyFourBytes)
{
    Bytes data(64);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<std::uint8_t>(i * 4 + 1);
    const auto packed = PackFirmwareBlock(data);
    ASSERT_TRUE(packed);
    const auto unpacked = UnpackFirmwareBlock(*packed);
    ASSERT_TRUE(unpacked);
    EXPECT_EQ(Bytes(unpacked->begin(), unpacked->end()), data);
}

TEST(FirmwareBlockPacking, OneByteABSitsOverThePrefill)
{
    const auto packed = PackFirmwareBlock(Bytes{0xAB});
    ASSERT_TRUE(packed);
    std::array<std::uint8_t, 74> expected = PackedAllFF();
    expected[0] = 0x55; // AB >> 1
    expected[1] = 0x40; // low bit of AB, then zero padding
    EXPECT_EQ(*packed, expected);
    EXPECT_EQ(BlockChecksum(*packed), (std::array<std::uint8_t, 2>{0x48, 0x0E}));
}

TEST(FirmwareBlockPacking, EmptyOrOversizedDataIsRefused)
{
    EXPECT_FALSE(PackFirmwareBlock(Bytes{}));
    EXPECT_FALSE(PackFirmwareBlock(Bytes(65, 0x00)));
}

TEST(FirmwareBlockPacking, ShortBlockUnpacksToItsBytesFirst)
{
    const Bytes data{0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, 0xA0};
    const auto unpacked = UnpackFirmwareBlock(*PackFirmwareBlock(data));
    ASSERT_TRUE(unpacked);
    EXPECT_EQ(Bytes(unpacked->begin(), unpacked->begin() + 10), data);
}

TEST(BlockChecksum, AllFFBlockSumsTo9335As4877)
{
    EXPECT_EQ(BlockChecksum(PackedAllFF()), (std::array<std::uint8_t, 2>{0x48, 0x77}));
}

TEST(BlockChecksum, ZeroBlockIsZero)
{
    const std::array<std::uint8_t, 74> zeros{};
    EXPECT_EQ(BlockChecksum(zeros), (std::array<std::uint8_t, 2>{0x00, 0x00}));
}

TEST(BlockChecksum, LargestSumStillFitsFourteenBits)
{
    std::array<std::uint8_t, 74> packed;
    packed.fill(0x7F); // S = 74 * 127 = 9398 = 0x24B6
    EXPECT_EQ(BlockChecksum(packed), (std::array<std::uint8_t, 2>{0x49, 0x36}));
}
