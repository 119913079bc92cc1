#include "device/FirmwareTransfer.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <random>
#include <vector>

namespace firmware_transfer_test
{
using Kind = FirmwareTransfer::Step::Kind;

FirmwareImage RandomImage(std::size_t size, unsigned seed)
{
    std::mt19937 random(seed);
    std::vector<std::uint8_t> bytes(size);
    for (std::uint8_t& b : bytes)
        b = static_cast<std::uint8_t>(random());
    return std::get<FirmwareImage>(EncodeFirmwareImage(bytes));
}

// Ticks every 100 ms from `fromMs` until the transfer finishes; the blocks in the order sent.
std::vector<FirmwareBlockMessage> RunToEnd(FirmwareTransfer& transfer, std::int64_t fromMs)
{
    std::vector<FirmwareBlockMessage> sent;
    for (std::int64_t now = fromMs; transfer.Running(); now += 100)
    {
        const FirmwareTransfer::Step step = transfer.Tick(now);
        if (step.kind == Kind::kBlock)
            sent.push_back(step.block);
    }
    return sent;
}
} // namespace firmware_transfer_test

using namespace firmware_transfer_test;

TEST(FirmwareTransfer, BlockZeroGoesOnTheSixthTickThenOnePerTickAndTheTickAfterTheLastFinishes)
{
    const FirmwareImage image = RandomImage(1025, 7); // 2 pages, 32 blocks
    FirmwareTransfer transfer;
    const std::optional<FirmwareStartMessage> start = transfer.Begin(image, 0);
    ASSERT_TRUE(start);
    EXPECT_EQ(start->bytes[kFirmwarePageCountOffset], 2);

    for (int tick = 1; tick <= 5; ++tick)
        EXPECT_EQ(transfer.Tick(100 * tick).kind, Kind::kNothing) << "tick " << tick;
    const std::vector<FirmwareBlockMessage> expected = FirmwareBlockMessages(image);
    for (int block = 0; block < 32; ++block)
    {
        const FirmwareTransfer::Step step = transfer.Tick(600 + 100 * block);
        ASSERT_EQ(step.kind, Kind::kBlock) << "block " << block;
        EXPECT_EQ(step.block.bytes, expected[static_cast<std::size_t>(block)].bytes);
        EXPECT_EQ(step.blocksSent, block + 1);
        EXPECT_EQ(step.blockCount, 32);
    }
    EXPECT_TRUE(transfer.Running());
    EXPECT_EQ(transfer.Tick(3800).kind, Kind::kFinished);
    EXPECT_FALSE(transfer.Running());
    EXPECT_EQ(transfer.Tick(3900).kind, Kind::kNothing);
}

TEST(FirmwareTransfer, NewImageWhileRunningIsRefusedAndTheRunningImageGoesOutWhole)
{
    const FirmwareImage first = RandomImage(1, 1);
    FirmwareTransfer transfer;
    ASSERT_TRUE(transfer.Begin(first, 0));
    for (int tick = 1; tick <= 7; ++tick) // two blocks out
        transfer.Tick(100 * tick);
    ASSERT_EQ(transfer.BlocksSent(), 2);

    EXPECT_FALSE(transfer.Begin(RandomImage(5000, 2), 750)); // 80 blocks: must not mix in
    EXPECT_EQ(transfer.BlockCount(), 16);
    std::vector<FirmwareBlockMessage> rest = RunToEnd(transfer, 800);
    const std::vector<FirmwareBlockMessage> expected = FirmwareBlockMessages(first);
    ASSERT_EQ(rest.size(), 14u);
    for (std::size_t b = 0; b < rest.size(); ++b)
        EXPECT_EQ(rest[b].bytes, expected[b + 2].bytes) << "block " << b + 2;

    EXPECT_FALSE(transfer.Begin(FirmwareImage{}, 5000)) << "an image without blocks";
}

TEST(FirmwareTransfer, TicksThatCatchUpNeverPutTwoBlocksCloserThan100Ms)
{
    FirmwareTransfer transfer;
    ASSERT_TRUE(transfer.Begin(RandomImage(100, 3), 0));
    // Six ticks in quick succession end the delay, but block 0 waits for 500 ms after the start.
    for (int tick = 1; tick <= 6; ++tick)
        EXPECT_EQ(transfer.Tick(10 * tick).kind, Kind::kNothing);
    EXPECT_EQ(transfer.Tick(500).kind, Kind::kBlock);
    EXPECT_EQ(transfer.Tick(630).kind, Kind::kBlock);   // a late tick
    EXPECT_EQ(transfer.Tick(700).kind, Kind::kNothing); // 70 ms after it: held back
    EXPECT_EQ(transfer.Tick(730).kind, Kind::kBlock);
    EXPECT_EQ(transfer.BlocksSent(), 3);
}
