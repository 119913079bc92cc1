#pragma once

#include "app/QtPlatformUi.h"
#include "render/BitmapStore.h"
#include "render/FontRegistry.h"
#include "render/QtResourceLoader.h"
#include "render/TextLayoutCache.h"
#include "toolkit/IGraphics.h"

#include <QElapsedTimer>
#include <QImage>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <memory>
#include <vector>

class IGEditorDelegate;

// The editor's view: the widget that owns the graphics context of the editor's screen, paints it
// through QtPainter and feeds it the mouse in design coordinates.
//
// It repaints only the draw areas of the controls the context reports dirty, each on its own and
// rounded out to whole pixels (images are drawn from copies scaled to the device's pixels and a
// repaint never cuts into a control's own drawing, so a partial repaint gives the pixels a whole
// one gives), and runs its frame clock (a timer at the context's frame rate) only while an
// animation runs: the context wakes it when a control changes, so an idle editor neither repaints
// nor wakes.
//
// Size: whatever size the widget is given (by its window, down to the design at the smallest
// scale), the design is drawn whole at the largest scale that fits, aspect kept, centred on whole
// pixels, with the context's background colour around it. When the corner resizer changes the
// draw scale the widget takes the design's size at that scale and reports it, so the window can
// follow. [main thread]
//
// It takes the keyboard focus (Tab stays inside it) and hands the keys the toolkit knows to the
// context as IKeyPress values; what they do is the toolkit's (KeyboardFocus). Hovering shows the
// tooltip of the control under the mouse (TooltipAt). Assistive technology sees it through
// ViewAccessible, which it keeps informed while accessibility is active.
class ViewWidget final : public QWidget
{
public:
    static constexpr int kDesignWidth = 1024;
    static constexpr int kDesignHeight = 768;

    using SizeChangedFunc = std::function<void(int width, int height)>;

    // Opens the editor's view on a new graphics context of 1024 x 768 design pixels, which runs
    // the editor's layout. `editor` must outlive the widget.
    explicit ViewWidget(IGEditorDelegate& editor, QWidget* parent = nullptr);
    // Closes the editor's view before the context goes away.
    ~ViewWidget() override;
    ViewWidget(const ViewWidget&) = delete;
    ViewWidget& operator=(const ViewWidget&) = delete;

    IGraphics& Graphics() { return mGraphics; }
    QtPlatformUi& Platform() { return mPlatformUi; }

    // Runs after the widget took a new size for a new draw scale, with that size in pixels.
    void SetSizeChangedFunc(SizeChangedFunc func) { mSizeChanged = std::move(func); }

    // The whole screen drawn into a new image at `scale` image pixels per design pixel (1 gives
    // 1024 x 768). What waits to be drawn on screen is still drawn there afterwards.
    QImage RenderImage(float scale);

    bool IsFrameClockRunning() const { return mFrameTimer.isActive(); }
    // True until the widget begins closing, for the accessibility interfaces that outlive it.
    std::shared_ptr<const bool> OpenToken() const { return mOpen; }

    QSize sizeHint() const override;

    // The scale that shows the whole design in `size` widget pixels, within the context's range.
    static float FitScale(const QSize& size);
    // Where the design's top left corner lies in the widget, in widget pixels.
    QPoint DesignOrigin() const { return mOrigin; }

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Drops the decoded images that no visible control draws (a closed overlay's picture); runs
    // a while after a paint.
    void ReleaseHiddenImages();
    // Asks for a check of the context's state from the event loop (coalesced).
    void ScheduleCheck();
    // Repaints what is dirty and starts or stops the frame clock.
    void CheckForWork();
    void OnFrameTick();
    // Takes a new draw scale: the corner resizer's with the design's size at it, reported.
    void ApplyScale();
    // Centres the design in the widget.
    void PlaceDesign();
    void AfterInput();
    // A press the widget no longer receives the release of: the held control is let go.
    void ReleaseLostCapture();
    // Tells assistive technology what changed (ViewAccessible::Refresh).
    void RefreshAccessible();

    QPointF ToDesign(const QPointF& widgetPos) const;
    // The widget pixels that cover a design rectangle.
    QRect ToWidgetRect(const IRECT& rect) const;
    // The design area a widget rectangle shows; open-ended where it touches the widget's edge,
    // so controls that reach past the edge count as drawn.
    IRECT ToDesignArea(const QRect& rect) const;
    QSize ScaledSize(float scale) const;

    IGEditorDelegate& mEditor;
    FontRegistry mFonts;
    BitmapStore mBitmaps;
    TextLayoutCache mTextLayouts; // for the paints at the view's own scale
    QtResourceLoader mLoader;
    QtPlatformUi mPlatformUi;
    QTimer mFrameTimer;
    QTimer mCheckTimer;
    QTimer mAccessibleTimer; // coalesces the accessibility refreshes
    QTimer mReleaseTimer;    // drops the hidden images a while after a paint
    std::shared_ptr<bool> mOpen = std::make_shared<bool>(true);
    QElapsedTimer mClock;
    std::vector<IRECT> mDirtyRects; // reused by each check, so a check allocates nothing
    float mAppliedScale = 1.f;
    QPoint mOrigin;              // the design's top left corner in widget pixels
    bool mFittingToSize = false; // the scale changes because the widget's size did
    QPointF mLastDesignPos;
    SizeChangedFunc mSizeChanged;
    // Last: it runs the editor's layout, which needs everything above.
    IGraphics mGraphics;
};
