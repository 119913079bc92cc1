#include "app/QtTimerBackend.h"
#include "app/ViewWidget.h"
#include "editor/ctrlWaveStomplet.h"
#include "support/FakeEditorDelegate.h"
#include "toolkit/IControl.h"
#include "toolkit/Painter.h"

#include <QPaintEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <vector>

namespace viewrepainttest
{
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

class FilledBox : public IControl
{
public:
    explicit FilledBox(const IRECT& bounds) : IControl(bounds) {}
    void Draw(Painter& painter) override
    {
        painter.FillRect(IColor(255, 200, 60, 0), GetRECT(), GetBlend());
    }
};

// Runs the event loop until the view has painted and its frame clock has stopped.
bool Settle(ViewWidget& view, PaintCounter& counter)
{
    return QTest::qWaitFor([&] { return !counter.rects.empty() && !view.IsFrameClockRunning(); });
}
} // namespace viewrepainttest

using viewrepainttest::FilledBox;
using viewrepainttest::PaintCounter;

TEST(IdleEditorView, NeitherRepaintsNorRunsItsFrameClock)
{
    // The real editor with its real timers: the 20 ms tick and the 100 ms device timer run.
    QtTimerBackend timers;
    ctrlWaveStomplet editor;
    ViewWidget view(editor);
    PaintCounter counter(view);
    view.show();
    ASSERT_TRUE(viewrepainttest::Settle(view, counter));

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

TEST(BoxView, AChangeWaitsWhileTheViewIsHiddenAndThenRepaintsOnlyTheRowsOfItsOwnDrawArea)
{
    FakeEditorDelegate editor(2);
    FilledBox* box = nullptr;
    FilledBox* farBox = nullptr;
    editor.SetLayoutFunc(
        [&](IGraphics& graphics)
        {
            graphics.AttachPanelBackground(IColor(255, 127, 127, 127));
            box = graphics.AttachControl(std::make_unique<FilledBox>(IRECT(100, 100, 200, 150)));
            farBox = graphics.AttachControl(std::make_unique<FilledBox>(IRECT(900, 600, 950, 650)));
        });
    ViewWidget view(editor);
    PaintCounter counter(view);
    box->SetDirty(false);
    QTest::qWait(20);
    EXPECT_FALSE(view.IsFrameClockRunning());
    IRECT dirty;
    EXPECT_TRUE(view.Graphics().IsDirty(dirty)); // kept for when the view is shown
    view.show();
    ASSERT_TRUE(viewrepainttest::Settle(view, counter));

    // Rows top to bottom of the design, widened by the drawing overhang, at `scale`.
    const auto expectRowsWithin = [&](int scale, const std::vector<std::pair<int, int>>& rows)
    {
        ASSERT_TRUE(viewrepainttest::Settle(view, counter));
        const int m = static_cast<int>(IControl::kDrawOverhang) * scale;
        for (const QRect& rect : counter.rects)
        {
            bool inside = false;
            for (const auto& [top, bottom] : rows)
                inside |= rect.top() >= top * scale - m && rect.bottom() <= bottom * scale + m - 1;
            EXPECT_TRUE(inside) << rect.y() << "+" << rect.height() << " at " << scale;
        }
        counter.rects.clear();
    };
    for (const int scale : {1, 2})
    {
        view.Graphics().SetDrawScale(static_cast<float>(scale));
        ASSERT_TRUE(viewrepainttest::Settle(view, counter));
        counter.rects.clear();
        box->SetDirty(false);
        expectRowsWithin(scale, {{100, 150}});
    }
    // Two controls far apart repaint on their own, not the screen between them.
    box->SetDirty(false);
    farBox->SetDirty(false);
    expectRowsWithin(2, {{100, 150}, {600, 650}});
}
