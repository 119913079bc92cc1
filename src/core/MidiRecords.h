#pragma once

#include "core/SpscRing.h"

#include <cstdint>
#include <cstring>

// One short MIDI message. For channel messages the high nibble of `status` is the message type and
// the low nibble the channel 0-15; absent data bytes are 0.
struct MidiMessage
{
    std::int32_t offset = 0; // frame offset within the processing block; 0 for incoming messages
    std::uint8_t status = 0;
    std::uint8_t data1 = 0;
    std::uint8_t data2 = 0;

    int Channel() const { return status & 0x0F; }
    int StatusNibble() const { return status >> 4; }
    bool operator==(const MidiMessage&) const = default;
};

// The number of bytes a short message with this status byte has on the wire: 2 for program change,
// channel pressure, time code quarter frame and song select; 1 for tune request and the real-time
// messages; 3 otherwise.
constexpr int MidiMessageLength(std::uint8_t status)
{
    switch (status >> 4)
    {
    case 0xC:
    case 0xD:
        return 2;
    case 0xF:
        if (status == 0xF1 || status == 0xF3)
            return 2;
        if (status == 0xF6 || status >= 0xF8)
            return 1;
        return 3;
    default:
        return 3;
    }
}

// A SysEx message as handed to a handler or to the sender. The bytes are not owned and are valid
// only during the call that receives the record.
struct SysExMessage
{
    std::int32_t offset = 0;
    std::int32_t size = 0; // bytes at `data`, including the leading F0 and the trailing F7
    const std::uint8_t* data = nullptr;
};

// A SysEx message as it waits in a ring: a fixed buffer, so queuing never allocates.
struct SysExBlock
{
    static constexpr int kMaxBytes = 512;

    std::int32_t offset = 0;
    std::int32_t size = 0;
    std::uint8_t bytes[kMaxBytes] = {};

    // False, and the block left unchanged, when `size` is not within 1 .. kMaxBytes.
    bool Assign(const std::uint8_t* data, std::size_t size_, std::int32_t offset_ = 0)
    {
        if (size_ == 0 || size_ > static_cast<std::size_t>(kMaxBytes))
            return false;
        std::memcpy(bytes, data, size_);
        size = static_cast<std::int32_t>(size_);
        offset = offset_;
        return true;
    }

    SysExMessage Message() const { return {offset, size, bytes}; }
};

// The four rings between the MIDI input thread, the pump thread and the main thread. The SysEx
// rings hold a burst of 64 between two 20 ms ticks (a foreign device's dump on the box's port),
// so that the box's reply within it still gets through.
using MidiFromPortQueue = SpscRing<MidiMessage, 32>; // MIDI input thread -> pump thread
using SysExFromPortQueue = SpscRing<SysExBlock, 32>; // MIDI input thread -> pump thread
using MidiToViewQueue = SpscRing<MidiMessage, 32>;   // pump thread -> main thread
using SysExToViewQueue = SpscRing<SysExBlock, 32>;   // pump thread -> main thread
