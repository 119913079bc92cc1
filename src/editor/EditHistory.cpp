#include "editor/EditHistory.h"

#include <utility>

void EditHistory::Record(EditStep step)
{
    mUndone.clear();
    mDone.push_back(std::move(step));
    if (mDone.size() > kMaxSteps)
        mDone.pop_front();
}

void EditHistory::Clear()
{
    mDone.clear();
    mUndone.clear();
}

namespace
{
// Moves the last step of `from` to the end of `to` and returns a copy; empty when `from` is.
template <typename From, typename To>
std::optional<EditStep> MoveLastStep(From& from, To& to)
{
    if (from.empty())
        return std::nullopt;
    to.push_back(std::move(from.back()));
    from.pop_back();
    return to.back();
}
} // namespace

std::optional<EditStep> EditHistory::TakeUndo()
{
    return MoveLastStep(mDone, mUndone);
}

std::optional<EditStep> EditHistory::TakeRedo()
{
    return MoveLastStep(mUndone, mDone);
}
