#pragma once

#include "toolkit/PlatformUi.h"

#include <QDialog>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <functional>
#include <vector>

class FontRegistry;

// The window system's services for the view, on Qt widgets. Nothing here runs a nested event
// loop: menus, text fields, message boxes and file dialogs open and return at once, and report
// through their completions from the event loop, so a request made inside a timer tick or an
// animation frame never blocks it.
//
// Menus and text fields open over the view, at the rectangle's place scaled by the view's draw
// scale, with the checked entry active so that the arrow keys start from it; boxes and file
// dialogs open over the view's window. One menu and one text field at most:
// a new one dismisses the open one first (its completion reports the dismissal). Whatever is
// still open when this object goes away is closed without its completion.
// [main thread]
class QtPlatformUi final : public PlatformUi
{
public:
    using ScaleFunc = std::function<float()>;

    // `view` must outlive this object. `drawScale` gives the view's current draw scale (empty:
    // 1). `fonts` gives text fields the face of their style; may be nullptr.
    QtPlatformUi(QWidget& view, ScaleFunc drawScale, const FontRegistry* fonts = nullptr);
    ~QtPlatformUi() override;
    QtPlatformUi(const QtPlatformUi&) = delete;
    QtPlatformUi& operator=(const QtPlatformUi&) = delete;

    void CreatePopupMenu(const std::vector<PopupMenuItem>& items, const IRECT& bounds,
                         PopupMenuCompletion completion) override;
    // Enter confirms; Escape, a click elsewhere or any other loss of focus cancels.
    void CreateTextEntry(const IText& style, const IRECT& bounds, std::string_view initialText,
                         TextEntryCompletion completion) override;
    // A non-modal QMessageBox without icon, its first button the default.
    void ShowMessageBox(std::string_view text, std::string_view caption, EMsgBoxType type,
                        MsgBoxCompletion completion) override;
    // A QFileDialog that starts in the folder of the last file chosen here.
    void PromptForFile(EFileAction action, std::string_view extension,
                       FileCompletion completion) override;
    bool OpenURL(std::string_view urlOrPath) override;
    void SetMouseCursorHidden(bool hidden) override;

    // What is open now (nullptr when nothing is), for tests and callers that need to close it.
    QMenu* OpenMenu() const { return mMenu; }
    QLineEdit* OpenTextEntry() const { return mTextEntry; }

    // Where the design's top left corner lies in the view, in widget pixels, when the view draws
    // it with a margin around (letterboxed); empty: at the view's corner.
    void SetDesignOriginFunc(std::function<QPoint()> origin) { mDesignOrigin = std::move(origin); }

private:
    // A design-pixel rectangle in the view's widget coordinates.
    QRect ToViewRect(const IRECT& bounds) const;
    float Scale() const;
    void Track(QDialog* dialog);

    QWidget& mView;
    ScaleFunc mDrawScale;
    std::function<QPoint()> mDesignOrigin;
    const FontRegistry* mFonts;
    QPointer<QMenu> mMenu;
    QPointer<QLineEdit> mTextEntry;
    std::vector<QPointer<QDialog>> mDialogs; // message boxes and file dialogs still open
    QString mLastFolder;
};
