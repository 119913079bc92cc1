#pragma once

#include <cstdint>
#include <utility>

// Tells the box's two modes apart after a first Status Reply. A box in Interface Mode answers the
// confirming Status Request that follows; in Standalone Mode it answers nothing more. The caller
// passes its own clock in, in whatever unit it counts: the editor counts its device timer's ticks,
// `stomplet` milliseconds. [one thread: the caller's]
class ModeDecision
{
public:
    // Standalone Mode is concluded once more than `window` clock units have passed since the
    // confirming request without an answer.
    explicit constexpr ModeDecision(std::int64_t window) : mWindow(window) {}

    // The confirming request went out at `now`.
    void Await(std::int64_t now)
    {
        mAwaiting = true;
        mSince = now;
    }
    // Nothing is awaited any more (a new port, or a request whose reply must be applied instead).
    void Cancel() { mAwaiting = false; }
    bool Awaiting() const { return mAwaiting; }

    // A Status Reply arrived: true when it is the awaited confirmation (Interface Mode), which
    // ends the wait; false when nothing was awaited.
    bool Confirm() { return std::exchange(mAwaiting, false); }
    // True, once, when at `now` the window has passed without a confirmation (Standalone Mode);
    // the wait then ends.
    bool Expired(std::int64_t now)
    {
        if (!mAwaiting || now - mSince <= mWindow)
            return false;
        mAwaiting = false;
        return true;
    }

private:
    std::int64_t mWindow;
    bool mAwaiting = false;
    std::int64_t mSince = 0;
};
