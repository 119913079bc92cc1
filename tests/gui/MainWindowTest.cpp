#include "app/MainWindow.h"

#include "core/ManualTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"

#include <QAction>
#include <QApplication>
#include <QMenuBar>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace
{
class MenuEditor final : public ctrlWaveStomplet
{
public:
    bool OnAboutRequested() override
    {
        ++about;
        return handles;
    }
    bool OnFirmwareUpdateRequested(int argument) override
    {
        firmwareArgument = argument;
        return true;
    }

    bool handles = true;
    int about = 0;
    int firmwareArgument = 0;
};

QAction* FindAction(QMenuBar* bar, const QString& menuTitle, const QString& itemText)
{
    for (QAction* menu : bar->actions())
    {
        if (menu->text() != menuTitle || !menu->menu())
            continue;
        for (QAction* item : menu->menu()->actions())
        {
            if (item->text() == itemText)
                return item;
        }
    }
    return nullptr;
}

class Window : public ::testing::Test
{
protected:
    Window() : window(editor, {[this](QWidget*) { ++preferencesRuns; }})
    {
        auto* view = new QWidget;
        view->resize(400, 300); // fits any screen, the offscreen platform's included
        window.SetView(view);
        window.ShowCentred();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
    }

    ManualTimerBackend clock;
    MenuEditor editor;
    int preferencesRuns = 0;
    MainWindow window;
};
} // namespace

TEST_F(Window, FileAndHelpMenusAroundAViewSizedClientAreaReachTheEditorHooksAndQuitCloses)
{
    EXPECT_EQ(window.windowTitle(), "ctrlWaveStomplet");
    QStringList menus;
    for (QAction* menu : window.menuBar()->actions())
        menus << menu->text();
    EXPECT_EQ(menus, (QStringList{"&File", "&Help"}));
    EXPECT_NE(FindAction(window.menuBar(), "&File", "&Preferences..."), nullptr);
    EXPECT_NE(FindAction(window.menuBar(), "&Help", "&Read Manual"), nullptr);
    EXPECT_EQ(window.centralWidget()->size(), QSize(400, 300));

    FindAction(window.menuBar(), "&File", "&Firmware Update")->trigger();
    EXPECT_EQ(editor.firmwareArgument, 1);
    FindAction(window.menuBar(), "&Help", "&About")->trigger();
    EXPECT_EQ(editor.about, 1);
    FindAction(window.menuBar(), "&File", "&Quit")->trigger(); // like the close box
    EXPECT_FALSE(window.isVisible());
}

TEST_F(Window, CtrlCommaOpensPreferencesAndTheOldDebugKeysDoNothing)
{
    for (Qt::Key key : {Qt::Key_E, Qt::Key_B, Qt::Key_D, Qt::Key_F})
        QTest::keyClick(&window, key, Qt::ControlModifier);
    EXPECT_EQ(preferencesRuns, 0);
    QTest::keyClick(&window, Qt::Key_Comma, Qt::ControlModifier);
    EXPECT_EQ(preferencesRuns, 1);

    for (QAction* action : window.findChildren<QAction*>())
    {
        for (Qt::Key key : {Qt::Key_E, Qt::Key_B, Qt::Key_D, Qt::Key_F})
            EXPECT_NE(action->shortcut(), QKeySequence(Qt::CTRL | key))
                << action->text().toStdString();
    }
}

TEST_F(Window, AboutFallsBackToAMessageBoxWhenTheEditorDoesNotHandleIt)
{
    editor.handles = false;
    QString shownText;
    QTimer::singleShot(0,
                       [&shownText]
                       {
                           for (QWidget* widget : QApplication::topLevelWidgets())
                           {
                               if (auto* box = qobject_cast<QMessageBox*>(widget);
                                   box && box->isVisible())
                               {
                                   shownText = box->windowTitle() + "|" + box->text();
                                   box->accept();
                               }
                           }
                       });
    FindAction(window.menuBar(), "&Help", "&About")->trigger();
    EXPECT_TRUE(shownText.startsWith("ctrlWaveStomplet|Korvo-Audio")) << shownText.toStdString();
    EXPECT_TRUE(shownText.contains("\nBuilt on ")) << shownText.toStdString();
}
