#pragma once

#include <QMainWindow>
#include <functional>

class IPlugAPP;
class QAction;

// The editor's one window: titled "ctrlWaveStomplet", menus "&File" and "&Help", the view as its
// client area. The window takes the view's size and follows it when the view is rescaled. Quit
// (Ctrl+Q) and the close box take the same path: the window closes and the event loop ends.
// [main thread]
class MainWindow final : public QMainWindow
{
public:
    struct Actions
    {
        // Runs the Preferences dialog modally; the caller writes the settings on OK.
        std::function<void(QWidget* parent)> preferences;
    };

    MainWindow(IPlugAPP& app, Actions actions, QWidget* parent = nullptr);

    // Makes `view` the client area (ownership passes to the window) and fits the window to it.
    void SetView(QWidget* view);
    // Sizes the client area to `width` x `height` pixels, keeping the window's position.
    void FitClientArea(int width, int height);
    // Centres the window on the primary screen and shows it.
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
    void ShowAbout();
    void ShowManual();

    IPlugAPP& mApp;
    Actions mActions;
    QAction* mPreferences = nullptr;
};
