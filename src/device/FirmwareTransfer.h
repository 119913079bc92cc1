#pragma once

#include "device/FirmwareImage.h"
#include "device/SeptetPacking.h"
#include "device/SysExMessages.h"

#include <array>
#include <cstdint>
#include <optional>
#include <string>

// The pacing of one firmware transfer to the box, with neither a port nor a clock of its own: the
// owner sends the Firmware Start that Begin returns, then calls Tick from a periodic 100 ms timer
// and sends whatever block each tick returns, until a tick reports the end.
//
//   FirmwareTransfer transfer;
//   if (auto start = transfer.Begin(image, nowMs)) send(start->Message());
//   every 100 ms: step = transfer.Tick(nowMs);
//     kBlock    -> send(step.block.Message()), show FirmwareProgressText(step.blocksSent, ...)
//     kFinished -> the whole image has gone out; Running() is false again
//
// Timing. The start delay counts five ticks after Begin; block 0 goes out on the sixth, and then
// one block per tick. Each tick passes the owner's monotonic time in milliseconds, and a block is
// held back (to the next tick) while less than 100 ms have passed since the previous block, or
// less than 500 ms since the Firmware Start, so a timer that catches up after a late tick never
// puts two blocks closer than 100 ms. The tick after the last block reports kFinished.
//
// Safety. While a transfer runs, Begin refuses a new image and leaves the store and the count
// alone: a mixture of two images would corrupt the box's firmware. Abort ends a transfer at once
// (the owner reports the failure). The box acknowledges nothing; nothing here waits for it.
//
// Not thread-safe: one thread drives an object (the editor's main thread, or a tool's own loop).
class FirmwareTransfer
{
public:
    // Ticks counted after the Firmware Start before sending begins.
    static constexpr int kStartDelayTicks = 5;
    static constexpr std::int64_t kBlockSpacingMs = 100;
    static constexpr std::int64_t kStartDelayMs = 500;

    // What one tick asks the owner to do.
    struct Step
    {
        enum class Kind
        {
            kNothing,  // idle, the start delay runs, or the next block is held back
            kBlock,    // send `block`
            kFinished, // the last block went out on the previous tick; the transfer is over
        };

        Kind kind = Kind::kNothing;
        FirmwareBlockMessage block{}; // meaningful for kBlock only
        int blocksSent = 0;           // after this step, 0 to blockCount
        int blockCount = 0;           // of the transfer this step belongs to
    };

    // Takes `image` into the store (16 blocks per page, at most 256) and returns the Firmware
    // Start to send now, at `nowMs`. Refused (empty, nothing changes) while a transfer runs, and
    // for an image without blocks: a transfer must carry something.
    std::optional<FirmwareStartMessage> Begin(const FirmwareImage& image, std::int64_t nowMs);

    // One timer tick at `nowMs`, which never goes backwards.
    Step Tick(std::int64_t nowMs);

    // Ends a running transfer without sending anything more. The store stays as it is.
    void Abort();

    // The start delay runs or blocks are being sent.
    bool Running() const { return mFwStartPending || mFwSending; }
    int BlockCount() const { return mFwBlockCount; }
    // Blocks of the current (or last) transfer sent so far.
    int BlocksSent() const { return mFwBlockIndex; }

private:
    // Slot b holds Firmware Block b's 74 data bytes; slots at and beyond mFwBlockCount are zero.
    std::array<PackedBlock, kMaxFirmwareBlocks> mFwBlocks{};
    std::int32_t mFwBlockCount = 0;
    std::int32_t mFwBlockIndex = 0; // next block to send
    bool mFwStartPending = false;   // the start delay runs
    std::int32_t mFwStartTicks = 0; // ticks of the start delay so far
    bool mFwSending = false;
    std::int64_t mLastSendMs = 0; // when the Firmware Start or the latest block went out
};
