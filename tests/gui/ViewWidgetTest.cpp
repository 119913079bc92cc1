// The view widget between Qt and the design: mouse input in design pixels at any scale, and
// repaints only where something changed, none at rest.

#include "app/ViewWidget.h"

#include "ViewEvents.h"
#include "app/QtTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"
#include "support/FakeEditorDelegate.h"
#include "toolkit/IControl.h"
#include "toolkit/Painter.h"

#include <QPaintEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace viewwidgettest
{
// A filled box that records the mouse events it receives as "kind x,y buttons-and-keys delta",
// in design coordinates (delta: a drag's dY or the wheel's notches).
class MouseProbe : public IControl
{
public:
    explicit MouseProbe(const IRECT& bounds) : IControl(bounds) {}

    void Draw(Painter& painter) override
    {
        painter.FillRect(IColor(255, 200, 60, 0), GetRECT(), GetBlend());
    }
    void OnMouseDown(float x, float y, const IMouseMod& mod) override { Log("down", x, y, mod); }
    void OnMouseUp(float x, float y, const IMouseMod& mod) override { Log("up", x, y, mod); }
    void OnMouseDrag(float x, float y, float, float dY, const IMouseMod& mod) override
    {
        Log("drag", x, y, mod, dY);
    }
    void OnMouseDblClick(float x, float y, const IMouseMod& mod) override
    {
        Log("double", x, y, mod);
    }
    void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override
    {
        Log("wheel", x, y, mod, d);
    }

    std::vector<std::string> events;

private:
    void Log(const char* kind, float x, float y, const IMouseMod& mod, float d = 0.f)
    {
        const std::string keys = std::string(mod.L ? "L" : "") + (mod.R ? "R" : "") +
                                 (mod.S ? "S" : "") + (mod.C ? "C" : "") + (mod.A ? "A" : "");
        events.push_back(QString::asprintf("%s %g,%g %s %g", kind, static_cast<double>(x),
                                           static_cast<double>(y), keys.c_str(),
                                           static_cast<double>(d))
                             .toStdString());
    }
};

// Keeps the rectangles of the regions one widget was asked to paint.
class PaintCounter : public QObject
{
public:
    explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            for (const QRect& rect : static_cast<QPaintEvent*>(event)->region())
                rects.push_back(rect);
        return false;
    }
    std::vector<QRect> rects;
};

// Runs the event loop until the view has painted and its frame clock has stopped.
bool Settle(ViewWidget& view, PaintCounter& counter)
{
    return QTest::qWaitFor([&] { return !counter.rects.empty() && !view.IsFrameClockRunning(); });
}

// A view, not yet shown, whose layout is two probes far apart over a plain background.
class ProbeView : public ::testing::Test
{
protected:
    ProbeView() : editor(4)
    {
        editor.SetLayoutFunc(
            [this](IGraphics& graphics)
            {
                graphics.AttachPanelBackground(IColor(255, 127, 127, 127));
                upperLeft = graphics.AttachControl(
                    std::make_unique<MouseProbe>(IRECT(100.f, 100.f, 200.f, 150.f)));
                lowerRight = graphics.AttachControl(
                    std::make_unique<MouseProbe>(IRECT(600.f, 400.f, 700.f, 450.f)));
            });
        view = std::make_unique<ViewWidget>(editor);
        view->SetSizeChangedFunc([this](int w, int h) { reported = QSize(w, h); });
    }
    void ScaleTo(float scale)
    {
        view->Graphics().SetDrawScale(scale);
        QTest::qWait(1); // the view applies a new scale from the event loop
    }

    FakeEditorDelegate editor;
    MouseProbe* upperLeft = nullptr;
    MouseProbe* lowerRight = nullptr;
    std::unique_ptr<ViewWidget> view;
    QSize reported;
};
} // namespace viewwidgettest

using viewwidgettest::PaintCounter;
using viewwidgettest::ProbeView;
using Events = std::vector<std::string>;

