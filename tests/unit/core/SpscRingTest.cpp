#include "core/SpscRing.h"

#include "core/MidiRecords.h"

#include <gtest/gtest.h>

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

    // The SysEx rings are read in place: Peek, then Discard.
    std::vector<int> drained;
    while (const int* oldest = ring.Peek())
    {
        drained.push_back(*oldest);
        EXPECT_TRUE(ring.Discard());
    }
    EXPECT_EQ(drained, (std::vector<int>{3, 4, 5, 6}));
    EXPECT_FALSE(ring.Discard());
    EXPECT_FALSE(ring.Pop(value));
}

TEST(MidiMessageLength, FollowsTheStatusByte)
{
    EXPECT_EQ(MidiMessageLength(0xE0), 3); // pitch bend
    EXPECT_EQ(MidiMessageLength(0xDF), 2); // channel pressure
    EXPECT_EQ(MidiMessageLength(0xF1), 2); // time code quarter frame
    EXPECT_EQ(MidiMessageLength(0xF2), 3); // song position
    EXPECT_EQ(MidiMessageLength(0xF6), 1); // tune request
}
