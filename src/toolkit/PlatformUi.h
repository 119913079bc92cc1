#pragma once

#include "toolkit/IRECT.h"
#include "toolkit/IText.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The buttons a message box offers.
enum class EMsgBoxType : std::int32_t
{
    kOk = 0,
    kOkCancel = 1,
    kAbortRetryIgnore = 2,
    kYesNoCancel = 3,
    kYesNo = 4,
    kRetryCancel = 5,
};

// The button that closed a message box. kNoResult: no box could be shown.
enum class EMsgBoxResult : std::int32_t
{
    kNoResult = 0,
    kOk = 1,
    kCancel = 2,
    kAbort = 3,
    kRetry = 4,
    kIgnore = 5,
    kYes = 6,
    kNo = 7,
};

enum class EFileAction
{
    kOpen,
    kSave,
};

struct PopupMenuItem
{
    std::string text;
    bool checked = false;
    bool enabled = true;

    bool operator==(const PopupMenuItem&) const = default;
};

// The window system's services the controls and the editor ask for: pop-up menus, text entry,
// message boxes, file prompts, opening documents, and the mouse cursor.
//
// Every request that waits for the user reports through a completion instead of returning, so an
// implementation may show its dialog without a nested event loop: a box raised inside a timer tick
// or an animation frame must not block it. A completion runs on the main thread exactly once,
// either before the request returns or later from the event loop; an implementation that goes away
// with requests outstanding drops them without calling their completions. Rectangles are in design
// pixels; the implementation maps them to the screen with the view's scale.
// [main thread]
class PlatformUi
{
public:
    // The chosen item's index, or nullopt when the menu was dismissed.
    using PopupMenuCompletion = std::function<void(std::optional<int> chosenIdx)>;
    // The text as confirmed by the user, or nullopt when the entry was cancelled.
    using TextEntryCompletion = std::function<void(std::optional<std::string> text)>;
    using MsgBoxCompletion = std::function<void(EMsgBoxResult result)>;
    // The full path of the chosen file, or the empty text when the user cancelled.
    using FileCompletion = std::function<void(std::string path)>;

    virtual ~PlatformUi() = default;

    // A menu of `items` (checked ones show a check mark) opened over `bounds`.
    virtual void CreatePopupMenu(const std::vector<PopupMenuItem>& items, const IRECT& bounds,
                                 PopupMenuCompletion completion) = 0;

    // A one-line text field over `bounds` in `style` (its text entry colours), holding
    // `initialText` selected.
    virtual void CreateTextEntry(const IText& style, const IRECT& bounds,
                                 std::string_view initialText, TextEntryCompletion completion) = 0;

    // A box over the main window titled `caption` (empty: no title) showing `text`. `completion`
    // may be empty when the result does not matter.
    virtual void ShowMessageBox(std::string_view text, std::string_view caption, EMsgBoxType type,
                                MsgBoxCompletion completion) = 0;

    // The window's file dialog limited to files ending in "." + `extension` (given without the
    // dot); a save prompt adds the extension when the user types none and asks before
    // overwriting.
    virtual void PromptForFile(EFileAction action, std::string_view extension,
                               FileCompletion completion) = 0;

    // Hands a URL or a local document path to the system's default handler. False when the system
    // refused it at once.
    virtual bool OpenURL(std::string_view urlOrPath) = 0;

    // Hides the mouse cursor over the view (true) or shows it again (false).
    virtual void SetMouseCursorHidden(bool hidden) = 0;
};
