#include "support/ScriptedPlatformUi.h"

#include <utility>

namespace
{
// Takes the oldest entry of `queue`; the caller checked that there is one.
template <class T>
T PopFront(std::deque<T>& queue)
{
    T front = std::move(queue.front());
    queue.pop_front();
    return front;
}
} // namespace

void ScriptedPlatformUi::CreatePopupMenu(const std::vector<PopupMenuItem>& items,
                                         const IRECT& bounds, PopupMenuCompletion completion)
{
    mPopupMenus.push_back({items, bounds});
    if (!mPopupAnswers.empty())
    {
        const auto answer = PopFront(mPopupAnswers);
        if (completion)
            completion(answer);
        return;
    }
    mPendingPopups.push_back(std::move(completion));
}

void ScriptedPlatformUi::CreateTextEntry(const IText& style, const IRECT& bounds,
                                         std::string_view initialText,
                                         TextEntryCompletion completion)
{
    mTextEntries.push_back({style, bounds, std::string(initialText)});
    if (!mTextAnswers.empty())
    {
        auto answer = PopFront(mTextAnswers);
        if (completion)
            completion(std::move(answer));
        return;
    }
    mPendingTexts.push_back(std::move(completion));
}

void ScriptedPlatformUi::ShowMessageBox(std::string_view text, std::string_view caption,
                                        EMsgBoxType type, MsgBoxCompletion completion)
{
    mMessageBoxes.push_back({std::string(text), std::string(caption), type});
    if (!mMsgBoxAnswers.empty())
    {
        const auto answer = PopFront(mMsgBoxAnswers);
        if (completion)
            completion(answer);
        return;
    }
    mPendingMsgBoxes.push_back(std::move(completion));
}

void ScriptedPlatformUi::PromptForFile(EFileAction action, std::string_view extension,
                                       FileCompletion completion)
{
    mFilePrompts.push_back({action, std::string(extension)});
    if (!mFileAnswers.empty())
    {
        auto answer = PopFront(mFileAnswers);
        if (completion)
            completion(std::move(answer));
        return;
    }
    mPendingFiles.push_back(std::move(completion));
}

bool ScriptedPlatformUi::OpenURL(std::string_view urlOrPath)
{
    mOpenedUrls.emplace_back(urlOrPath);
    return mOpenUrlResult;
}

void ScriptedPlatformUi::SetMouseCursorHidden(bool hidden)
{
    mCursorHidden = hidden;
}

bool ScriptedPlatformUi::ChoosePopupItem(std::optional<int> chosenIdx)
{
    if (mPendingPopups.empty())
        return false;
    auto completion = PopFront(mPendingPopups);
    if (completion)
        completion(chosenIdx);
    return true;
}

bool ScriptedPlatformUi::CompleteTextEntry(std::optional<std::string> text)
{
    if (mPendingTexts.empty())
        return false;
    auto completion = PopFront(mPendingTexts);
    if (completion)
        completion(std::move(text));
    return true;
}

bool ScriptedPlatformUi::AnswerMessageBox(EMsgBoxResult result)
{
    if (mPendingMsgBoxes.empty())
        return false;
    auto completion = PopFront(mPendingMsgBoxes);
    if (completion)
        completion(result);
    return true;
}

bool ScriptedPlatformUi::AnswerFilePrompt(std::string path)
{
    if (mPendingFiles.empty())
        return false;
    auto completion = PopFront(mPendingFiles);
    if (completion)
        completion(std::move(path));
    return true;
}
