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
#include <map>

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
} // namespace

TEST(MainWindow, ItsMenusReachTheEditorCtrlCommaOpensPreferencesAndQuitCloses)
{
    ManualTimerBackend clock;
    MenuEditor editor;
    int preferencesRuns = 0;
    MainWindow window(editor, {[&preferencesRuns](QWidget*) { ++preferencesRuns; }});
    auto* view = new QWidget;
    view->resize(400, 300); // fits any screen, the offscreen platform's included
    window.SetView(view);
    window.ShowCentred();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(window.windowTitle(), "ctrlWaveStomplet");
    EXPECT_EQ(window.centralWidget()->size(), QSize(400, 300));
    QStringList items;
    std::map<QString, QAction*> item;
    for (QAction* menu : window.menuBar()->actions())
        for (QAction* action : menu->menu()->actions())
            if (!action->isSeparator())
                item[items.emplace_back(menu->text() + " " + action->text())] = action;
    EXPECT_EQ(items.join(", ").toStdString(), "&File &Preferences..., &File &Firmware Update, "
                                              "&File &Quit, &Help &About, &Help &Read Manual");

    // Ctrl+, opens Preferences; the old debug keys do nothing.
    for (Qt::Key key : {Qt::Key_E, Qt::Key_B, Qt::Key_D, Qt::Key_F, Qt::Key_Comma})
        QTest::keyClick(&window, key, Qt::ControlModifier);
    EXPECT_EQ(preferencesRuns, 1);
    item["&File &Firmware Update"]->trigger();
    EXPECT_EQ(editor.firmwareArgument, 1);
    item["&Help &About"]->trigger();
    EXPECT_EQ(editor.about, 1);

    // About falls back to a message box when the editor does not handle it.
    editor.handles = false;
    QString shown;
    QTimer::singleShot(0,
                       [&shown]
                       {
                           auto* box =
                               qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
                           shown = box ? box->windowTitle() + "|" + box->text() : "";
                           if (box)
                               box->accept();
                       });
    item["&Help &About"]->trigger();
    EXPECT_TRUE(shown.startsWith("ctrlWaveStomplet|Korvo-Audio")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("\nBuilt on ")) << shown.toStdString();
    item["&File &Quit"]->trigger(); // like the close box
    EXPECT_FALSE(window.isVisible());
}
