#pragma once

#include "core/IEditorView.h"
#include "toolkit/IBitmap.h"
#include "toolkit/IColor.h"
#include "toolkit/IControl.h"
#include "toolkit/IMouseMod.h"
#include "toolkit/IRECT.h"
#include "toolkit/IText.h"
#include "toolkit/KeyboardFocus.h"
#include "toolkit/PlatformUi.h"

#include <functional>
#include <memory>
#include <optional>
#include <string_view>
#include <type_traits>
#include <vector>

class ICornerResizerControl;
class IGEditorDelegate;
class IPanelControl;
class Painter;
class ResourceLoader;

// The graphics context: owns the controls of one view in attach order (drawing order; the last
// attached is on top and first to receive the mouse), finds them by tag and group, dispatches the
// mouse in design coordinates, runs animations on the frame clock the platform drives, tracks what
// needs redrawing, and carries parameter values and MIDI from the editor to the controls.
//
// Design size and scale: controls live in design pixels (Width() x Height()); the platform draws
// and maps mouse positions with GetDrawScale(), which the corner resizer sets between kMinScale and
// kMaxScale.
//
// The delegate, the PlatformUi and the ResourceLoader are not owned and must outlive the context
// (or be replaced by nullptr first). The platform opens the view with
// delegate.OpenView(graphics, graphics), which runs the layout; a context that is destroyed while
// its delegate still holds it closes the view first (OnViewClosing runs, the view is detached).
// [main thread]
class IGraphics : public IEditorView
{
public:
    static constexpr float kMinScale = 0.5f;
    static constexpr float kMaxScale = 2.f;

    IGraphics(IGEditorDelegate& delegate, int width, int height, int fps = 60);
    ~IGraphics() override;
    IGraphics(const IGraphics&) = delete;
    IGraphics& operator=(const IGraphics&) = delete;

    // Size and scale.
    int Width() const { return mWidth; }
    int Height() const { return mHeight; }
    int FPS() const { return mFPS; }
    IRECT GetBounds() const;
    float GetDrawScale() const { return mDrawScale; }
    // Clamps `scale` into [kMinScale, kMaxScale]; when that changes the scale, redraws everything
    // and reports the new pixel size through the delegate's ResizeFromView(w, h, true).
    void SetDrawScale(float scale);

    // Services.
    IGEditorDelegate* GetDelegate() const { return mDelegate; }
    void SetPlatformUi(PlatformUi* platformUi) { mPlatformUi = platformUi; }
    PlatformUi* GetPlatformUi() const { return mPlatformUi; }
    void SetResourceLoader(ResourceLoader* loader) { mResourceLoader = loader; }
    // nullopt without a loader or when the loader has no such image.
    std::optional<IBitmap> LoadBitmap(std::string_view name, int nFrames = 1,
                                      bool framesAreHorizontal = false);
    // False without a loader or when the loader cannot load the font.
    bool LoadFont(std::string_view fontID, std::string_view fileName);

    // Appends `control` to the control list with `tag` (kNoTag: none) and `group` (empty: none),
    // gives its bound slots their parameters' values, marks it dirty and calls OnAttached.
    // Returns the control, or nullptr for a null pointer.
    template <class T>
    T* AttachControl(std::unique_ptr<T> control, int tag = kNoTag, std::string_view group = {})
    {
        static_assert(std::is_base_of_v<IControl, T>);
        T* raw = control.get();
        AttachControlAt(std::unique_ptr<IControl>(std::move(control)), tag, group, false);
        return raw;
    }
    // A panel of `color` over the whole view, inserted at the front of the list (drawn first).
    // Its colour becomes the background colour.
    IPanelControl* AttachPanelBackground(const IColor& color);
    // What the platform shows where the view is not drawn: around it when its window is not of
    // its aspect, and under the edge pixels it covers only in part. Opaque black until a panel
    // background is attached or a colour is set; always opaque.
    IColor GetBackgroundColor() const { return mBackgroundColor; }
    void SetBackgroundColor(const IColor& color)
    {
        mBackgroundColor = IColor(255, color.R, color.G, color.B);
    }
    // The corner resizer: a special control outside the list, drawn above it and hit first, in the
    // bottom right corner (right and bottom one pixel inside the view, `size` - 1 wide and high
    // from the view's edge). Replaces an earlier one.
    ICornerResizerControl* AttachCornerResizer(float size, const IColor& color,
                                               const IColor& mouseOverColor);
    ICornerResizerControl* GetCornerResizer() const { return mCornerResizer.get(); }

