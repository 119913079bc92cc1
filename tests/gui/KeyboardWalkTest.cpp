// The editor's real window driven by the keyboard alone, against the same window driven by the
// mouse: both must put the same bytes on the wire.

#include "ViewEvents.h"
#include "app/MainWindow.h"
#include "app/ViewWidget.h"
#include "core/ManualTimerBackend.h"
#include "device/SysExMessages.h"
#include "editor/ParamTable.h"
#include "editor/ctrlWaveStomplet.h"
#include "ui/ControlTags.h"

#include <QApplication>
#include <QMenu>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <vector>

namespace keyboardwalk
{
using Bytes = std::vector<std::uint8_t>;

class WirePort final : public AppHostLink
{
public:
    bool SendToOutputPort(const std::uint8_t* bytes, std::size_t size) override
    {
        sent.emplace_back(bytes, bytes + size);
        return true;
    }
    void ProbeMidiPorts() override {}

    std::vector<Bytes> sent;
};

// The window as the program builds it, active, its output port recorded from after the layout's
// own Status Request.
class KeyboardWindow : public ::testing::Test
{
protected:
    KeyboardWindow() : window(editor, {})
    {
        editor.SetHostLink(&port);
        view = new ViewWidget(editor);
        window.SetView(view);
        window.ShowCentred();
        window.activateWindow();
        QApplication::setActiveWindow(&window);
        view->setFocus();
        port.sent.clear();
    }
    ~KeyboardWindow() override { editor.SetHostLink(nullptr); }

    // A key as the window system delivers it: to the open menu, else to the window's focus
    // widget (the offscreen platform does not hand the activation back after a menu).
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::activePopupWidget();
        if (!target)
            target = window.focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::keyClick(target, key, modifiers);
    }
    IControl* Focus() { return view->Graphics().GetKeyboardFocus().GetFocus(); }
    IControl* Tagged(int tag) { return view->Graphics().GetControlWithTag(tag); }
    // The 20 ms ticks past the 0.4 s in which an edit must rest before it is sent.
    void LetEditsRest() { clock.Advance(600); }

    ManualTimerBackend clock;
    WirePort port;
    ctrlWaveStomplet editor;
    MainWindow window;
    ViewWidget* view = nullptr;
};
} // namespace keyboardwalk

using keyboardwalk::Bytes;
using keyboardwalk::KeyboardWindow;

TEST_F(KeyboardWindow, KeysAloneSetJack1ModeToSwitchesWithTheOneMessageTheMouseSends)
{
    // LOAD, SAVE, AUDITION, the page tabs and RESET ALL come first in reading order.
    for (int i = 0; i < 6; ++i)
        Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), Tagged(kCtrlTagJack1Mode));
    EXPECT_TRUE(view->Graphics().GetKeyboardFocus().IsRingShown());
    Key(Qt::Key_Return);
    ASSERT_NE(qobject_cast<QMenu*>(QApplication::activePopupWidget()), nullptr);
    Key(Qt::Key_Down); // from the checked "Pedal" to "Switches"
    Key(Qt::Key_Return);
    QTest::qWait(1);
    LetEditsRest();
    const std::vector<Bytes> byKeys = port.sent;
    EXPECT_EQ(editor.GetParam(kJack1Mode)->Int(), kJackModeSwitches);
    EXPECT_EQ(Focus(), Tagged(kCtrlTagJack1Mode)); // the focus came back from the menu

    // The mouse way, from the same start.
    port.sent.clear();
    Key(Qt::Key_Up); // back to "Pedal", through the caption's keys
    LetEditsRest();
    port.sent.clear();
    viewevents::Click(*view, QPointF(512, 455));
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[1]).center());
    QTest::qWait(1);
    LetEditsRest();

    const auto message = BuildSingleSetting(kJack1Mode, kJackModeSwitches)->bytes;
    const Bytes switches(message.begin(), message.end());
    EXPECT_EQ(byKeys, std::vector<Bytes>{switches});
    EXPECT_EQ(port.sent, byKeys);
}
