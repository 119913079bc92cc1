#include "core/SpscRing.h"

#include <gtest/gtest.h>
#include <thread>

namespace
{
struct Entry
{
    std::uint32_t sequence;
    std::uint32_t check; // derived from the sequence, so a torn or stale slot shows
};

constexpr std::uint32_t Check(std::uint32_t sequence)
{
    return sequence * 2654435761u ^ 0xA5A5A5A5u;
}
} // namespace

TEST(SpscRingThreads, AMillionEntriesCrossThreadsInOrderAndIntact)
{
    constexpr std::uint32_t kCount = 1'000'000;
    auto ring = std::make_unique<SpscRing<Entry, 32>>();

    std::thread producer(
        [&ring]
        {
            for (std::uint32_t i = 0; i < kCount;)
            {
                if (ring->Push({i, Check(i)}))
                    ++i;
                else
                    std::this_thread::yield();
            }
        });

    std::uint32_t expected = 0;
    std::uint32_t faults = 0;
    Entry entry{};
    while (expected < kCount)
    {
        if (!ring->Pop(entry))
        {
            std::this_thread::yield();
            continue;
        }
        if (entry.sequence != expected || entry.check != Check(expected))
            ++faults;
        ++expected;
    }
    producer.join();

    EXPECT_EQ(faults, 0u);
    EXPECT_TRUE(ring->Empty());
}
