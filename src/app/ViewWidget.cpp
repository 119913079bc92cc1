#include "app/ViewWidget.h"

#include "app/KeyPressFromQt.h"
#include "app/ViewAccessible.h"
#include "core/IGEditorDelegate.h"
#include "render/QtPainter.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/TooltipLookup.h"

#include <QAccessible>
#include <QEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QRegion>
#include <QResizeEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

namespace
{
// Slack for rounding when a widget rectangle is turned back into design pixels.
constexpr float kAreaSlack = 1e-3f;
// Far enough past any edge to hold whatever a control reaches out to.
constexpr float kOpenEdge = 1e6f;
// One notch of a plain mouse wheel, in Qt's eighths of a degree.
constexpr float kWheelNotch = 120.f;
// The frame clock's rate while an animation runs. The activity light's 200 ms flash reads as
// smooth in six steps, and at 60 frames a second the demo's steady flashing cost the editor half
// again as much CPU.
constexpr int kFramesPerSecond = 30;
// How long after a paint the images no control shows are dropped: once for a run of frames, not
// on each of them.
constexpr int kImageReleaseDelayMs = 500;

IMouseMod ModFor(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers)
{
    IMouseMod mod;
    mod.L = buttons.testFlag(Qt::LeftButton);
    mod.R = buttons.testFlag(Qt::RightButton);
    mod.S = modifiers.testFlag(Qt::ShiftModifier);
    // Qt reports the Command key of macOS as Control, which is what the toolkit expects.
    mod.C = modifiers.testFlag(Qt::ControlModifier);
    mod.A = modifiers.testFlag(Qt::AltModifier);
    return mod;
}

bool IsToolkitButton(Qt::MouseButton button)
{
    return button == Qt::LeftButton || button == Qt::RightButton;
}
} // namespace

ViewWidget::ViewWidget(IGEditorDelegate& editor, QWidget* parent)
    : QWidget(parent), mEditor(editor), mLoader(mFonts, mBitmaps),
      mPlatformUi(
          *this, [this] { return mGraphics.GetDrawScale(); }, &mFonts),
      mGraphics(editor, kDesignWidth, kDesignHeight, kFramesPerSecond)
{
    // Every pixel is painted by the controls (the layout's background panel covers the view).
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setMinimumSize(ScaledSize(IGraphics::kMinScale));
    resize(ScaledSize(1.f));

    mFrameTimer.setTimerType(Qt::PreciseTimer);
    mFrameTimer.setInterval(std::max(1, 1000 / mGraphics.FPS()));
    connect(&mFrameTimer, &QTimer::timeout, this, [this] { OnFrameTick(); });
    mCheckTimer.setSingleShot(true);
    mCheckTimer.setInterval(0);
    connect(&mCheckTimer, &QTimer::timeout, this, [this] { CheckForWork(); });
    mClock.start();

    mPlatformUi.SetDesignOriginFunc([this] { return mOrigin; });
    mGraphics.SetPlatformUi(&mPlatformUi);
    mGraphics.SetResourceLoader(&mLoader);
    mAccessibleTimer.setSingleShot(true);
    mAccessibleTimer.setInterval(0);
    connect(&mAccessibleTimer, &QTimer::timeout, this, [this] { RefreshAccessible(); });
    mReleaseTimer.setSingleShot(true);
    mReleaseTimer.setInterval(kImageReleaseDelayMs);
    connect(&mReleaseTimer, &QTimer::timeout, this, [this] { ReleaseHiddenImages(); });
    ViewAccessible::InstallFactory();

    mGraphics.SetRedrawRequestFunc(
        [this]
        {
            ScheduleCheck();
            if (QAccessible::isActive() && !mAccessibleTimer.isActive())
                mAccessibleTimer.start();
        });
    mEditor.OpenView(mGraphics, mGraphics);
    ScheduleCheck();
}