    int NControls() const { return static_cast<int>(mControls.size()); }
    // nullptr outside 0 .. NControls() - 1.
    IControl* GetControl(int idx) const;
    // The index in the list, or -1.
    int GetControlIdx(const IControl* control) const;
    // The first attached control with `tag`, or nullptr (also for kNoTag).
    IControl* GetControlWithTag(int tag) const;
    // `func` for every listed control, in attach order.
    void ForAllControls(const std::function<void(IControl&)>& func);
    // `func` for every control whose group is exactly `group`, in attach order.
    void ForControlInGroup(std::string_view group, const std::function<void(IControl&)>& func);
    // By tag (no control with the tag: nothing happens) or by group.
    void HideControl(int tag, bool hide);
    void DisableControl(int tag, bool disable);
    void HideGroup(std::string_view group, bool hide);
    void DisableGroup(std::string_view group, bool disable);

    // Mouse input from the platform, in design pixels.
    void OnMouseDown(float x, float y, const IMouseMod& mod);
    void OnMouseUp(float x, float y, const IMouseMod& mod);
    void OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod);
    void OnMouseDblClick(float x, float y, const IMouseMod& mod);
    // `d` in wheel notches (see IControl::OnMouseWheel).
    void OnMouseWheel(float x, float y, const IMouseMod& mod, float d);
    // The mouse moves with no button held; ignored unless mouse-over tracking is on.
    void OnMouseOver(float x, float y, const IMouseMod& mod);
    // The mouse left the view.
    void OnMouseOut();
    // The platform lost the press (focus change, grab broken): the held control gets its mouse up
    // at the last known point, and a hidden cursor comes back. A new mouse down while a control is
    // still held does the same first.
    void ReleaseMouseCapture();
    // The control the mouse is holding, or nullptr.
    IControl* GetCapturedControl() const { return mCapturedControl; }
    // The point of the last mouse down or double click.
    void GetMouseDownPoint(float& x, float& y) const;
    void EnableMouseOver(bool enable);
    bool MouseOverEnabled() const { return mMouseOverEnabled; }
    // The control that receives a mouse event at (x, y): the corner resizer, then the list from
    // the last attached backwards, skipping hidden controls, controls that ignore the mouse, and
    // disabled controls (unless they take mouse events, or for `mouseOver` mouse-over, when
    // disabled).
    IControl* GetMouseControl(float x, float y, bool mouseOver = false) const;
    void HideMouseCursor(bool hide);
    bool IsCursorHidden() const { return mCursorHidden; }

    // Keyboard input from the platform: Tab walks the focus, other keys go to the focused control
    // (see KeyboardFocus). True when the key was used.
    bool OnKeyDown(const IKeyPress& key) { return mKeyboardFocus.OnKeyDown(key); }
    KeyboardFocus& GetKeyboardFocus() { return mKeyboardFocus; }
    const KeyboardFocus& GetKeyboardFocus() const { return mKeyboardFocus; }

    // Drawing. IsDirty gives the union of the draw areas (IControl::GetDrawArea) of every control
    // marked for redrawing (hidden ones too, so what they covered is redrawn); false when there is
    // none, and then the platform need not repaint. Draw clips to `area`, draws every shown
    // control whose draw area meets it in list order, then the corner resizer and the focus ring,
    // each clipped to its draw area (so a repaint of any area gives the pixels a whole draw gives
    // there), then clears the marks of the controls whose draw area lies inside it.
    bool IsDirty(IRECT& rect) const;
    // The platform takes the marks for its repaint: `rects` gets the draw area of every marked
    // control with an area (hidden ones too), one each, and the marks are cleared. False, and
    // `rects` empty, when none is marked. Repainting the rectangles one by one, rather than their
    // union, keeps a light in one corner and a display in another from repainting all between.
    bool TakeDirtyRects(std::vector<IRECT>& rects);
    void Draw(Painter& painter, const IRECT& area);
    void SetAllControlsDirty();
    // The platform's wake-up call: runs each time a control is marked for redrawing, is given an
    // animation or is attached, so the platform can schedule a frame instead of polling. It runs
    // inside those calls, often many times in a row, and should only schedule. Empty: none.
    void SetRedrawRequestFunc(std::function<void()> func) { mRedrawRequestFunc = std::move(func); }
    // Runs the wake-up call, if any. Controls call it; see SetRedrawRequestFunc.
    void RequestRedraw() const
    {
        if (mRedrawRequestFunc)
            mRedrawRequestFunc();
    }

    // Animation. The platform runs a frame clock at FPS() while IsAnimating() and calls OnFrame
    // with a monotonic time in milliseconds; each call steps every control's animation once.
    void OnFrame(double nowMs);
    bool IsAnimating() const;
    double NowMs() const { return mNowMs; }

    // IEditorView.
    void SetParamFromDelegate(int paramIdx, double normalized) override;
    void SendMidiToControls(const MidiMessage& msg) override;

    // User input for a control. PromptUserInput offers the parameter bound to `valIdx`: a menu of
    // its choices with the current one checked for a menu parameter (see ParamUsesMenu), else a
    // text entry in `style` holding its display text; nothing for an unbound slot. The answers
    // arrive at the control's OnPopupMenuSelection / OnTextEntryCompletion; a cancelled text entry
    // reports nothing. Without a PlatformUi nothing is shown.
    void PromptUserInput(IControl& control, const IRECT& bounds, const IText& style,
                         int valIdx = 0);
    void CreatePopupMenu(IControl& control, const std::vector<PopupMenuItem>& items,
                         const IRECT& bounds, int valIdx = 0);
    void CreateTextEntry(IControl& control, const IText& style, const IRECT& bounds,
                         std::string_view initialText, int valIdx = 0);

    // Editor-level requests, passed to the PlatformUi. Without one, the completion runs at once
    // with EMsgBoxResult::kNoResult or an empty path, and OpenURL returns false. A completion never
    // runs after the context is destroyed.
    void ShowMessageBox(std::string_view text, std::string_view caption, EMsgBoxType type,
                        PlatformUi::MsgBoxCompletion completion);
    void PromptForFile(EFileAction action, std::string_view extension,
                       PlatformUi::FileCompletion completion);
    bool OpenURL(std::string_view urlOrPath);

