#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>

namespace fuzz_support
{
// Ends the run with a finding (libFuzzer saves the input) when a contract is broken.
inline void Require(bool condition)
{
    if (!condition)
        std::abort();
}

// Reads a fuzz input from its start as a stream of choices. Past the end every byte reads as 0 and
// every run of bytes is empty, so a decoder never reads outside the input; Empty() tells it to
// stop. The bytes are not owned and must outlive the reader.
class FuzzInput
{
public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : mData(data), mSize(size) {}

    bool Empty() const { return mPos >= mSize; }
    std::size_t Remaining() const { return mSize - mPos; }

    std::uint8_t TakeByte() { return Empty() ? 0 : mData[mPos++]; }
    // Two bytes, the first the high one.
    std::uint16_t TakeU16()
    {
        const auto high = static_cast<std::uint16_t>(TakeByte() << 8);
        return static_cast<std::uint16_t>(high | TakeByte());
    }
    // `count` bytes, or fewer when the input ends first.
    std::span<const std::uint8_t> TakeBytes(std::size_t count)
    {
        const std::size_t taken = count < Remaining() ? count : Remaining();
        const std::span<const std::uint8_t> bytes(mData + mPos, taken);
        mPos += taken;
        return bytes;
    }
    // A text of a length given by the next byte (0 to `maxLength`), then that many bytes.
    std::string TakeText(std::size_t maxLength)
    {
        const std::size_t length = TakeByte() % (maxLength + 1);
        const std::span<const std::uint8_t> bytes = TakeBytes(length);
        return std::string(bytes.begin(), bytes.end());
    }

private:
    const std::uint8_t* mData;
    std::size_t mSize;
    std::size_t mPos = 0;
};
} // namespace fuzz_support
