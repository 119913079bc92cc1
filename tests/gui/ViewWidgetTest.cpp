#include "app/ViewWidget.h"

#include "ViewEvents.h"
#include "support/FakeEditorDelegate.h"
#include "toolkit/IControl.h"
#include "toolkit/Painter.h"

#include <QtTest/QTest>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace viewwidgettest
{
// A control that records the mouse events it receives, in design coordinates.
class MouseProbe : public IControl
{
public:
    struct Event
    {
        std::string kind;
        float x = 0.f;
        float y = 0.f;
        IMouseMod mod;
        float d = 0.f; // drag dY or wheel notches
    };

    explicit MouseProbe(const IRECT& bounds) : IControl(bounds) {}

    void Draw(Painter& painter) override
    {
        painter.FillRect(IColor(255, 40, 40, 40), GetRECT(), GetBlend());
    }
    void OnMouseDown(float x, float y, const IMouseMod& mod) override
    {
        events.push_back({"down", x, y, mod});
    }
    void OnMouseUp(float x, float y, const IMouseMod& mod) override
    {
        events.push_back({"up", x, y, mod});
    }
    void OnMouseDrag(float x, float y, float, float dY, const IMouseMod& mod) override
    {
        events.push_back({"drag", x, y, mod, dY});
    }
    void OnMouseDblClick(float x, float y, const IMouseMod& mod) override
    {
        events.push_back({"double", x, y, mod});
    }
    void OnMouseWheel(float x, float y, const IMouseMod& mod, float d) override
    {
        events.push_back({"wheel", x, y, mod, d});
    }

    std::vector<Event> events;
};

// A view whose layout is two probes, far apart, over a plain background.
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
};
} // namespace viewwidgettest

using viewwidgettest::ProbeView;

TEST_F(ProbeView, AClickAtScaleOneReachesTheControlAtThosePixelsWithButtonAndModifiers)
{
    EXPECT_EQ(view->size(), QSize(1024, 768));
    viewevents::Click(*view, QPointF(150, 120));
    ASSERT_EQ(upperLeft->events.size(), 2u);
    EXPECT_EQ(upperLeft->events[0].kind, "down");
    EXPECT_FLOAT_EQ(upperLeft->events[0].x, 150.f);
    EXPECT_FLOAT_EQ(upperLeft->events[0].y, 120.f);
    EXPECT_TRUE(upperLeft->events[0].mod.L);
    EXPECT_EQ(upperLeft->events[1].kind, "up");
    EXPECT_TRUE(lowerRight->events.empty());

    // The right button and shift, ctrl and alt reach the control too.
    viewevents::Click(*view, QPointF(150, 120), Qt::RightButton,
                      Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(upperLeft->events.size(), 4u);
    const IMouseMod mod = upperLeft->events[2].mod;
    EXPECT_FALSE(mod.L);
    EXPECT_TRUE(mod.R && mod.S && mod.C && mod.A);
}

TEST_F(ProbeView, ClicksAndDragsAtScaleTwoReachTheControlAtHalfThePixels)
{
    ScaleTo(2.f);
    EXPECT_EQ(view->size(), QSize(2048, 1536));

    viewevents::Click(*view, QPointF(1300, 850));
    ASSERT_EQ(lowerRight->events.size(), 2u);
    EXPECT_FLOAT_EQ(lowerRight->events[0].x, 650.f);
    EXPECT_FLOAT_EQ(lowerRight->events[0].y, 425.f);
    EXPECT_TRUE(upperLeft->events.empty());

    // (300, 240) at scale 2 is (150, 120) in the design: the upper probe, not the lower one.
    viewevents::Click(*view, QPointF(300, 240));
    ASSERT_EQ(upperLeft->events.size(), 2u);
    EXPECT_FLOAT_EQ(upperLeft->events[0].x, 150.f);
    EXPECT_EQ(lowerRight->events.size(), 2u);

    // A drag moves in design pixels.
    viewevents::Press(*view, QPointF(300, 240));
    viewevents::Move(*view, QPointF(300, 220), Qt::LeftButton, Qt::ShiftModifier);
    viewevents::Release(*view, QPointF(300, 220));
    ASSERT_EQ(upperLeft->events.size(), 5u);
    EXPECT_EQ(upperLeft->events[3].kind, "drag");
    EXPECT_FLOAT_EQ(upperLeft->events[3].d, -10.f);
    EXPECT_TRUE(upperLeft->events[3].mod.S);
}

TEST_F(ProbeView, DoubleClickAndVerticalWheelReachTheControlAndASidewaysSwipeDoesNot)
{
    viewevents::SendMouse(*view, QEvent::MouseButtonDblClick, QPointF(150, 120), Qt::LeftButton,
                          Qt::LeftButton);
    viewevents::Release(*view, QPointF(150, 120));
    viewevents::Wheel(*view, QPointF(150, 120), QPoint(0, 120));
    viewevents::Wheel(*view, QPointF(150, 120), QPoint(0, -60), Qt::ControlModifier);
    viewevents::Wheel(*view, QPointF(150, 120), QPoint(120, 0));

    std::vector<std::string> kinds;
    for (const auto& event : upperLeft->events)
        kinds.push_back(event.kind);
    EXPECT_EQ(kinds, (std::vector<std::string>{"double", "up", "wheel", "wheel"}));
    EXPECT_FLOAT_EQ(upperLeft->events[2].d, 1.f);
    EXPECT_FLOAT_EQ(upperLeft->events[3].d, -0.5f);
    EXPECT_TRUE(upperLeft->events[3].mod.C);
}

TEST_F(ProbeView, APressWhoseReleaseIsLostIsLetGoAtTheNextMove)
{
    viewevents::Press(*view, QPointF(150, 120));
    EXPECT_EQ(view->Graphics().GetCapturedControl(), upperLeft);
    // The release went to a menu; the next move arrives with no button held.
    viewevents::Move(*view, QPointF(400, 300));
    EXPECT_EQ(view->Graphics().GetCapturedControl(), nullptr);
    ASSERT_EQ(upperLeft->events.size(), 2u);
    EXPECT_EQ(upperLeft->events[1].kind, "up");
}

TEST_F(ProbeView, ANewScaleResizesTheViewAndReportsTheSize)
{
    QSize reported;
    view->SetSizeChangedFunc([&reported](int w, int h) { reported = QSize(w, h); });
    ScaleTo(0.5f);
    EXPECT_EQ(view->size(), QSize(512, 384));
    EXPECT_EQ(reported, QSize(512, 384));
    ScaleTo(3.f); // clamped by the context
    EXPECT_EQ(reported, QSize(2048, 1536));
}
