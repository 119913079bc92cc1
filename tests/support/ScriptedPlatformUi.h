#pragma once

#include "toolkit/PlatformUi.h"

#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// A PlatformUi for tests. Every request is recorded. A request is answered at once when the test
// scripted an answer for its kind beforehand (answers are used in order); otherwise it waits until
// the test answers it, oldest first, which is how a real dialog answers later from the event loop.
class ScriptedPlatformUi : public PlatformUi
{
public:
    using TextEntryRequest = std::pair<std::string, IRECT>; // initial text, bounds
    struct MessageBoxRequest
    {
        std::string text;
        std::string caption;
        EMsgBoxType type = EMsgBoxType::kOk;
    };
    struct FilePromptRequest
    {
        EFileAction action = EFileAction::kOpen;
        std::string extension;
    };

    void CreatePopupMenu(const std::vector<PopupMenuItem>& items, const IRECT&,
                         PopupMenuCompletion completion) override
    {
        mPopups.Ask(items, std::move(completion));
    }
    void CreateTextEntry(const IText&, const IRECT& bounds, std::string_view initialText,
                         TextEntryCompletion completion) override
    {
        mTexts.Ask({std::string(initialText), bounds}, std::move(completion));
    }
    void ShowMessageBox(std::string_view text, std::string_view caption, EMsgBoxType type,
                        MsgBoxCompletion completion) override
    {
        mBoxes.Ask({std::string(text), std::string(caption), type}, std::move(completion));
    }
    void PromptForFile(EFileAction action, std::string_view extension,
                       FileCompletion completion) override
    {
        mFiles.Ask({action, std::string(extension)}, std::move(completion));
    }
    bool OpenURL(std::string_view urlOrPath) override
    {
        mOpenedUrls.emplace_back(urlOrPath);
        return mOpenUrlResult;
    }
    void SetMouseCursorHidden(bool hidden) override { mCursorHidden = hidden; }

    // Answers given at once to the next requests of a kind.
    void ScriptTextEntry(std::optional<std::string> text) { mTexts.answers.push_back(text); }
    void ScriptMessageBoxResult(EMsgBoxResult result) { mBoxes.answers.push_back(result); }
    void ScriptFilePath(std::string path) { mFiles.answers.push_back(std::move(path)); }
    // What OpenURL returns.
    void SetOpenUrlResult(bool result) { mOpenUrlResult = result; }

    // Answers the oldest waiting request of a kind; false when none waits.
    bool AnswerMessageBox(EMsgBoxResult result) { return mBoxes.Reply(result); }
    int PendingMessageBoxes() const { return static_cast<int>(mBoxes.waiting.size()); }

    // Every request made, in order.
    const std::vector<std::vector<PopupMenuItem>>& PopupMenus() const { return mPopups.requests; }
    const std::vector<TextEntryRequest>& TextEntries() const { return mTexts.requests; }
    const std::vector<MessageBoxRequest>& MessageBoxes() const { return mBoxes.requests; }
    const std::vector<FilePromptRequest>& FilePrompts() const { return mFiles.requests; }
    const std::vector<std::string>& OpenedUrls() const { return mOpenedUrls; }
    bool IsCursorHidden() const { return mCursorHidden; }

private:
    // The requests of one kind, the answers scripted for it and the completions still waiting.
    template <class Request, class Answer, class Completion>
    struct Channel
    {
        void Ask(Request request, Completion completion)
        {
            requests.push_back(std::move(request));
            if (answers.empty())
                return waiting.push_back(std::move(completion));
            Answer answer = std::move(answers.front());
            answers.pop_front();
            if (completion)
                completion(std::move(answer));
        }
        bool Reply(Answer answer)
        {
            if (waiting.empty())
                return false;
            Completion completion = std::move(waiting.front());
            waiting.pop_front();
            if (completion)
                completion(std::move(answer));
            return true;
        }

        std::vector<Request> requests;
        std::deque<Answer> answers;
        std::deque<Completion> waiting;
    };

    Channel<std::vector<PopupMenuItem>, std::optional<int>, PopupMenuCompletion> mPopups;
    Channel<TextEntryRequest, std::optional<std::string>, TextEntryCompletion> mTexts;
    Channel<MessageBoxRequest, EMsgBoxResult, MsgBoxCompletion> mBoxes;
    Channel<FilePromptRequest, std::string, FileCompletion> mFiles;
    std::vector<std::string> mOpenedUrls;
    bool mOpenUrlResult = true;
    bool mCursorHidden = false;
};