ViewWidget::~ViewWidget()
{
    *mOpen = false;
    mAccessibleTimer.stop();
    mGraphics.SetRedrawRequestFunc(nullptr);
    mFrameTimer.stop();
    mCheckTimer.stop();
    mReleaseTimer.stop();
    if (mEditor.GetUI() == &mGraphics)
        mEditor.CloseView();
}

QSize ViewWidget::ScaledSize(float scale) const
{
    return QSize(static_cast<int>(std::lround(kDesignWidth * static_cast<double>(scale))),
                 static_cast<int>(std::lround(kDesignHeight * static_cast<double>(scale))));
}

QSize ViewWidget::sizeHint() const
{
    return ScaledSize(mAppliedScale);
}

float ViewWidget::FitScale(const QSize& size)
{
    const float scale = std::min(static_cast<float>(size.width()) / kDesignWidth,
                                 static_cast<float>(size.height()) / kDesignHeight);
    return std::clamp(scale, IGraphics::kMinScale, IGraphics::kMaxScale);
}

void ViewWidget::PlaceDesign()
{
    const QSize design = ScaledSize(mAppliedScale);
    // Whole pixels, so the design's pixels do not depend on the letterbox.
    mOrigin = QPoint(std::max(0, (width() - design.width()) / 2),
                     std::max(0, (height() - design.height()) / 2));
}

QPointF ViewWidget::ToDesign(const QPointF& widgetPos) const
{
    return (widgetPos - QPointF(mOrigin)) / static_cast<qreal>(mAppliedScale);
}

QRect ViewWidget::ToWidgetRect(const IRECT& rect) const
{
    const IRECT pixels = rect.GetScaled(mAppliedScale).GetPixelAligned();
    return QRect(QPoint(static_cast<int>(pixels.L), static_cast<int>(pixels.T)),
                 QPoint(static_cast<int>(pixels.R) - 1, static_cast<int>(pixels.B) - 1))
        .translated(mOrigin);
}

IRECT ViewWidget::ToDesignArea(const QRect& widgetRect) const
{
    const float scale = mAppliedScale;
    const QRect rect = widgetRect.translated(-mOrigin);
    IRECT area(static_cast<float>(rect.left()) / scale - kAreaSlack,
               static_cast<float>(rect.top()) / scale - kAreaSlack,
               static_cast<float>(rect.right() + 1) / scale + kAreaSlack,
               static_cast<float>(rect.bottom() + 1) / scale + kAreaSlack);
    const QRect design(QPoint(0, 0), ScaledSize(scale));
    if (rect.left() <= 0)
        area.L = -kOpenEdge;
    if (rect.top() <= 0)
        area.T = -kOpenEdge;
    if (rect.right() >= design.right())
        area.R = kOpenEdge;
    if (rect.bottom() >= design.bottom())
        area.B = kOpenEdge;
    return area;
}

void ViewWidget::ScheduleCheck()
{
    if (!mCheckTimer.isActive() && !mFrameTimer.isActive())
        mCheckTimer.start();
}

void ViewWidget::CheckForWork()
{
    ApplyScale();
    // A hidden view keeps the marks; showing it repaints it whole.
    if (isVisible() && mGraphics.TakeDirtyRects(mDirtyRects))
    {
        // Each control's own area: nothing is resampled while drawing (images are drawn from
        // copies scaled to the device's pixels), so a repaint that starts anywhere gives the
        // pixels a whole one gives, and an animation repaints only its own corner.
        QRegion dirty;
        for (const IRECT& rect : mDirtyRects)
            dirty += ToWidgetRect(rect);
        // Painted at once: this runs from the event loop already, and posting the repaint would
        // cost it a second pass for every frame of an animation.
        repaint(dirty);
    }
    if (mGraphics.IsAnimating())
    {
        if (!mFrameTimer.isActive())
            mFrameTimer.start();
    }
    else
    {
        mFrameTimer.stop();
    }
}

void ViewWidget::OnFrameTick()
{
    mGraphics.OnFrame(static_cast<double>(mClock.nsecsElapsed()) / 1e6);
    CheckForWork();
}

