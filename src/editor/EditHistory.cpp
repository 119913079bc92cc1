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

std::optional<EditStep> EditHistory::TakeUndo()
{
    if (mDone.empty())
        return std::nullopt;
    mUndone.push_back(std::move(mDone.back()));
    mDone.pop_back();
    return mUndone.back();
}

std::optional<EditStep> EditHistory::TakeRedo()
{
    if (mUndone.empty())
        return std::nullopt;
    mDone.push_back(std::move(mUndone.back()));
    mUndone.pop_back();
    return mDone.back();
}
