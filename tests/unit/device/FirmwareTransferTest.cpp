#include "device/FirmwareTransfer.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <iterator>
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

    // A sixth tick up to 10 ms early counts as on time.
    FirmwareTransfer early;
    ASSERT_TRUE(early.Begin(image, 0));
    for (int tick = 1; tick <= 5; ++tick)
        early.Tick(80 * tick);
    EXPECT_EQ(early.Tick(490).kind, Kind::kBlock);
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
    const std::vector<FirmwareBlockMessage> expected = FirmwareBlockMessages(first);
    std::size_t sent = 2;
    for (std::int64_t now = 800; transfer.Running(); now += 100)
        if (const FirmwareTransfer::Step step = transfer.Tick(now); step.kind == Kind::kBlock)
        {
            EXPECT_EQ(step.block.bytes, expected.at(sent++).bytes) << "block " << sent - 1;
        }
    EXPECT_EQ(sent, 16u);

    EXPECT_FALSE(transfer.Begin(FirmwareImage{}, 5000)) << "an image without blocks";
}

TEST(FirmwareTransfer, BlocksKeepTheirScheduleOnAJitteringTimerAndNeverComeCloserThan90Ms)
{
    // Mended: a tick that came 99 ms after the previous block held the next one a whole tick.
    FirmwareTransfer transfer;
    ASSERT_TRUE(transfer.Begin(RandomImage(100, 3), 0));
    const std::int64_t jittering[] = {99, 201, 298, 400, 497, 596, 695, 797, 893, 996};
    for (std::size_t tick = 0; tick < std::size(jittering); ++tick)
        EXPECT_EQ(transfer.Tick(jittering[tick]).kind, tick < 5 ? Kind::kNothing : Kind::kBlock)
            << "tick at " << jittering[tick] << " ms";
    EXPECT_EQ(transfer.BlocksSent(), 5); // block 0 at 596 ms, block k due 100 ms * k after it

    FirmwareTransfer catchingUp;
    ASSERT_TRUE(catchingUp.Begin(RandomImage(100, 3), 0));
    // Six ticks in quick succession end the delay, but block 0 waits for 500 ms after the start.
    for (int tick = 1; tick <= 6; ++tick)
        EXPECT_EQ(catchingUp.Tick(10 * tick).kind, Kind::kNothing);
    EXPECT_EQ(catchingUp.Tick(489).kind, Kind::kNothing);
    EXPECT_EQ(catchingUp.Tick(500).kind, Kind::kBlock);
    EXPECT_EQ(catchingUp.Tick(650).kind, Kind::kBlock);   // a late tick
    EXPECT_EQ(catchingUp.Tick(700).kind, Kind::kNothing); // due, but 50 ms after the last block
    EXPECT_EQ(catchingUp.Tick(740).kind, Kind::kBlock);
    EXPECT_EQ(catchingUp.Tick(800).kind, Kind::kNothing); // 60 ms after the last: held back
    EXPECT_EQ(catchingUp.Tick(830).kind, Kind::kBlock);
    EXPECT_EQ(catchingUp.Tick(880).kind, Kind::kNothing); // not yet due (890 at the earliest)
    EXPECT_EQ(catchingUp.BlocksSent(), 4);
}
