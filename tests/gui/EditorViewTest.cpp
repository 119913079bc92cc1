#include "ViewEvents.h"
#include "WaitFor.h"
#include "app/MainWindow.h"
#include "app/ViewWidget.h"
#include "core/ManualTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"

#include <QAction>
#include <QMenu>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace editorviewtest
{
// The editor's real window and view, as the program builds them.
class EditorWindow : public ::testing::Test
{
protected:
    EditorWindow() : window(editor, {})
    {
        view = new ViewWidget(editor);
        window.SetView(view);
        view->SetSizeChangedFunc([this](int width, int height)
                                 { window.FitClientArea(width, height); });
        window.ShowCentred();
    }

    ManualTimerBackend clock;
    ctrlWaveStomplet editor;
    MainWindow window;
    ViewWidget* view = nullptr;
};
} // namespace editorviewtest

using editorviewtest::EditorWindow;

TEST_F(EditorWindow, TheJack1ModeCaptionAtScaleTwoOpensItsMenuAndSwitchesSetsParameterTwo)
{
    view->Graphics().SetDrawScale(2.f);
    ASSERT_TRUE(waitfor::WaitUntil([&] { return view->size() == QSize(2048, 1536); }));
    EXPECT_EQ(window.centralWidget()->size(), QSize(2048, 1536));

    // The caption of "JACK 1 Mode" spans 410.6, 441.1 to 613.4, 469.1 in the design.
    viewevents::Click(*view, QPointF(512.0 * 2, 455.0 * 2));
    QMenu* menu = view->Platform().OpenMenu();
    ASSERT_NE(menu, nullptr);
    EXPECT_TRUE(menu->isVisible());
    const QList<QAction*> items = menu->actions();
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0]->isChecked());
    EXPECT_FALSE(items[1]->isChecked());
    EXPECT_EQ(items[1]->text(), "Switches");

    QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier,
                      menu->actionGeometry(items[1]).center());
    EXPECT_TRUE(waitfor::WaitUntil([&] { return editor.GetParam(2)->Value() == 1.0; }));
}

TEST_F(EditorWindow, TheWindowFollowsTheCornerResizer)
{
    const QSize frameExtra = window.size() - window.centralWidget()->size();
    // Grab the resizer 10 pixels inside the corner and pull the corner to 1536 x 1152.
    viewevents::Press(*view, QPointF(1014, 758));
    viewevents::Move(*view, QPointF(1526, 1142), Qt::LeftButton);
    viewevents::Release(*view, QPointF(1526, 1142));

    EXPECT_FLOAT_EQ(view->Graphics().GetDrawScale(), 1.5f);
    EXPECT_EQ(view->size(), QSize(1536, 1152));
    EXPECT_EQ(window.centralWidget()->size(), QSize(1536, 1152));
    EXPECT_EQ(window.size() - window.centralWidget()->size(), frameExtra);
}
