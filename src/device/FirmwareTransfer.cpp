#include "device/FirmwareTransfer.h"

#include <algorithm>
#include <cassert>

std::optional<FirmwareStartMessage> FirmwareTransfer::Begin(const FirmwareImage& image,
                                                            std::int64_t nowMs)
{
    if (Running() || image.BlockCount() <= 0 || image.BlockCount() > kMaxFirmwareBlocks)
        return std::nullopt;

    mFwBlocks.fill(PackedBlock{});
    std::copy(image.Blocks().begin(), image.Blocks().end(), mFwBlocks.begin());
    mFwBlockCount = image.BlockCount();
    mFwBlockIndex = 0;
    mFwStartPending = true;
    mFwStartTicks = 0;
    mFwSending = false;
    mStartMs = nowMs;
    mFirstBlockMs = nowMs;
    mLastSendMs = nowMs;
    return FirmwareStartFor(image);
}

FirmwareTransfer::Step FirmwareTransfer::Tick(std::int64_t nowMs)
{
    if (mFwStartPending)
    {
        if (mFwStartTicks < kStartDelayTicks)
        {
            ++mFwStartTicks;
        }
        else
        {
            mFwStartTicks = 0;
            mFwSending = true;
            mFwStartPending = false;
            mFwBlockIndex = 0;
        }
    }

    Step step;
    step.blocksSent = mFwBlockIndex;
    step.blockCount = mFwBlockCount;
    if (!mFwSending)
        return step;

    if (mFwBlockIndex >= mFwBlockCount)
    {
        mFwSending = false;
        step.kind = Step::Kind::kFinished;
        return step;
    }

    if (!NextBlockDue(nowMs))
        return step;

    const std::optional<FirmwareBlockMessage> block =
        BuildFirmwareBlock(mFwBlocks[static_cast<std::size_t>(mFwBlockIndex)]);
    assert(block && "the store holds packed data bytes only");
    if (!block)
    {
        Abort();
        return step;
    }
    if (mFwBlockIndex == 0)
        mFirstBlockMs = nowMs;
    ++mFwBlockIndex;
    mLastSendMs = nowMs;
    step.kind = Step::Kind::kBlock;
    step.block = *block;
    step.blocksSent = mFwBlockIndex;
    return step;
}

bool FirmwareTransfer::NextBlockDue(std::int64_t nowMs) const
{
    if (mFwBlockIndex == 0)
        return nowMs - mStartMs >= kStartDelayMs - kTickToleranceMs;
    const std::int64_t dueMs = mFirstBlockMs + mFwBlockIndex * kBlockSpacingMs;
    return nowMs >= dueMs - kTickToleranceMs && nowMs - mLastSendMs >= kMinBlockSpacingMs;
}

void FirmwareTransfer::Abort()
{
    mFwStartPending = false;
    mFwStartTicks = 0;
    mFwSending = false;
}
