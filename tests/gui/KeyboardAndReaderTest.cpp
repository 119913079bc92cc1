// The editor's real window driven by the keyboard alone, against the same window driven by the
// mouse: both must put the same bytes on the wire. The same window as a screen reader reads it,
// through Qt's accessibility interfaces; and its menus.

#include "ViewEvents.h"
#include "app/MainWindow.h"
#include "app/ViewAccessible.h"
#include "app/ViewWidget.h"
#include "core/ManualTimerBackend.h"
#include "device/ParamTable.h"
#include "device/SysExMessages.h"
#include "editor/ctrlWaveStomplet.h"
#include "support/EditorBench.h"
#include "ui/ControlTags.h"
#include "ui/PageOverlays.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <map>

namespace
{
using editor_bench::Bytes;
using Rows = std::vector<std::string>;

// The window as the program builds it, active, its output port recorded from after the layout's
// own Status Request.
class KeyboardWindow : public ::testing::Test
{
public:
    KeyboardWindow() : window(editor, {[this](QWidget*) { ++preferencesRuns; }})
    {
        editor.SetHostLink(&port);
        view = new ViewWidget(editor);
        window.SetView(view);
        window.ShowCentred();
        QApplication::setActiveWindow(&window);
        view->setFocus();
        port.sent.clear();
    }

    // A key as the window system delivers it: to the open menu, else to the window's focus
    // widget (the offscreen platform does not hand the activation back after a menu).
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::activePopupWidget();
        QTest::keyClick(target ? target : window.focusWidget(), key, modifiers);
    }
    IControl* Focus() { return view->Graphics().GetKeyboardFocus().GetFocus(); }
    // What a screen reader reads of `parent`'s children, as "name: value", from those after the
    // page tabs on (the page's own controls) unless `all`.
    Rows Read(QAccessibleInterface* parent, bool all = false)
    {
        Rows rows;
        for (int i = 0; i < parent->childCount(); ++i)
        {
            QAccessibleInterface* child = parent->child(i);
            if (!all && child->role() == QAccessible::PageTabList)
                rows.clear();
            else
                rows.push_back(child->text(QAccessible::Name).toStdString() + ": " +
                               child->text(QAccessible::Value).toStdString());
        }
        return rows;
    }
    QAccessibleInterface* Reader() { return QAccessible::queryAccessibleInterface(view); }

    // The 20 ms ticks past the 0.4 s in which an edit must rest before it is sent.
    void LetEditsRest() { clock.Advance(600); }

    ManualTimerBackend clock;
    editor_bench::RecordingPort port;
    ctrlWaveStomplet editor;
    int preferencesRuns = 0;
    MainWindow window;
    ViewWidget* view = nullptr;
};

} // namespace

TEST_F(KeyboardWindow, KeysAloneSetJack1ModeToSwitchesWithTheOneMessageTheMouseSends)
{
    // LOAD, SAVE, AUDITION, the page tabs and RESET ALL come first in reading order.
    for (int i = 0; i < 6; ++i)
        Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), view->Graphics().GetControlWithTag(kCtrlTagJack1Mode));
    EXPECT_TRUE(view->Graphics().GetKeyboardFocus().IsRingShown());
    Key(Qt::Key_Return);
    ASSERT_NE(qobject_cast<QMenu*>(QApplication::activePopupWidget()), nullptr);
    // Mended: the menu came up in the desktop's light theme over the dark screen.
    const QImage drawn = QApplication::activePopupWidget()->grab().toImage();
    EXPECT_LT(drawn.pixelColor(drawn.width() / 2, 2).lightnessF(), 0.3);
    Key(Qt::Key_Down); // from the checked "Pedal" to "Switches"
    Key(Qt::Key_Return);
    QTest::qWait(1);
    LetEditsRest();
    const std::vector<Bytes> byKeys = port.sent;
    EXPECT_EQ(editor.GetParam(kJack1Mode)->Int(), kJackModeSwitches);
    EXPECT_EQ(Focus(), view->Graphics().GetControlWithTag(kCtrlTagJack1Mode)); // back from the menu

    // The mouse way, from the same start.
    QApplication::setActiveWindow(&window); // shortcuts need an active window
    Key(Qt::Key_Z, Qt::ControlModifier);    // Edit > Undo: back to "Pedal"
    LetEditsRest();
    EXPECT_EQ(editor.GetParam(kJack1Mode)->Int(), kJackModePedal);
    port.sent.clear();
    // The caption's middle, wherever the window's size put the design.
    const float scale = view->Graphics().GetDrawScale();
    viewevents::Click(*view, QPointF(view->DesignOrigin()) + QPointF(512, 455) * scale);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(menu->actions()[1]).center());
    QTest::qWait(1);
    LetEditsRest();

    const auto message = BuildSingleSetting(kJack1Mode, kJackModeSwitches)->bytes;
    EXPECT_EQ(byKeys, std::vector<Bytes>{Bytes(message.begin(), message.end())});
    EXPECT_EQ(port.sent, byKeys);
}

