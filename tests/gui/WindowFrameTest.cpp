// The editor's real window as a desktop shows it: repainted in pieces, after every step of a
// user's walk what the platform holds for the window equals a whole repaint of the same state; and
// sized by the screen, the window manager and the corner resizer, it shows the whole design. The
// suite runs these on the offscreen platform and again in a real X server, there also with twice
// as many device pixels as logical ones.
//
// The same window driven by the keyboard alone, against the same window driven by the mouse: both
// must make the same choice, and the undo key take it back. The same window as a screen reader
// reads it, through Qt's accessibility interfaces; and its menus.

#include "ViewEvents.h"
#include "app/MainWindow.h"
#include "app/ViewAccessible.h"
#include "app/ViewWidget.h"
#include "core/ManualTimerBackend.h"
#include "device/ParamTable.h"
#include "editor/ctrlWaveStomplet.h"
#include "toolkit/IGraphics.h"
#include "ui/ControlTags.h"
#include "ui/IVNumberBoxControl.h"
#include "ui/PageOverlays.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QScreen>
#include <QWheelEvent>
#include <QtTest/QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <string>

namespace
{
using Rows = std::vector<std::string>;

// The editor's window and view as the program puts them together, without a box, active.
class DesktopWindow : public ::testing::Test
{
protected:
    DesktopWindow() : window(editor, {[this](QWidget*) { ++preferencesRuns; }})
    {
        view = new ViewWidget(editor);
        window.SetView(view);
        view->SetSizeChangedFunc([this](int width, int height)
                                 { window.FitClientArea(width, height); });
        window.ShowCentred();
        QApplication::setActiveWindow(&window);
        view->setFocus();
    }

    // Lets the view take its marks and the window repaint what they cover, then delivers the
    // repaint the window still has pending.
    void Settle()
    {
        QTest::qWait(50);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
    }

    // The view's pixels as the platform holds them (the backing store on the offscreen platform,
    // the window's contents in the X server under xcb).
    QImage Held() const
    {
        const QPoint origin = view->mapTo(&window, QPoint(0, 0));
        const QPixmap pixels = window.screen()->grabWindow(window.winId(), origin.x(), origin.y(),
                                                           view->width(), view->height());
        return pixels.toImage().convertToFormat(QImage::Format_RGB32);
    }

    // What the platform holds after the partial repaints equals a whole repaint of the view.
    void ExpectWholeFrame(const std::string& step)
    {
        Settle();
        const QImage partial = Held();
        view->repaint();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::UpdateRequest);
        const QImage whole = Held();
        ASSERT_FALSE(whole.isNull()) << step;
        EXPECT_TRUE(partial == whole) << step;
    }

    IGraphics& Graphics() { return view->Graphics(); }
    QPointF ToView(float x, float y)
    {
        return QPointF(view->DesignOrigin()) + QPointF(x, y) * Graphics().GetDrawScale();
    }
    void ClickAt(float x, float y) { viewevents::Click(*view, ToView(x, y)); }
    // Clicks page tab `page` (0 GLOBAL, 1 JACK 1, 2 JACK 2).
    void ShowPage(int page)
    {
        const IRECT tabs = Graphics().GetControlWithTag(kCtrlTagPageTabs)->GetRECT();
        ClickAt(tabs.L + tabs.W() * (static_cast<float>(page) + 0.5f) / 3.f, tabs.MH());
    }
    // One wheel notch away from the user over every number box on show.
    void WheelEveryNumberBox()
    {
        Graphics().ForAllControls(
            [this](IControl& control)
            {
                if (dynamic_cast<IVNumberBoxControl*>(&control) && !control.IsHidden())
                {
                    const QPointF at = ToView(control.GetRECT().MW(), control.GetRECT().MH());
                    QWheelEvent event(at, view->mapToGlobal(at), QPoint(), QPoint(0, 120),
                                      Qt::NoButton, {}, Qt::NoScrollPhase, false);
                    QApplication::sendEvent(view, &event);
                }
            });
    }

    ManualTimerBackend clock;
    ctrlWaveStomplet editor;
    int preferencesRuns = 0;
    MainWindow window;
    ViewWidget* view = nullptr;
};

// The same window with the keys and the screen reader's view of it (its own name keeps these
// tests off the X server's runs).
class KeyboardWindow : public DesktopWindow
{
protected:
    // A key as the window system delivers it: to the open menu, else to the window's focus
    // widget (the offscreen platform does not hand the activation back after a menu).
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget* target = QApplication::activePopupWidget();
        QTest::keyClick(target ? target : window.focusWidget(), key, modifiers);
    }
    IControl* Focus() { return Graphics().GetKeyboardFocus().GetFocus(); }
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
};
} // namespace

