// The editor's view widget at rest and when one light flashes: it repaints only where something
// changed, and nothing at all at rest.

#include "app/ViewWidget.h"

#include "ViewEvents.h"
#include "app/QtTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"
#include "toolkit/IControl.h"
#include "ui/ControlTags.h"

#include <QPaintEvent>
#include <QtTest/QTest>
#include <gtest/gtest.h>

namespace
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
} // namespace

TEST(EditorView, AtRestItNeitherRepaintsNorRunsItsFrameClockAndAFlashRepaintsOnlyTheLight)
{
    // The real editor with its real timers: the 20 ms tick and the 100 ms device timer run.
    QtTimerBackend timers;
    ctrlWaveStomplet editor;
    ViewWidget view(editor);
    PaintCounter counter(view);
    // Runs the event loop until the view has painted and its frame clock has stopped.
    const auto settle = [&] {
        return QTest::qWaitFor([&]
                               { return !counter.rects.empty() && !view.IsFrameClockRunning(); });
    };
    view.show();
    ASSERT_TRUE(settle());

    counter.rects.clear(); // then 0.6 s at rest: no paint, no frame clock
    EXPECT_FALSE(
        QTest::qWaitFor([&] { return !counter.rects.empty() || view.IsFrameClockRunning(); }, 600));

    // The activity light's flash repaints the rows of the light alone, at scale 1 and 2.
    const auto expectTheLightAlone = [&](int scale)
    {
        counter.rects.clear();
        editor.OnMidiForView(MidiMessage{0, 0xB0, 11, 80});
        ASSERT_TRUE(settle());
        const IRECT light = view.Graphics().GetControlWithTag(kCtrlTagMidiLight)->GetRECT();
        const int m = static_cast<int>(IControl::kDrawOverhang);
        for (const QRect& rect : counter.rects)
            EXPECT_TRUE(rect.top() >= (static_cast<int>(light.T) - m) * scale &&
                        rect.bottom() < (static_cast<int>(light.B) + m) * scale)
                << rect.y() << "+" << rect.height() << " at " << scale;
    };
    expectTheLightAlone(1);
    counter.rects.clear(); // to wait for the whole repaint at the new scale
    view.Graphics().SetDrawScale(2.f);
    ASSERT_TRUE(settle());
    expectTheLightAlone(2);

    // A press whose release went to a menu is let go at the next move with no button held.
    const IRECT tabs = view.Graphics().GetControlWithTag(kCtrlTagPageTabs)->GetRECT();
    viewevents::Mouse(view, QEvent::MouseButtonPress, QPointF(tabs.MW(), tabs.MH()) * 2,
                      Qt::LeftButton);
    EXPECT_NE(view.Graphics().GetCapturedControl(), nullptr);
    viewevents::Mouse(view, QEvent::MouseMove, {10, 10}, Qt::NoButton);
    EXPECT_EQ(view.Graphics().GetCapturedControl(), nullptr);
}
