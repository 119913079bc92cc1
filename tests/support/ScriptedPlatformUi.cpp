#include "support/ScriptedPlatformUi.h"

void ScriptedPlatformUi::CreatePopupMenu(const std::vector<PopupMenuItem>& items, const IRECT&,
                                         PopupMenuCompletion completion)
{
    mPopups.Ask(items, std::move(completion));
}

void ScriptedPlatformUi::CreateTextEntry(const IText&, const IRECT& bounds,
                                         std::string_view initialText,
                                         TextEntryCompletion completion)
{
    mTexts.Ask({std::string(initialText), bounds}, std::move(completion));
}

void ScriptedPlatformUi::ShowMessageBox(std::string_view text, std::string_view caption,
                                        EMsgBoxType type, MsgBoxCompletion completion)
{
    mBoxes.Ask({std::string(text), std::string(caption), type}, std::move(completion));
}

void ScriptedPlatformUi::PromptForFile(EFileAction action, std::string_view extension,
                                       FileCompletion completion)
{
    mFiles.Ask({action, std::string(extension)}, std::move(completion));
}
