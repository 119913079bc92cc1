#include "ViewEvents.h"
#include "WaitFor.h"
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
    return waitfor::WaitUntil([&]
                              { return !counter.rects.empty() && !view.IsFrameClockRunning(); });
}

// A shown view of one box over a background.
class ShownView : public ::testing::Test
{
protected:
    ShownView() : editor(2)
    {
        editor.SetLayoutFunc(
            [this](IGraphics& graphics)
            {
                graphics.AttachPanelBackground(IColor(255, 127, 127, 127));
                box = graphics.AttachControl(
                    std::make_unique<FilledBox>(IRECT(100.f, 100.f, 200.f, 150.f)));
                farBox = graphics.AttachControl(
                    std::make_unique<FilledBox>(IRECT(900.f, 600.f, 950.f, 650.f)));
            });
        view = std::make_unique<ViewWidget>(editor);
        counter = std::make_unique<PaintCounter>(*view);
        view->show();
    }

    FakeEditorDelegate editor;
    FilledBox* box = nullptr;
    FilledBox* farBox = nullptr;
    std::unique_ptr<ViewWidget> view;
    std::unique_ptr<PaintCounter> counter;
};
} // namespace viewrepainttest

using viewrepainttest::PaintCounter;
using viewrepainttest::ShownView;

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

TEST_F(ShownView, AChangedControlRepaintsOnlyTheRowsOfItsOwnDrawArea)
{
    constexpr int m = static_cast<int>(IControl::kDrawOverhang);
    const auto within = [](const QRect& rect, int top, int bottom)
    { return rect.top() >= top && rect.bottom() <= bottom; };
    ASSERT_TRUE(viewrepainttest::Settle(*view, *counter));
    counter->rects.clear();

    box->SetDirty(false);
    ASSERT_TRUE(viewrepainttest::Settle(*view, *counter));
    for (const QRect& rect : counter->rects)
        EXPECT_TRUE(within(rect, 100 - m, 149 + m)) << rect.y() << "+" << rect.height();

    counter->rects.clear();
    view->Graphics().SetDrawScale(2.f);
    ASSERT_TRUE(viewrepainttest::Settle(*view, *counter));
    counter->rects.clear();
    box->SetDirty(false);
    ASSERT_TRUE(viewrepainttest::Settle(*view, *counter));
    for (const QRect& rect : counter->rects)
        EXPECT_TRUE(within(rect, 200 - 2 * m, 299 + 2 * m)) << rect.y() << "+" << rect.height();

    // Two controls far apart repaint on their own, not the screen between them.
    counter->rects.clear();
    view->Graphics().SetDrawScale(1.f);
    ASSERT_TRUE(viewrepainttest::Settle(*view, *counter));
    counter->rects.clear();
    box->SetDirty(false);
    farBox->SetDirty(false);
    ASSERT_TRUE(viewrepainttest::Settle(*view, *counter));
    for (const QRect& rect : counter->rects)
        EXPECT_TRUE(within(rect, 100 - m, 149 + m) || within(rect, 600 - m, 649 + m))
            << rect.y() << "+" << rect.height();
}

TEST_F(ShownView, AnAnimationRunsTheFrameClockUntilItEndsAndThenTheViewRests)
{
    ASSERT_TRUE(viewrepainttest::Settle(*view, *counter));
    int ended = 0;
    box->SetAnimationEndActionFunction([&ended](IControl*) { ++ended; });
    box->SetAnimation(
        [](IControl* control)
        {
            if (control->GetAnimationProgress() >= 1.0)
                control->OnEndAnimation();
        },
        50);
    EXPECT_TRUE(waitfor::WaitUntil([&] { return view->IsFrameClockRunning(); }));
    EXPECT_TRUE(waitfor::WaitUntil([&] { return ended == 1 && !view->IsFrameClockRunning(); }));
    EXPECT_GE(counter->rects.size(), 2u); // frames during the animation

    counter->rects.clear();
    for (int slice = 0; slice < 10; ++slice)
        QTest::qWait(20);
    EXPECT_EQ(counter->rects.size(), 0u);
    EXPECT_EQ(ended, 1);
}

TEST(HiddenView, DoesNotRunItsFrameClockForChangesItCannotShow)
{
    FakeEditorDelegate editor(2);
    viewrepainttest::FilledBox* box = nullptr;
    editor.SetLayoutFunc(
        [&box](IGraphics& graphics)
        {
            box = graphics.AttachControl(
                std::make_unique<viewrepainttest::FilledBox>(IRECT(10.f, 10.f, 20.f, 20.f)));
        });
    ViewWidget view(editor);
    box->SetDirty(false);
    QTest::qWait(20);
    EXPECT_FALSE(view.IsFrameClockRunning());
    IRECT dirty;
    EXPECT_TRUE(view.Graphics().IsDirty(dirty)); // kept for when the view is shown
}