private:
    void AttachControlAt(std::unique_ptr<IControl> control, int tag, std::string_view group,
                         bool atFront);
    bool TakesMouse(const IControl& control, float x, float y, bool mouseOver) const;
    void Capture(IControl* control, float x, float y);
    // A press or double-click begins: ends a capture whose release was lost, finds the control
    // under the mouse and captures it. Returns that control, or nullptr.
    IControl* BeginPress(float x, float y);

    IGEditorDelegate* mDelegate;
    PlatformUi* mPlatformUi = nullptr;
    ResourceLoader* mResourceLoader = nullptr;
    int mWidth;
    int mHeight;
    int mFPS;
    float mDrawScale = 1.f;
    IColor mBackgroundColor = kColorBlack;
    std::vector<std::unique_ptr<IControl>> mControls;
    std::unique_ptr<ICornerResizerControl> mCornerResizer;
    IControl* mCapturedControl = nullptr;
    IControl* mMouseOverControl = nullptr;
    bool mMouseOverEnabled = false;
    bool mCursorHidden = false;
    float mMouseDownX = 0.f;
    float mMouseDownY = 0.f;
    float mLastMouseX = 0.f;
    float mLastMouseY = 0.f;
    double mNowMs = 0.0;
    std::function<void()> mRedrawRequestFunc;
    KeyboardFocus mKeyboardFocus{*this};
    // Completions handed to the PlatformUi hold a weak reference and do nothing once it expires.
    std::shared_ptr<bool> mAliveToken = std::make_shared<bool>(true);
};