// Mended: a text's kept layout was placed by the wrong font's size the first time it was drawn,
// texts reached past their controls' repainted rectangles, and a repaint that started mid-row
// shaded scaled images and gradients differently, so partial repaints left wrong pixels.
TEST_F(DesktopWindow, EveryPartialRepaintLeavesTheWindowAsAWholeRepaintWould)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const auto walk = [this](const std::string& at)
    {
        ExpectWholeFrame(at + "first screen");
        ShowPage(1);
        WheelEveryNumberBox();
        ExpectWholeFrame(at + "JACK 1 pedal values");
        ShowPage(0); // both jacks to switches, as their captions' menus choose
        Graphics().GetControlWithTag(kCtrlTagJack1Mode)->OnPopupMenuSelection(1, 0);
        Graphics().GetControlWithTag(kCtrlTagJack2Mode)->OnPopupMenuSelection(1, 0);
        ExpectWholeFrame(at + "GLOBAL switches");
        ShowPage(2);
        WheelEveryNumberBox();
        ExpectWholeFrame(at + "JACK 2 switch values");
        ShowPage(0);
        Graphics().GetControlWithTag(kCtrlTagJack1Mode)->OnPopupMenuSelection(0, 0);
        Graphics().GetControlWithTag(kCtrlTagJack2Mode)->OnPopupMenuSelection(0, 0);
        ShowPage(2);
        WheelEveryNumberBox();
        ExpectWholeFrame(at + "JACK 2 pedal values");

        // The activity light, compared at every frame of its flash.
        editor.OnMidiForView(MidiMessage{0, 0xB0, 11, 80});
        for (int frame = 0; frame < 100 && view->IsFrameClockRunning(); ++frame)
            ExpectWholeFrame(at + "light");
        EXPECT_FALSE(view->IsFrameClockRunning());

        ASSERT_TRUE(editor.OnAboutRequested());
        ExpectWholeFrame(at + "About");
        ClickAt(500.f, 400.f);
        ExpectWholeFrame(at + "About closed");
        ASSERT_TRUE(editor.OnFirmwareUpdateRequested(ctrlWaveStomplet::kFirmwareWindowRequest));
        ExpectWholeFrame(at + "firmware window");
        CloseFirmwareWindow(Graphics());
        ExpectWholeFrame(at + "firmware window closed");
    };
    walk("first window's scale: ");
    // Then at a scale whose pixels do not fall on design pixels (small enough for every screen).
    Graphics().SetDrawScale(0.55f);
    walk("0.55x ");
}

TEST_F(DesktopWindow, TheWholeDesignFitsTheScreenTheWindowAndTheCornerResizerAndALostReleaseIsLetGo)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The first window lies on the screen's available area, at most at scale 1.
    const QRect available = window.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(window.frameGeometry()));
    EXPECT_LE(Graphics().GetDrawScale(), 1.f);
    EXPECT_EQ(view->minimumSize(), QSize(512, 384));

    // The corner resizer pulled to 1.5 times the design: the window follows.
    Graphics().SetDrawScale(1.f);
    Settle();
    const QSize frameExtra = window.size() - view->size();
    viewevents::Mouse(*view, QEvent::MouseButtonPress, QPointF(1014, 758), Qt::LeftButton);
    viewevents::Mouse(*view, QEvent::MouseMove, QPointF(1526, 1142), Qt::LeftButton);
    viewevents::Mouse(*view, QEvent::MouseButtonRelease, QPointF(1526, 1142), Qt::NoButton);
    Settle();
    EXPECT_EQ(view->size(), QSize(1536, 1152));
    EXPECT_EQ(window.size() - view->size(), frameExtra);

    // A window manager's window wider than the design shows it as large as its height allows,
    // centred, with the background colour either side.
    const QSize wide = available.width() >= 1100 ? QSize(1000, 600) : QSize(620, 400);
    window.resize(wide + frameExtra);
    Settle();
    const float scale = static_cast<float>(wide.height()) / 768.f;
    EXPECT_FLOAT_EQ(Graphics().GetDrawScale(), scale);
    const int designWidth = static_cast<int>(std::lround(1024.0 * scale));
    EXPECT_EQ(view->DesignOrigin(), QPoint((wide.width() - designWidth) / 2, 0));
    const QImage held = Held();
    const QColor backdrop(Graphics().GetBackgroundColor().R, Graphics().GetBackgroundColor().G,
                          Graphics().GetBackgroundColor().B);
    const qreal ratio = held.width() / static_cast<qreal>(view->width());
    for (const int x : {2, wide.width() - 3}) // the left and the right margin
        EXPECT_EQ(held.pixelColor((QPointF(x, wide.height() / 2) * ratio).toPoint()), backdrop);
    // The design's last page tab, where the scale puts it, switches the page.
    ShowPage(2);
    EXPECT_DOUBLE_EQ(Graphics().GetControlWithTag(kCtrlTagPageTabs)->GetValue(), 1.0);
    ExpectWholeFrame("letterboxed");

    // A press whose release went to a menu is let go at the next move with no button held.
    const IRECT tabs = Graphics().GetControlWithTag(kCtrlTagPageTabs)->GetRECT();
    viewevents::Mouse(*view, QEvent::MouseButtonPress, ToView(tabs.MW(), tabs.MH()),
                      Qt::LeftButton);
    EXPECT_NE(Graphics().GetCapturedControl(), nullptr);
    viewevents::Mouse(*view, QEvent::MouseMove, QPointF(10, 10), Qt::NoButton);
    EXPECT_EQ(Graphics().GetCapturedControl(), nullptr);
}

