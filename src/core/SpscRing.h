#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <type_traits>

// A fixed-capacity ring that hands entries from exactly one producer thread to exactly one
// consumer thread without locks or allocation.
//
// It has Capacity + 1 slots and holds at most Capacity entries. The producer owns the write index
// and the consumer the read index; each publishes its index with release ordering only after the
// slot it covers has been written or read, and reads the other's index with acquire ordering.
// A push onto a full ring drops the new entry and returns false; nothing else is reported.
//
// The slots live inside the object, so a ring of large entries should itself live on the heap.
template <typename T, std::size_t Capacity>
class SpscRing
{
    static_assert(Capacity > 0, "a ring holds at least one entry");
    static_assert(std::is_trivially_copyable_v<T>, "entries are copied byte for byte");

public:
    static constexpr std::size_t kCapacity = Capacity;

    // [producer thread] Copies `entry` in; false (and nothing stored) when the ring is full.
    bool Push(const T& entry) noexcept
    {
        const std::size_t write = mWrite.load(std::memory_order_relaxed);
        const std::size_t next = Next(write);
        if (next == mRead.load(std::memory_order_acquire))
            return false;
        mSlots[write] = entry;
        mWrite.store(next, std::memory_order_release);
        return true;
    }

    // [producer thread] True when a Push now would fail; only the consumer can make room.
    bool Full() const noexcept
    {
        return Next(mWrite.load(std::memory_order_relaxed)) ==
               mRead.load(std::memory_order_acquire);
    }

    // [consumer thread] Copies the oldest entry out; false when the ring is empty.
    bool Pop(T& entry) noexcept
    {
        const std::size_t read = mRead.load(std::memory_order_relaxed);
        if (read == mWrite.load(std::memory_order_acquire))
            return false;
        entry = mSlots[read];
        mRead.store(Next(read), std::memory_order_release);
        return true;
    }

    // [consumer thread] The oldest entry without taking it, or nullptr when the ring is empty.
    // The pointer stays valid until the consumer's next Pop().
    const T* Peek() const noexcept
    {
        const std::size_t read = mRead.load(std::memory_order_relaxed);
        if (read == mWrite.load(std::memory_order_acquire))
            return nullptr;
        return &mSlots[read];
    }

    // [consumer thread] Removes the oldest entry; false when the ring is empty.
    bool Discard() noexcept
    {
        const std::size_t read = mRead.load(std::memory_order_relaxed);
        if (read == mWrite.load(std::memory_order_acquire))
            return false;
        mRead.store(Next(read), std::memory_order_release);
        return true;
    }

    // [any thread] A snapshot; exact only on a thread that owns one of the indices and while the
    // other side is idle.
    bool Empty() const noexcept
    {
        return mRead.load(std::memory_order_acquire) == mWrite.load(std::memory_order_acquire);
    }

    // [any thread] A snapshot, as Empty().
    std::size_t Size() const noexcept
    {
        const std::size_t write = mWrite.load(std::memory_order_acquire);
        const std::size_t read = mRead.load(std::memory_order_acquire);
        return write >= read ? write - read : write + kSlots - read;
    }

private:
    static constexpr std::size_t kSlots = Capacity + 1;
    static constexpr std::size_t Next(std::size_t index) noexcept
    {
        return index + 1 == kSlots ? 0 : index + 1;
    }

    // The two indices sit on separate cache lines so the threads do not contend for one.
    alignas(64) std::atomic<std::size_t> mWrite{0};
    alignas(64) std::atomic<std::size_t> mRead{0};
    alignas(64) std::array<T, kSlots> mSlots{};
};