void ViewWidget::ApplyScale()
{
    const float scale = mGraphics.GetDrawScale();
    if (scale == mAppliedScale)
        return;
    mAppliedScale = scale;
    PlaceDesign();
    update();
    // A scale the widget's own size chose needs no other size; the corner resizer's does.
    if (mFittingToSize)
        return;
    const QSize size = ScaledSize(scale);
    resize(size);
    if (mSizeChanged)
        mSizeChanged(size.width(), size.height());
}

void ViewWidget::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    // The size the corner resizer asked for keeps its exact scale; any other size is filled by the
    // largest scale that shows the whole design.
    if (size() != ScaledSize(mGraphics.GetDrawScale()))
    {
        mFittingToSize = true;
        mGraphics.SetDrawScale(FitScale(size()));
        ApplyScale();
        mFittingToSize = false;
    }
    PlaceDesign();
    update();
}

void ViewWidget::AfterInput()
{
    ApplyScale();
    ScheduleCheck();
}

void ViewWidget::ReleaseLostCapture()
{
    if (!mGraphics.GetCapturedControl())
        return;
    mGraphics.ReleaseMouseCapture();
    AfterInput();
}

void ViewWidget::RefreshAccessible()
{
    if (auto* iface = dynamic_cast<ViewAccessible*>(QAccessible::queryAccessibleInterface(this)))
        iface->Refresh(QAccessible::updateAccessibility);
}

QImage ViewWidget::RenderImage(float scale)
{
    if (!std::isfinite(scale) || scale <= 0.f)
        scale = 1.f;
    IRECT pending;
    const bool hadPending = mGraphics.IsDirty(pending);
    QImage image(ScaledSize(scale), QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::black);
    {
        QPainter qtPainter(&image);
        QtPainter painter(qtPainter, scale, mFonts, mBitmaps, &mTextLayouts);
        mGraphics.Draw(painter, IRECT(-kOpenEdge, -kOpenEdge, kOpenEdge, kOpenEdge));
    }
    // The draw above cleared the marks; the screen still needs what they covered.
    if (hadPending)
    {
        update(ToWidgetRect(pending));
    }
    return image;
}

bool ViewWidget::event(QEvent* event)
{
    // Key presses are taken here, before QWidget would spend Tab on moving the focus out.
    if (event->type() == QEvent::KeyPress)
    {
        // A tooltip would go on telling what the key may just have changed.
        QToolTip::hideText();
        const IKeyPress press = KeyPressFromQt(*static_cast<QKeyEvent*>(event));
        if (press.key != EKey::kNone && mGraphics.OnKeyDown(press))
        {
            event->accept();
            AfterInput();
            return true;
        }
        // Tab never leaves the view: the editor's screen is the window's only stop.
        if (press.key == EKey::kTab)
            return true;
    }
    if (event->type() == QEvent::ToolTip)
    {
        auto* help = static_cast<QHelpEvent*>(event);
        const QPointF pos = ToDesign(help->pos());
        const std::string text =
            TooltipAt(mGraphics, static_cast<float>(pos.x()), static_cast<float>(pos.y()));
        if (text.empty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), QString::fromStdString(text), this);
        return true;
    }
    return QWidget::event(event);
}

void ViewWidget::paintEvent(QPaintEvent* event)
{
    QPainter qtPainter(this);
    const IColor backdrop = mGraphics.GetBackgroundColor();
    // The letterbox, and under the design what was there before never shows through: not at the
    // edge pixels the design covers in part.
    const QColor backdropColor(backdrop.R, backdrop.G, backdrop.B);
    for (const QRect& rect : event->region())
        qtPainter.fillRect(rect, backdropColor);
    qtPainter.setClipRect(QRect(mOrigin, ScaledSize(mAppliedScale)), Qt::IntersectClip);
    qtPainter.translate(mOrigin);
    QtPainter painter(qtPainter, mAppliedScale, mFonts, mBitmaps, &mTextLayouts);
    for (const QRect& rect : event->region())
        mGraphics.Draw(painter, ToDesignArea(rect));
    if (!mReleaseTimer.isActive())
        mReleaseTimer.start();
}

