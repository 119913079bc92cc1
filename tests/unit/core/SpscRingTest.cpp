#include "core/SpscRing.h"

#include "core/MidiRecords.h"
#include "core/ParamChange.h"

#include <gtest/gtest.h>

TEST(SpscRing, HoldsCapacityEntriesAndDropsTheNewOneWhenFull)
{
    auto ring = std::make_unique<ParamToViewQueue>(); // 513 slots
    for (int i = 0; i < 600; ++i)
        ring->Push({i, static_cast<double>(i)});
    EXPECT_EQ(ring->Size(), 512u);

    ParamChange change;
    int popped = 0;
    while (ring->Pop(change))
    {
        EXPECT_EQ(change.idx, popped); // the first 512 survive, in order
        ++popped;
    }
    EXPECT_EQ(popped, 512);
    EXPECT_TRUE(ring->Empty());
}

TEST(SpscRing, DrainsCompletelyAfterTheWriteIndexHasWrapped)
{
    SpscRing<int, 4> ring; // 5 slots
    int value = 0;
    for (int i = 0; i < 4; ++i)
        ASSERT_TRUE(ring.Push(i));
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(ring.Pop(value));
    // The write index wraps to a slot below the read index while entries wait.
    for (int i = 4; i < 7; ++i)
        ASSERT_TRUE(ring.Push(i));
    EXPECT_FALSE(ring.Push(99));

    std::vector<int> drained;
    while (ring.Pop(value))
        drained.push_back(value);
    EXPECT_EQ(drained, (std::vector<int>{3, 4, 5, 6}));
    EXPECT_FALSE(ring.Pop(value));
}

TEST(SpscRing, PeekAndDiscardHandleAnEntryInPlace)
{
    SpscRing<int, 2> ring;
    EXPECT_EQ(ring.Peek(), nullptr);
    EXPECT_FALSE(ring.Discard());
    ring.Push(7);
    ring.Push(8);
    ASSERT_NE(ring.Peek(), nullptr);
    EXPECT_EQ(*ring.Peek(), 7);
    EXPECT_TRUE(ring.Discard());
    EXPECT_EQ(*ring.Peek(), 8);
    EXPECT_EQ(ring.Size(), 1u);
}

TEST(SysExBlock, AcceptsOneTo512BytesAndRefusesTheRestUnchanged)
{
    SysExBlock block;
    std::vector<std::uint8_t> bytes(513, 0x11);
    EXPECT_TRUE(block.Assign(bytes.data(), 512));
    EXPECT_EQ(block.size, 512);
    EXPECT_FALSE(block.Assign(bytes.data(), 513));
    EXPECT_FALSE(block.Assign(bytes.data(), 0));
    EXPECT_EQ(block.size, 512);
    const SysExMessage msg = block.Message();
    EXPECT_EQ(msg.size, 512);
    EXPECT_EQ(msg.data, block.bytes);
}

TEST(MidiMessageLength, FollowsTheStatusByte)
{
    EXPECT_EQ(MidiMessageLength(0x90), 3); // note on
    EXPECT_EQ(MidiMessageLength(0xB3), 3); // control change
    EXPECT_EQ(MidiMessageLength(0xE0), 3); // pitch bend
    EXPECT_EQ(MidiMessageLength(0xC0), 2); // program change
    EXPECT_EQ(MidiMessageLength(0xDF), 2); // channel pressure
    EXPECT_EQ(MidiMessageLength(0xF1), 2); // time code quarter frame
    EXPECT_EQ(MidiMessageLength(0xF2), 3); // song position
    EXPECT_EQ(MidiMessageLength(0xF3), 2); // song select
    EXPECT_EQ(MidiMessageLength(0xF6), 1); // tune request
    EXPECT_EQ(MidiMessageLength(0xFA), 1); // start
    EXPECT_EQ(MidiMessageLength(0xFE), 1); // active sensing
}