TEST_F(ProbeView, MouseInputReachesTheControlUnderItInDesignPixelsWithItsButtonsAndKeys)
{
    EXPECT_EQ(view->size(), QSize(1024, 768));
    viewevents::Click(*view, {150, 120});
    viewevents::Click(*view, {150, 120}, Qt::RightButton,
                      Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    viewevents::SendMouse(*view, QEvent::MouseButtonDblClick, {150, 120}, Qt::LeftButton,
                          Qt::LeftButton);
    viewevents::Release(*view, {150, 120});
    viewevents::Wheel(*view, {150, 120}, {0, 120});
    viewevents::Wheel(*view, {150, 120}, {0, -60}, Qt::ControlModifier);
    viewevents::Wheel(*view, {150, 120}, {120, 0}); // a sideways swipe: nothing
    EXPECT_EQ(upperLeft->events,
              (Events{"down 150,120 L 0", "up 150,120 L 0", "down 150,120 RSCA 0",
                      "up 150,120 RSCA 0", "double 150,120 L 0", "up 150,120 L 0",
                      "wheel 150,120  1", "wheel 150,120 C -0.5"}));
    EXPECT_TRUE(lowerRight->events.empty());

    // At scale 2 a pixel is half a design pixel, and a drag moves in design pixels.
    ScaleTo(2.f);
    upperLeft->events.clear();
    viewevents::Click(*view, {1300, 850});
    viewevents::Press(*view, {300, 240});
    viewevents::Move(*view, {300, 220}, Qt::LeftButton, Qt::ShiftModifier);
    viewevents::Release(*view, {300, 220});
    EXPECT_EQ(lowerRight->events, (Events{"down 650,425 L 0", "up 650,425 L 0"}));
    EXPECT_EQ(upperLeft->events,
              (Events{"down 150,120 L 0", "drag 150,110 LS -10", "up 150,110 L 0"}));

    // A press whose release went to a menu is let go at the next move with no button held.
    viewevents::Press(*view, {300, 240});
    EXPECT_EQ(view->Graphics().GetCapturedControl(), upperLeft);
    viewevents::Move(*view, {800, 600});
    EXPECT_EQ(view->Graphics().GetCapturedControl(), nullptr);
    EXPECT_EQ(upperLeft->events.back().substr(0, 3), "up ");
}

TEST_F(ProbeView, AChangeWaitsWhileHiddenThenRepaintsOnlyTheRowsOfItsDrawAreaAtEachScale)
{
    PaintCounter counter(*view);
    upperLeft->SetDirty(false);
    QTest::qWait(20);
    EXPECT_FALSE(view->IsFrameClockRunning());
    IRECT dirty;
    EXPECT_TRUE(view->Graphics().IsDirty(dirty)); // kept for when the view is shown
    view->show();
    ASSERT_TRUE(viewwidgettest::Settle(*view, counter));

    // Repaints the probes and checks each painted rectangle lies in the rows of one of them,
    // widened by the drawing overhang.
    const auto expectOwnRows =
        [&](int scale, const std::vector<viewwidgettest::MouseProbe*>& probes)
    {
        counter.rects.clear();
        for (viewwidgettest::MouseProbe* probe : probes)
            probe->SetDirty(false);
        ASSERT_TRUE(viewwidgettest::Settle(*view, counter));
        const int m = static_cast<int>(IControl::kDrawOverhang) * scale;
        for (const QRect& rect : counter.rects)
        {
            bool inside = false;
            for (const viewwidgettest::MouseProbe* probe : probes)
                inside |= rect.top() >= static_cast<int>(probe->GetRECT().T) * scale - m &&
                          rect.bottom() < static_cast<int>(probe->GetRECT().B) * scale + m;
            EXPECT_TRUE(inside) << rect.y() << "+" << rect.height() << " at " << scale;
        }
    };
    for (const int scale : {1, 2})
    {
        ScaleTo(static_cast<float>(scale));
        EXPECT_EQ(view->size(), QSize(1024, 768) * scale);
        ASSERT_TRUE(viewwidgettest::Settle(*view, counter));
        expectOwnRows(scale, {upperLeft});
    }
    expectOwnRows(2, {upperLeft, lowerRight}); // not the screen between them
    ScaleTo(3.f);                              // clamped by the context
    EXPECT_EQ(reported, QSize(2048, 1536));
}

TEST(IdleEditorView, NeitherRepaintsNorRunsItsFrameClock)
{
    // The real editor with its real timers: the 20 ms tick and the 100 ms device timer run.
    QtTimerBackend timers;
    ctrlWaveStomplet editor;
    ViewWidget view(editor);
    PaintCounter counter(view);
    view.show();
    ASSERT_TRUE(viewwidgettest::Settle(view, counter));
    counter.rects.clear();
    int clockRunning = 0;
    for (int slice = 0; slice < 30; ++slice)
    {
        QTest::qWait(20);
        clockRunning += view.IsFrameClockRunning() ? 1 : 0;
    }
    EXPECT_EQ(counter.rects.size(), 0u);
    EXPECT_EQ(clockRunning, 0);
}
