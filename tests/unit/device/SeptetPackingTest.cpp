#include "device/SeptetPacking.h"

#include <array>
#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <utility>
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

TEST(SeptetPacking, GroupsOfSevenBytesBecomeEightAndTheLastGroupOneByteMoreThanItHas)
{
    const std::array<std::uint8_t, 74> allFF = PackedAllFF();
    struct Case
    {
        const char* what;
        Bytes data;
        Bytes packed;
    };
    const Case cases[] = {
        {"full group 1 to 7",
         {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07},
         {0x00, 0x40, 0x40, 0x30, 0x20, 0x14, 0x0C, 0x07}},
        {"last group of one FF", {0xFF}, {0x7F, 0x40}},
        // AB CD as 56 bits: 10101011 11001101 0...; first three septets 1010101 1110011 0100000.
        {"last group of two", {0xAB, 0xCD}, {0x55, 0x73, 0x20}},
        {"block of 64 FF", Bytes(64, 0xFF), Bytes(allFF.begin(), allFF.end())},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Pack(c.data), c.packed) << c.what;

    // Size in: size out, counting full and partial groups.
    const std::pair<std::size_t, std::size_t> sizes[] = {{0, 0}, {1, 2}, {7, 8}, {8, 10}, {64, 74}};
    for (const auto& [in, out] : sizes)
        EXPECT_EQ(PackedSize(in), out) << in;
}

// Also proves every packed byte is a data byte: unpacking refuses any other.
TEST(SeptetPacking, PackThenUnpackRestoresRandomDataOfEveryLength)
{
    for (unsigned seed = 1; seed <= 20; ++seed)
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

TEST(SeptetPacking, TopBitsShortGroupsTooMuchDataAndTooSmallOutputsAreRefusedUntouched)
{
    Bytes out(73, 0xEE);
    EXPECT_FALSE(PackSeptets(Bytes(64, 0x12), out));
    EXPECT_EQ(out, Bytes(73, 0xEE));
    Bytes packed(8, 0x00);
    packed[3] = 0x80;
    Bytes unpacked(7, 0xEE);
    EXPECT_FALSE(UnpackSeptets(packed, unpacked));
    EXPECT_EQ(unpacked, Bytes(7, 0xEE));
    Bytes large(64);
    EXPECT_FALSE(UnpackSeptets(Bytes(9, 0x00), large)); // last group of one byte
    Bytes small(6);
    EXPECT_FALSE(UnpackSeptets(Bytes(8, 0x00), small));
    EXPECT_FALSE(PackFirmwareBlock(Bytes{}));
    EXPECT_FALSE(PackFirmwareBlock(Bytes(65, 0x00)));
}

TEST(BlockChecksum, SumOfThePackedBytesAsHighAndLowSevenBits)
{
    using Checksum = std::array<std::uint8_t, 2>;
    std::array<std::uint8_t, 74> packed{};
    EXPECT_EQ(BlockChecksum(packed), (Checksum{0x00, 0x00}));        // zero block
    EXPECT_EQ(BlockChecksum(PackedAllFF()), (Checksum{0x48, 0x77})); // 9335
    packed.fill(0x7F); // the largest sum, 74 * 127 = 9398, still fits fourteen bits
    EXPECT_EQ(BlockChecksum(packed), (Checksum{0x49, 0x36}));
}