TEST_F(KeyboardWindow, AScreenReaderFindsEveryControlOfEachPageWithNameAndValue)
{
    EXPECT_EQ(Read(Reader(), true),
              (Rows{"LOAD: ", "SAVE: ", "AUDITION: ", "MIDI IN: ", "Preset: Untitled",
                    "Pages: GLOBAL", "RESET ALL: ", "JACK 1 Mode: Pedal", "JACK 1 Polarity: Tip",
                    "JACK 2 Mode: Pedal", "JACK 2 Polarity: Tip"}));
    // AT-SPI readers take a combo box's choice from its text.
    ASSERT_TRUE(Reader()->child(7)->textInterface());
    EXPECT_EQ(Reader()->child(7)->textInterface()->text(0, -1), "Pedal");
    QAccessibleInterface* tabs = Reader()->child(5);
    EXPECT_EQ(tabs->role(), QAccessible::PageTabList);
    EXPECT_EQ(Read(tabs, true), (Rows{"GLOBAL: ", "JACK 1: ", "JACK 2: "}));

    const Rows pedalPage({"MIDI Channel: 1", "Mode: Control", "Controller: 0", "Minimum: 0",
                          "Maximum: 0",
                          "Calibration Low End: 0%: ", "Calibration High End: 100%: "});
    for (const Qt::Key page : {Qt::Key_2, Qt::Key_3})
    {
        Key(page, Qt::ControlModifier);
        EXPECT_EQ(Read(Reader()), pedalPage);
    }
    EXPECT_TRUE(tabs->child(2)->state().selected);

    // Jack 1 set to switches by the keys, announced as it changes; then its switch page. (The
    // offscreen platform never turns accessibility on, so the test takes the announcements.)
    auto* announcer = dynamic_cast<ViewAccessible*>(Reader());
    ASSERT_NE(announcer, nullptr);
    std::vector<std::string> announced; // as "event name value"
    const auto record = [&announced](QAccessibleEvent* event)
    {
        const auto type = event->type();
        if (type == QAccessible::ValueChanged || type == QAccessible::Focus)
            announced.push_back(
                (type == QAccessible::Focus ? "focus " : "value ") +
                event->accessibleInterface()->text(QAccessible::Name).toStdString() + " " +
                event->accessibleInterface()->text(QAccessible::Value).toStdString());
    };
    Key(Qt::Key_1, Qt::ControlModifier); // the tabs take the focus
    announcer->Refresh(record);
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down}) // to JACK 1 Mode, Switches
    {
        Key(key);
        announcer->Refresh(record);
    }
    EXPECT_EQ(announced.end()[-2], "focus JACK 1 Mode Pedal");
    EXPECT_EQ(announced.back(), "value JACK 1 Mode Switches");
    Key(Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(
        Read(Reader()),
        (Rows{"MIDI Channel SWITCH A: 1", "MIDI Channel SWITCH B: 1",
              "SWITCH A Operation: Momentary", "SWITCH B Operation: Momentary",
              "SWITCH A Function: Control", "SWITCH B Function: Control", "SWITCH A Controller: 0",
              "SWITCH B Controller: 0", "Special Ctrl Lower: 0", "Special Ctrl Upper: 0"}));
}

TEST_F(KeyboardWindow, TheMenusReachPreferencesTheFirmwareWindowAboutAndQuit)
{
    EXPECT_EQ(window.windowTitle(), "ctrlWaveStomplet");
    QStringList items;
    std::map<QString, QAction*> item;
    for (QAction* menu : window.menuBar()->actions())
        for (QAction* action : menu->menu()->actions())
            if (!action->isSeparator())
                item[items.emplace_back(menu->text() + " " + action->text())] = action;
    EXPECT_EQ(items.join(", ").toStdString(),
              "&File &Preferences..., &File &Firmware Update, &File &Quit, &Edit &Undo, "
              "&Edit &Redo, &Help &About, &Help &Read Manual");
    // Ctrl+, opens Preferences; the old debug keys do nothing.
    for (Qt::Key key : {Qt::Key_E, Qt::Key_B, Qt::Key_D, Qt::Key_F, Qt::Key_Comma})
        Key(key, Qt::ControlModifier);
    EXPECT_EQ(preferencesRuns, 1);
    const auto shown = [this](const char* group)
    {
        bool any = false;
        view->Graphics().ForControlInGroup(group, [&any](IControl& c) { any |= !c.IsHidden(); });
        return any;
    };
    EXPECT_FALSE(shown(kGroupFirmwareUpdate) || shown(kGroupAbout));
    item["&File &Firmware Update"]->trigger();
    EXPECT_TRUE(shown(kGroupFirmwareUpdate));
    CloseFirmwareWindow(view->Graphics());
    item["&Help &About"]->trigger();
    EXPECT_TRUE(shown(kGroupAbout));
    item["&File &Quit"]->trigger(); // like the close box
    EXPECT_FALSE(window.isVisible());
}
