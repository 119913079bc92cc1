#pragma once

#include "toolkit/PlatformUi.h"

#include <deque>
#include <optional>
#include <string>
#include <vector>

// A PlatformUi for tests. Every request is recorded. A request is answered at once when the test
// scripted an answer for its kind beforehand (answers are used in order); otherwise it waits until
// the test answers it with the Answer... / Choose... / Complete... calls, oldest first, which is
// how a real dialog answers later from the event loop.
class ScriptedPlatformUi : public PlatformUi
{
public:
    struct PopupMenuRequest
    {
        std::vector<PopupMenuItem> items;
        IRECT bounds;
    };
    struct TextEntryRequest
    {
        IText style;
        IRECT bounds;
        std::string initialText;
    };
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

    // PlatformUi.
    void CreatePopupMenu(const std::vector<PopupMenuItem>& items, const IRECT& bounds,
                         PopupMenuCompletion completion) override;
    void CreateTextEntry(const IText& style, const IRECT& bounds, std::string_view initialText,
                         TextEntryCompletion completion) override;
    void ShowMessageBox(std::string_view text, std::string_view caption, EMsgBoxType type,
                        MsgBoxCompletion completion) override;
    void PromptForFile(EFileAction action, std::string_view extension,
                       FileCompletion completion) override;
    bool OpenURL(std::string_view urlOrPath) override;
    void SetMouseCursorHidden(bool hidden) override;

    // Answers given at once to the next requests of a kind.
    void ScriptPopupChoice(std::optional<int> chosenIdx) { mPopupAnswers.push_back(chosenIdx); }
    void ScriptTextEntry(std::optional<std::string> text) { mTextAnswers.push_back(text); }
    void ScriptMessageBoxResult(EMsgBoxResult result) { mMsgBoxAnswers.push_back(result); }
    void ScriptFilePath(std::string path) { mFileAnswers.push_back(std::move(path)); }
    // What OpenURL returns.
    void SetOpenUrlResult(bool result) { mOpenUrlResult = result; }

    // Answers the oldest waiting request of a kind; false when none waits.
    bool ChoosePopupItem(std::optional<int> chosenIdx);
    bool CompleteTextEntry(std::optional<std::string> text);
    bool AnswerMessageBox(EMsgBoxResult result);
    bool AnswerFilePrompt(std::string path);

    int PendingPopupMenus() const { return static_cast<int>(mPendingPopups.size()); }
    int PendingTextEntries() const { return static_cast<int>(mPendingTexts.size()); }
    int PendingMessageBoxes() const { return static_cast<int>(mPendingMsgBoxes.size()); }
    int PendingFilePrompts() const { return static_cast<int>(mPendingFiles.size()); }

    // Every request made, in order.
    const std::vector<PopupMenuRequest>& PopupMenus() const { return mPopupMenus; }
    const std::vector<TextEntryRequest>& TextEntries() const { return mTextEntries; }
    const std::vector<MessageBoxRequest>& MessageBoxes() const { return mMessageBoxes; }
    const std::vector<FilePromptRequest>& FilePrompts() const { return mFilePrompts; }
    const std::vector<std::string>& OpenedUrls() const { return mOpenedUrls; }
    bool IsCursorHidden() const { return mCursorHidden; }

private:
    std::vector<PopupMenuRequest> mPopupMenus;
    std::vector<TextEntryRequest> mTextEntries;
    std::vector<MessageBoxRequest> mMessageBoxes;
    std::vector<FilePromptRequest> mFilePrompts;
    std::vector<std::string> mOpenedUrls;

    std::deque<std::optional<int>> mPopupAnswers;
    std::deque<std::optional<std::string>> mTextAnswers;
    std::deque<EMsgBoxResult> mMsgBoxAnswers;
    std::deque<std::string> mFileAnswers;

    std::deque<PopupMenuCompletion> mPendingPopups;
    std::deque<TextEntryCompletion> mPendingTexts;
    std::deque<MsgBoxCompletion> mPendingMsgBoxes;
    std::deque<FileCompletion> mPendingFiles;

    bool mOpenUrlResult = true;
    bool mCursorHidden = false;
};