TEST_F(KeyboardWindow, KeysAloneSetJack1ModeToSwitchesThroughItsMenuAndTheUndoKeyTakesItBack)
{
    // LOAD, SAVE, AUDITION, the page tabs and RESET ALL come first in reading order.
    for (int i = 0; i < 6; ++i)
        Key(Qt::Key_Tab);
    ASSERT_EQ(Focus(), Graphics().GetControlWithTag(kCtrlTagJack1Mode));
    EXPECT_TRUE(Graphics().GetKeyboardFocus().IsRingShown());
    Key(Qt::Key_Return);
    ASSERT_NE(qobject_cast<QMenu*>(QApplication::activePopupWidget()), nullptr);
    // Mended: the menu came up in the desktop's light theme over the dark screen.
    const QImage drawn = QApplication::activePopupWidget()->grab().toImage();
    EXPECT_LT(drawn.pixelColor(drawn.width() / 2, 2).lightnessF(), 0.3);
    Key(Qt::Key_Down); // from the checked "Pedal" to "Switches"
    Key(Qt::Key_Return);
    QTest::qWait(1);
    EXPECT_EQ(editor.GetParam(kJack1Mode)->Int(), kJackModeSwitches);
    EXPECT_EQ(Focus(), Graphics().GetControlWithTag(kCtrlTagJack1Mode)); // back from the menu

    QApplication::setActiveWindow(&window); // shortcuts need an active window
    Key(Qt::Key_Z, Qt::ControlModifier);    // Edit > Undo: back to "Pedal"
    EXPECT_EQ(editor.GetParam(kJack1Mode)->Int(), kJackModePedal);
}

TEST_F(KeyboardWindow, AScreenReaderFindsEveryControlOfEachPageWithNameAndValue)
{
    EXPECT_EQ(Read(Reader(), true),
              (Rows{"LOAD: ", "SAVE: ", "AUDITION: ", "MIDI IN: ", "Preset: Untitled",
                    "Pages: GLOBAL", "RESET ALL: ", "JACK 1 Mode: Pedal", "JACK 1 Polarity: Tip",
                    "JACK 2 Mode: Pedal", "JACK 2 Polarity: Tip"}));
    // AT-SPI readers take a combo box's choice from its text.
    EXPECT_EQ(Reader()->child(7)->textInterface()->text(0, -1), "Pedal");
    QAccessibleInterface* tabs = Reader()->child(5);
    EXPECT_EQ(Read(tabs, true), (Rows{"GLOBAL: ", "JACK 1: ", "JACK 2: "}));

    Key(Qt::Key_3, Qt::ControlModifier);
    EXPECT_EQ(Read(Reader()),
              (Rows{"MIDI Channel: 1", "Mode: Control", "Controller: 0", "Minimum: 0", "Maximum: 0",
                    "Calibration Low End: 0%: ", "Calibration High End: 100%: "}));
    EXPECT_TRUE(tabs->child(2)->state().selected);

    // Jack 1 set to switches by the keys, announced as it changes. (The
    // offscreen platform never turns accessibility on, so the test takes the announcements.)
    auto& announcer = dynamic_cast<ViewAccessible&>(*Reader());
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
    Key(Qt::Key_1, Qt::ControlModifier);                               // the tabs take the focus
    for (const Qt::Key key : {Qt::Key_Tab, Qt::Key_Tab, Qt::Key_Down}) // to JACK 1 Mode, Switches
    {
        Key(key);
        announcer.Refresh(record);
    }
    EXPECT_EQ(announced.end()[-2], "focus JACK 1 Mode Pedal");
    EXPECT_EQ(announced.back(), "value JACK 1 Mode Switches");
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
        Graphics().ForControlInGroup(group, [&any](IControl& c) { any |= !c.IsHidden(); });
        return any;
    };
    item["&File &Firmware Update"]->trigger();
    EXPECT_TRUE(shown(kGroupFirmwareUpdate));
    CloseFirmwareWindow(Graphics());
    item["&Help &About"]->trigger();
    EXPECT_TRUE(shown(kGroupAbout));
    item["&File &Quit"]->trigger(); // like the close box
    EXPECT_FALSE(window.isVisible());
}
