// The view widget between Qt and the design: it repaints only where something changed, and
// nothing at rest.

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
class FilledBox : public IControl
{
public:
    explicit FilledBox(const IRECT& bounds) : IControl(bounds) {}
    void Draw(Painter& painter) override
    {
        painter.FillRect(IColor(255, 200, 60, 0), GetRECT(), GetBlend());
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

} // namespace viewwidgettest

using viewwidgettest::FilledBox;
using viewwidgettest::PaintCounter;

TEST(BoxView, AChangeWaitsWhileHiddenThenRepaintsOnlyTheRowsOfItsDrawAreaAtEachScale)
{
    FakeEditorDelegate editor(4);
    FilledBox* upper = nullptr;
    FilledBox* lower = nullptr;
    editor.SetLayoutFunc(
        [&](IGraphics& graphics)
        {
            graphics.AttachPanelBackground(IColor(255, 127, 127, 127));
            upper = graphics.AttachControl(std::make_unique<FilledBox>(IRECT(100, 100, 200, 150)));
            lower = graphics.AttachControl(std::make_unique<FilledBox>(IRECT(600, 400, 700, 450)));
        });
    ViewWidget view(editor);
    PaintCounter counter(view);
    upper->SetDirty(false);
    QTest::qWait(20);
    EXPECT_FALSE(view.IsFrameClockRunning());
    IRECT dirty;
    EXPECT_TRUE(view.Graphics().IsDirty(dirty)); // kept for when the view is shown
    view.show();

    // Each painted rectangle lies in the rows of one changed box, widened by the overhang.
    const auto expectOwnRows = [&](int scale, const std::vector<FilledBox*>& boxes)
    {
        ASSERT_TRUE(viewwidgettest::Settle(view, counter));
        counter.rects.clear();
        for (FilledBox* box : boxes)
            box->SetDirty(false);
        ASSERT_TRUE(viewwidgettest::Settle(view, counter));
        const int m = static_cast<int>(IControl::kDrawOverhang) * scale;
        for (const QRect& rect : counter.rects)
        {
            bool inside = false;
            for (const FilledBox* box : boxes)
                inside |= rect.top() >= static_cast<int>(box->GetRECT().T) * scale - m &&
                          rect.bottom() < static_cast<int>(box->GetRECT().B) * scale + m;
            EXPECT_TRUE(inside) << rect.y() << "+" << rect.height() << " at " << scale;
        }
    };
    expectOwnRows(1, {upper});
    counter.rects.clear(); // to wait for the whole repaint at the new scale
    view.Graphics().SetDrawScale(2.f);
    expectOwnRows(2, {upper});
    expectOwnRows(2, {upper, lower}); // not the screen between them

    // A press whose release went to a menu is let go at the next move with no button held.
    viewevents::Press(view, {300, 240});
    EXPECT_EQ(view.Graphics().GetCapturedControl(), upper);
    viewevents::Move(view, {800, 600});
    EXPECT_EQ(view.Graphics().GetCapturedControl(), nullptr);
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
