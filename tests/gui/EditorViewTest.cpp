#include "ViewEvents.h"
#include "app/MainWindow.h"
#include "app/ViewWidget.h"
#include "core/ManualTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"

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
