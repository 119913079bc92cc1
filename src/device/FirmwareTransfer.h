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
// Timing. The start delay counts five ticks after Begin; block 0 goes out on the sixth, no earlier
// than 500 ms after the Firmware Start. From then on the blocks keep a schedule: block k is due
// k * 100 ms after block 0. A tick sends the next block when it is due, or at most
// kTickToleranceMs early (a jittering 100 ms timer then never holds a block back a whole tick),
// and never less than kMinBlockSpacingMs after the previous block (a timer that catches up after
// a late tick never crowds the box). Times are the owner's monotonic clock in milliseconds. The
// tick after the last block reports kFinished.
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
    // Block 0 goes out no earlier than this after the Firmware Start (less the tolerance).
    static constexpr std::int64_t kStartDelayMs = 500;
    // Block k is due this many milliseconds times k after block 0.
    static constexpr std::int64_t kBlockSpacingMs = 100;
    // How early a tick may come and still count as on time.
    static constexpr std::int64_t kTickToleranceMs = 10;
    // No two blocks ever closer than this.
    static constexpr std::int64_t kMinBlockSpacingMs = 90;

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
    // The block at mFwBlockIndex may go out at `nowMs` (see Timing above).
    bool NextBlockDue(std::int64_t nowMs) const;

    // Slot b holds Firmware Block b's 74 data bytes; slots at and beyond mFwBlockCount are zero.
    std::array<PackedBlock, kMaxFirmwareBlocks> mFwBlocks{};
    std::int32_t mFwBlockCount = 0;
    std::int32_t mFwBlockIndex = 0; // next block to send
    bool mFwStartPending = false;   // the start delay runs
    std::int32_t mFwStartTicks = 0; // ticks of the start delay so far
    bool mFwSending = false;
    std::int64_t mStartMs = 0;      // when the Firmware Start went out
    std::int64_t mFirstBlockMs = 0; // when block 0 went out: the schedule's origin
    std::int64_t mLastSendMs = 0;   // when the latest block went out
};
