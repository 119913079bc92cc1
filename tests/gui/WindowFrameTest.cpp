// The editor's real window as a desktop shows it: repainted in pieces, after every step of a
// user's walk what the platform holds for the window equals a whole repaint of the same state; and
// sized by the screen, the window manager and the corner resizer, it shows the whole design. The
// suite runs this file on the offscreen platform and again in a real X server, there also with
// twice as many device pixels as logical ones.

#include "ViewEvents.h"
#include "app/MainWindow.h"
#include "app/ViewWidget.h"
#include "core/ManualTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"
#include "toolkit/IGraphics.h"
#include "ui/ControlTags.h"
#include "ui/IVNumberBoxControl.h"
#include "ui/PageOverlays.h"

#include <QCoreApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QtTest/QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace windowframetest
{
// The editor's window and view as the program puts them together, without a box.
class DesktopWindow : public ::testing::Test
{
protected:
    DesktopWindow() : window(editor, {})
    {
        view = new ViewWidget(editor);
        window.SetView(view);
        view->SetSizeChangedFunc([this](int width, int height)
                                 { window.FitClientArea(width, height); });
        window.ShowCentred();
    }

    // Lets the view take its marks and the window repaint what they cover, then delivers the
    // repaint the window still has pending.
    void Settle()
    {
        for (int slice = 0; slice < 5; ++slice)
            QTest::qWait(10);
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
        ASSERT_EQ(partial.size(), whole.size()) << step;
        if (partial == whole)
            return;
        QRect where;
        for (int y = 0; y < whole.height(); ++y)
            for (int x = 0; x < whole.width(); ++x)
                if (partial.pixel(x, y) != whole.pixel(x, y))
                    where |= QRect(x, y, 1, 1);
        ADD_FAILURE() << step << ": differs within " << where.x() << "," << where.y() << " "
                      << where.width() << "x" << where.height();
    }

    IGraphics& Graphics() { return view->Graphics(); }
    QPointF ToView(float x, float y)
    {
        const float scale = Graphics().GetDrawScale();
        return QPointF(view->DesignOrigin()) + QPointF(x * scale, y * scale);
    }
    void ClickAt(float x, float y) { viewevents::Click(*view, ToView(x, y)); }
    // Clicks page tab `page` (0 GLOBAL, 1 JACK 1, 2 JACK 2).
    void ShowPage(int page)
    {
        const IRECT tabs = Graphics().GetControlWithTag(kCtrlTagPageTabs)->GetRECT();
        ClickAt(tabs.L + tabs.W() * (static_cast<float>(page) + 0.5f) / 3.f, tabs.MH());
    }
    // Chooses item `item` of the caption's menu, as the menu does.
    void ChooseItem(int tag, int item)
    {
        Graphics().GetControlWithTag(tag)->OnPopupMenuSelection(item, 0);
    }
    // One wheel notch up over every number box on show.
    void WheelEveryNumberBox()
    {
        Graphics().ForAllControls(
            [this](IControl& control)
            {
                if (dynamic_cast<IVNumberBoxControl*>(&control) && !control.IsHidden())
                {
                    const IRECT r = control.GetRECT();
                    viewevents::Wheel(*view, ToView(r.MW(), r.MH()));
                }
            });
    }

    ManualTimerBackend clock;
    ctrlWaveStomplet editor;
    MainWindow window;
    ViewWidget* view = nullptr;
};
} // namespace windowframetest

using windowframetest::DesktopWindow;

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
        ExpectWholeFrame(at + "JACK 1 pedal");
        WheelEveryNumberBox();
        ExpectWholeFrame(at + "JACK 1 pedal values");
        ShowPage(0);
        ChooseItem(kCtrlTagJack1Mode, 1);
        ChooseItem(kCtrlTagJack2Mode, 1);
        ExpectWholeFrame(at + "GLOBAL switches");
        ShowPage(1);
        ExpectWholeFrame(at + "JACK 1 switches");
        WheelEveryNumberBox();
        ExpectWholeFrame(at + "JACK 1 switch values");
        ShowPage(2);
        WheelEveryNumberBox();
        ExpectWholeFrame(at + "JACK 2 switch values");
        ShowPage(0);
        ChooseItem(kCtrlTagJack1Mode, 0);
        ChooseItem(kCtrlTagJack2Mode, 0);
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
    ExpectWholeFrame("0.55x after the resize");
    walk("0.55x ");
}

TEST_F(DesktopWindow, TheWholeDesignFitsTheScreenTheWindowAndTheCornerResizer)
{
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    // The first window lies on the screen's available area, at most at scale 1.
    const QRect available = window.screen()->availableGeometry();
    EXPECT_TRUE(available.contains(window.frameGeometry()))
        << window.frameGeometry().width() << "x" << window.frameGeometry().height() << " on "
        << available.width() << "x" << available.height();
    EXPECT_LE(Graphics().GetDrawScale(), 1.f);
    EXPECT_EQ(view->minimumSize(), QSize(512, 384));

    // The corner resizer pulled to 1.5 times the design: the window follows.
    Graphics().SetDrawScale(1.f);
    Settle();
    const QSize frameExtra = window.size() - view->size();
    viewevents::Press(*view, QPointF(1014, 758));
    viewevents::Move(*view, QPointF(1526, 1142), Qt::LeftButton);
    viewevents::Release(*view, QPointF(1526, 1142));
    Settle();
    EXPECT_FLOAT_EQ(Graphics().GetDrawScale(), 1.5f);
    EXPECT_EQ(view->size(), QSize(1536, 1152));
    EXPECT_EQ(window.size() - view->size(), frameExtra);

    // A window manager's 800 x 600 (600 x 450 on a screen too small for it) shows the whole
    // design scaled to it; a wider window shows it as large as its height allows, centred, with
    // the background colour either side.
    const bool roomy = available.width() >= 1100;
    const QSize fourByThree = roomy ? QSize(800, 600) : QSize(600, 450);
    window.resize(fourByThree + frameExtra);
    Settle();
    EXPECT_EQ(view->size(), fourByThree);
    EXPECT_FLOAT_EQ(Graphics().GetDrawScale(), static_cast<float>(fourByThree.width()) / 1024.f);
    EXPECT_EQ(view->DesignOrigin(), QPoint(0, 0));
    const QSize wide = roomy ? QSize(1000, 600) : QSize(620, 400);
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
    const int side = (wide.width() - designWidth) / 2;
    for (const QPoint& margin :
         {QPoint(2, 2), QPoint(side - 3, wide.height() - 3),
          QPoint(wide.width() - side + 2, wide.height() / 2), QPoint(wide.width() - 3, 2)})
        EXPECT_EQ(held.pixelColor((QPointF(margin) * ratio).toPoint()), backdrop)
            << margin.x() << "," << margin.y();
    // The design's last page tab, where the scale puts it, switches the page.
    ShowPage(2);
    EXPECT_DOUBLE_EQ(Graphics().GetControlWithTag(kCtrlTagPageTabs)->GetValue(), 1.0);
    ExpectWholeFrame("letterboxed");
}
