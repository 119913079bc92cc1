#pragma once

#include <QMainWindow>
#include <functional>

class IPlugAPP;
class QAction;

// The editor's one window: titled "ctrlWaveStomplet", menus "&File" and "&Help", the view as its
// client area. The window opens at the view's preferred size, or smaller to fit the screen, and
// follows the view when the corner resizer rescales it; the window manager may give it any size
// down to the view's minimum. Quit (Ctrl+Q) and the close box take the same path: the window closes
// and the event loop ends. [main thread]
class MainWindow final : public QMainWindow
{
public:
    struct Actions
    {
        // Runs the Preferences dialog modally; the caller writes the settings on OK.
        std::function<void(QWidget* parent)> preferences;
    };

    MainWindow(IPlugAPP& app, Actions actions, QWidget* parent = nullptr);
    ~MainWindow() override;

    // Makes `view` the client area (ownership passes to the window) and fits the window to it.
    void SetView(QWidget* view);
    // Sizes the client area to `width` x `height` pixels, keeping the window's position.
    void FitClientArea(int width, int height);
    // Sizes the client area to the view's preferred size (its aspect kept, shrunk so the window
    // fits the primary screen's available area, never below the view's minimum), centres the
    // window on that area and shows it.
    void ShowCentred();
    // Brings the window to the front, as for a second start of the editor.
    void RaiseToFront();

    QAction* PreferencesAction() const { return mPreferences; }

protected:
    // Quit and the close box: when the application has a question (a firmware transfer runs), the
    // window closes only if the user answers Yes.
    void closeEvent(QCloseEvent* event) override;

private:
    void BuildMenus();
    // Edit > Undo and Redo name what they would do, and are enabled only when it can be done now.
    void UpdateEditActions();
    // What the window adds to the client area's size (the menu bar), in pixels.
    QSize ClientExtra() const;
    void ShowAbout();
    void ShowManual();

    IPlugAPP& mApp;
    Actions mActions;
    QAction* mPreferences = nullptr;
    QAction* mUndo = nullptr;
    QAction* mRedo = nullptr;
};
