// The editor's real window driven by the keyboard alone, against the same window driven by the
// mouse: both must put the same bytes on the wire. And the same window as a screen reader reads
// it, through Qt's accessibility interfaces.

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

#include <QAccessible>
#include <QAccessibleEvent>
#include <QApplication>
#include <QMenu>
#include <QtTest/QTest>
#include <algorithm>
#include <gtest/gtest.h>
#include <ostream>
#include <string>
#include <vector>

namespace keyboardwalk
{
using editor_bench::Bytes;
using WirePort = editor_bench::RecordingPort;

// The window as the program builds it, active, its output port recorded from after the layout's
// own Status Request.
class KeyboardWindow : public ::testing::Test
{
public:
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
    // What a screen reader reads of the view's children: name, role, value.
    struct Row
    {
        std::string name;
        QAccessible::Role role;
        std::string value;
        bool operator==(const Row&) const = default;
        friend void PrintTo(const Row& row, std::ostream* out)
        {
            *out << "{" << row.name << ", role " << row.role << ", " << row.value << "}";
        }
    };
    std::vector<Row> ReaderRows(QAccessibleInterface* parent = nullptr)
    {
        if (!parent)
            parent = QAccessible::queryAccessibleInterface(view);
        std::vector<Row> rows;
        for (int i = 0; i < parent->childCount(); ++i)
        {
            QAccessibleInterface* child = parent->child(i);
            rows.push_back({child->text(QAccessible::Name).toStdString(), child->role(),
                            child->text(QAccessible::Value).toStdString()});
        }
        return rows;
    }
    // The rows below the page tabs: the page's own controls.
    std::vector<Row> PageRows()
    {
        std::vector<Row> rows = ReaderRows();
        const auto tabs =
            std::find_if(rows.begin(), rows.end(),
                         [](const Row& row) { return row.role == QAccessible::PageTabList; });
        return tabs == rows.end() ? rows : std::vector<Row>(tabs + 1, rows.end());
    }

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
using Row = KeyboardWindow::Row;

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
    // The caption's middle, wherever the window's size put the design.
    const float scale = view->Graphics().GetDrawScale();
    viewevents::Click(*view, QPointF(view->DesignOrigin()) + QPointF(512, 455) * scale);
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

namespace keyboardwalk
{
// What the accessibility layer announces, as "event name value".
std::vector<std::string> announced;
void RecordAnnouncement(QAccessibleEvent* event)
{
    QAccessibleInterface* iface = event->accessibleInterface();
    if (!iface ||
        (event->type() != QAccessible::ValueChanged && event->type() != QAccessible::Focus))
        return;
    announced.push_back((event->type() == QAccessible::Focus ? "focus " : "value ") +
                        iface->text(QAccessible::Name).toStdString() + " " +
                        iface->text(QAccessible::Value).toStdString());
}
} // namespace keyboardwalk

TEST_F(KeyboardWindow, AScreenReaderFindsEveryControlOfEachPageWithNameRoleAndValue)
{
    constexpr auto kCombo = QAccessible::ComboBox;
    constexpr auto kSpin = QAccessible::SpinBox;
    constexpr auto kButton = QAccessible::Button;
    const std::vector<Row> rows = ReaderRows();
    for (const Row& expected : {Row{"LOAD", kButton, ""}, Row{"SAVE", kButton, ""},
                                Row{"Preset", QAccessible::StaticText, "Untitled"},
                                Row{"AUDITION", QAccessible::CheckBox, ""},
                                Row{"Pages", QAccessible::PageTabList, "GLOBAL"}})
        EXPECT_NE(std::find(rows.begin(), rows.end(), expected), rows.end()) << expected.name;
    // AT-SPI readers take a combo box's choice from its text.
    QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(view);
    QAccessibleInterface* mode = nullptr;
    for (int i = 0; i < reader->childCount() && !mode; ++i)
        if (reader->child(i)->text(QAccessible::Name) == "JACK 1 Mode")
            mode = reader->child(i);
    ASSERT_TRUE(mode && mode->textInterface());
    EXPECT_EQ(mode->textInterface()->text(0, -1), "Pedal");
    EXPECT_EQ(PageRows(), (std::vector<Row>{{"RESET ALL", kButton, ""},
                                            {"JACK 1 Mode", kCombo, "Pedal"},
                                            {"JACK 1 Polarity", kCombo, "Tip"},
                                            {"JACK 2 Mode", kCombo, "Pedal"},
                                            {"JACK 2 Polarity", kCombo, "Tip"}}));

    Key(Qt::Key_2, Qt::ControlModifier);
    const std::vector<Row> pedalPage{{"MIDI Channel", kCombo, "1"},
                                     {"Mode", kCombo, "Control"},
                                     {"Controller", kSpin, "0"},
                                     {"Minimum", kSpin, "0"},
                                     {"Maximum", kSpin, "0"},
                                     {"Calibration Low End: 0%", kButton, ""},
                                     {"Calibration High End: 100%", kButton, ""}};
    EXPECT_EQ(PageRows(), pedalPage);
    QAccessibleInterface* tabs = QAccessible::queryAccessibleInterface(view)->child(0);
    for (int i = 0; tabs && tabs->role() != QAccessible::PageTabList; ++i)
        tabs = QAccessible::queryAccessibleInterface(view)->child(i + 1);
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(ReaderRows(tabs), (std::vector<Row>{{"GLOBAL", QAccessible::PageTab, ""},
                                                  {"JACK 1", QAccessible::PageTab, ""},
                                                  {"JACK 2", QAccessible::PageTab, ""}}));
    EXPECT_TRUE(tabs->child(1)->state().selected);
    Key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(PageRows(), pedalPage);

    // Jack 1 set to switches by the keys, announced as it changes; then its switch page. (The
    // offscreen platform never turns accessibility on, so the test takes the announcements.)
    auto* announcer = dynamic_cast<ViewAccessible*>(reader);
    ASSERT_NE(announcer, nullptr);
    Key(Qt::Key_1, Qt::ControlModifier); // the tabs take the focus
    announcer->Refresh(keyboardwalk::RecordAnnouncement);
    for (int i = 0; i < 2; ++i) // RESET ALL, JACK 1 Mode
    {
        Key(Qt::Key_Tab);
        announcer->Refresh(keyboardwalk::RecordAnnouncement);
    }
    Key(Qt::Key_Down);
    announcer->Refresh(keyboardwalk::RecordAnnouncement);
    EXPECT_NE(std::find(keyboardwalk::announced.begin(), keyboardwalk::announced.end(),
                        "focus JACK 1 Mode Pedal"),
              keyboardwalk::announced.end())
        << ::testing::PrintToString(keyboardwalk::announced);
    EXPECT_EQ(keyboardwalk::announced.back(), "value JACK 1 Mode Switches");

    Key(Qt::Key_2, Qt::ControlModifier);
    EXPECT_EQ(PageRows(), (std::vector<Row>{{"MIDI Channel SWITCH A", kCombo, "1"},
                                            {"MIDI Channel SWITCH B", kCombo, "1"},
                                            {"SWITCH A Operation", kCombo, "Momentary"},
                                            {"SWITCH B Operation", kCombo, "Momentary"},
                                            {"SWITCH A Function", kCombo, "Control"},
                                            {"SWITCH B Function", kCombo, "Control"},
                                            {"SWITCH A Controller", kSpin, "0"},
                                            {"SWITCH B Controller", kSpin, "0"},
                                            {"Special Ctrl Lower", kSpin, "0"},
                                            {"Special Ctrl Upper", kSpin, "0"}}));
}