void ViewWidget::ReleaseHiddenImages()
{
    mBitmaps.Release(
        [this](std::string_view name)
        {
            bool shown = false;
            mGraphics.ForAllControls(
                [name, &shown](IControl& control)
                {
                    if (const auto* image = dynamic_cast<const IBitmapControl*>(&control))
                        shown |= !image->IsHidden() && image->GetBitmap().mResourceName == name;
                });
            return shown;
        });
}

void ViewWidget::mousePressEvent(QMouseEvent* event)
{
    if (!IsToolkitButton(event->button()))
        return QWidget::mousePressEvent(event);
    const QPointF pos = ToDesign(event->position());
    mLastDesignPos = pos;
    mGraphics.OnMouseDown(static_cast<float>(pos.x()), static_cast<float>(pos.y()),
                          ModFor(event->buttons() | event->button(), event->modifiers()));
    AfterInput();
}

void ViewWidget::mouseReleaseEvent(QMouseEvent* event)
{
    if (!IsToolkitButton(event->button()))
        return QWidget::mouseReleaseEvent(event);
    const QPointF pos = ToDesign(event->position());
    mLastDesignPos = pos;
    mGraphics.OnMouseUp(static_cast<float>(pos.x()), static_cast<float>(pos.y()),
                        ModFor(event->button(), event->modifiers()));
    AfterInput();
}

void ViewWidget::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (!IsToolkitButton(event->button()))
        return QWidget::mouseDoubleClickEvent(event);
    const QPointF pos = ToDesign(event->position());
    mLastDesignPos = pos;
    mGraphics.OnMouseDblClick(static_cast<float>(pos.x()), static_cast<float>(pos.y()),
                              ModFor(event->buttons() | event->button(), event->modifiers()));
    AfterInput();
}

void ViewWidget::mouseMoveEvent(QMouseEvent* event)
{
    const QPointF pos = ToDesign(event->position());
    const QPointF delta = pos - mLastDesignPos;
    mLastDesignPos = pos;
    const bool held = (event->buttons() & (Qt::LeftButton | Qt::RightButton)) != Qt::NoButton;
    const IMouseMod mod = ModFor(event->buttons(), event->modifiers());
    if (held)
    {
        mGraphics.OnMouseDrag(static_cast<float>(pos.x()), static_cast<float>(pos.y()),
                              static_cast<float>(delta.x()), static_cast<float>(delta.y()), mod);
    }
    else
    {
        // The release went elsewhere (a menu or dialog took the mouse): let the control go.
        if (mGraphics.GetCapturedControl())
            mGraphics.ReleaseMouseCapture();
        mGraphics.OnMouseOver(static_cast<float>(pos.x()), static_cast<float>(pos.y()), mod);
    }
    AfterInput();
}

void ViewWidget::wheelEvent(QWheelEvent* event)
{
    // Only the vertical wheel steps values; a sideways swipe changes nothing.
    const int vertical = event->angleDelta().y();
    if (vertical == 0)
        return QWidget::wheelEvent(event);
    const QPointF pos = ToDesign(event->position());
    mGraphics.OnMouseWheel(static_cast<float>(pos.x()), static_cast<float>(pos.y()),
                           ModFor(event->buttons(), event->modifiers()),
                           static_cast<float>(vertical) / kWheelNotch);
    event->accept();
    AfterInput();
}

void ViewWidget::leaveEvent(QEvent* event)
{
    QWidget::leaveEvent(event);
    if (!mGraphics.GetCapturedControl())
    {
        mGraphics.OnMouseOut();
        AfterInput();
    }
}

void ViewWidget::changeEvent(QEvent* event)
{
    QWidget::changeEvent(event);
    if (event->type() == QEvent::ActivationChange && !isActiveWindow())
        ReleaseLostCapture();
}

void ViewWidget::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    update();
    ScheduleCheck();
}

void ViewWidget::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    ReleaseLostCapture();
}
