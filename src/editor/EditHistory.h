#pragma once

#include "device/SettingBytes.h"

#include <cstddef>
#include <deque>
#include <optional>
#include <string>
#include <vector>

// One undoable step: the settings before and after one gesture of the user (a drag of a number
// box, a menu choice, a key) or a preset load.
struct EditStep
{
    std::string name; // what the menu names: the setting's name, or "Load Preset"
    SettingBytes before{};
    SettingBytes after{};
    // The step replaced every setting at once (a preset): it goes to the box as one All Settings
    // message, not as Single Setting edits.
    bool wholeSet = false;
};

// The editor's undo and redo history, at most kMaxSteps steps deep; the oldest step goes first.
// Recording a step forgets whatever could be redone. [main thread]
class EditHistory
{
public:
    static constexpr std::size_t kMaxSteps = 300;

    void Record(EditStep step);
    void Clear();

    // The step Undo or Redo would take back or do again, or nullptr.
    const EditStep* NextUndo() const { return mDone.empty() ? nullptr : &mDone.back(); }
    const EditStep* NextRedo() const { return mUndone.empty() ? nullptr : &mUndone.back(); }
    // Moves the step over to the other side and returns it; empty when there is none.
    std::optional<EditStep> TakeUndo();
    std::optional<EditStep> TakeRedo();

private:
    std::deque<EditStep> mDone;
    std::vector<EditStep> mUndone;
};
