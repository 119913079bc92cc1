#include "toolkit/IGraphics.h"

#include "core/IGEditorDelegate.h"
#include "core/IParam.h"
#include "toolkit/ICornerResizerControl.h"
#include "toolkit/IPanelControl.h"
#include "toolkit/Painter.h"
#include "toolkit/ParamUserInput.h"
#include "toolkit/ResourceLoader.h"

#include <algorithm>
#include <cmath>

IGraphics::IGraphics(IGEditorDelegate& delegate, int width, int height, int fps)
    : mDelegate(&delegate), mWidth(std::max(width, 1)), mHeight(std::max(height, 1)),
      mFPS(std::max(fps, 1))
{
}

IGraphics::~IGraphics()
{
    // The editor must not keep a view that is going away.
    if (mDelegate->GetUI() == this)
        mDelegate->CloseView();
    *mAliveToken = false;
    mAliveToken.reset();
    if (mCursorHidden && mPlatformUi)
        mPlatformUi->SetMouseCursorHidden(false);
}

IRECT IGraphics::GetBounds() const
{
    return {0.f, 0.f, static_cast<float>(mWidth), static_cast<float>(mHeight)};
}

void IGraphics::SetDrawScale(float scale)
{
    if (!std::isfinite(scale))
        return;
    scale = std::clamp(scale, kMinScale, kMaxScale);
    if (scale == mDrawScale)
        return;
    mDrawScale = scale;
    SetAllControlsDirty();
    mDelegate->ResizeFromView(static_cast<int>(std::lround(static_cast<double>(mWidth) * scale)),
                              static_cast<int>(std::lround(static_cast<double>(mHeight) * scale)),
                              true);
}

std::optional<IBitmap> IGraphics::LoadBitmap(std::string_view name, int nFrames,
                                             bool framesAreHorizontal)
{
    if (!mResourceLoader)
        return std::nullopt;
    return mResourceLoader->LoadBitmap(name, std::max(nFrames, 1), framesAreHorizontal);
}

bool IGraphics::LoadFont(std::string_view fontID, std::string_view fileName)
{
    return mResourceLoader && mResourceLoader->LoadFont(fontID, fileName);
}

IPanelControl* IGraphics::AttachPanelBackground(const IColor& color)
{
    mBackgroundColor = IColor(255, color.R, color.G, color.B);
    auto panel = std::make_unique<IPanelControl>(GetBounds(), color);
    IPanelControl* raw = panel.get();
    AttachControlAt(std::move(panel), kNoTag, {}, true);
    return raw;
}

ICornerResizerControl* IGraphics::AttachCornerResizer(float size, const IColor& color,
                                                      const IColor& mouseOverColor)
{
    const float w = static_cast<float>(mWidth);
    const float h = static_cast<float>(mHeight);
    const IRECT bounds(w - (size - 1.f), h - (size - 1.f), w - 1.f, h - 1.f);
    if (mCapturedControl == mCornerResizer.get())
        mCapturedControl = nullptr;
    if (mMouseOverControl == mCornerResizer.get())
        mMouseOverControl = nullptr;
    mCornerResizer = std::make_unique<ICornerResizerControl>(bounds, color, mouseOverColor);
    mCornerResizer->OnAttach(this, kNoTag, {});
    mCornerResizer->OnAttached();
    RequestRedraw();
    return mCornerResizer.get();
}

void IGraphics::AttachControlAt(std::unique_ptr<IControl> control, int tag, std::string_view group,
                                bool atFront)
{
    if (!control)
        return;
    IControl* raw = control.get();
    raw->OnAttach(this, tag, group);
    if (atFront)
        mControls.insert(mControls.begin(), std::move(control));
    else
        mControls.push_back(std::move(control));
    raw->OnAttached();
    RequestRedraw();
}

IControl* IGraphics::GetControl(int idx) const
{
    if (idx < 0 || idx >= NControls())
        return nullptr;
    return mControls[idx].get();
}

int IGraphics::GetControlIdx(const IControl* control) const
{
    for (int i = 0; i < NControls(); ++i)
    {
        if (mControls[i].get() == control)
            return i;
    }
    return -1;
}

IControl* IGraphics::GetControlWithTag(int tag) const
{
    if (tag == kNoTag)
        return nullptr;
    for (const auto& control : mControls)
    {
        if (control->GetTag() == tag)
            return control.get();
    }
    return nullptr;
}

void IGraphics::ForAllControls(const std::function<void(IControl&)>& func)
{
    // By index: `func` may attach controls.
    for (int i = 0; i < NControls(); ++i)
        func(*mControls[i]);
}

void IGraphics::ForControlInGroup(std::string_view group,
                                  const std::function<void(IControl&)>& func)
{
    for (int i = 0; i < NControls(); ++i)
    {
        if (mControls[i]->GetGroup() == group)
            func(*mControls[i]);
    }
}

void IGraphics::HideControl(int tag, bool hide)
{
    if (IControl* control = GetControlWithTag(tag))
        control->Hide(hide);
}

void IGraphics::DisableControl(int tag, bool disable)
{
    if (IControl* control = GetControlWithTag(tag))
        control->SetDisabled(disable);
}

void IGraphics::HideGroup(std::string_view group, bool hide)
{
    ForControlInGroup(group, [hide](IControl& control) { control.Hide(hide); });
}

void IGraphics::DisableGroup(std::string_view group, bool disable)
{
    ForControlInGroup(group, [disable](IControl& control) { control.SetDisabled(disable); });
}

bool IGraphics::TakesMouse(const IControl& control, float x, float y, bool mouseOver) const
{
    if (control.IsHidden() || control.GetIgnoreMouse())
        return false;
    if (control.IsDisabled() &&
        !(mouseOver ? control.GetMouseOverWhenDisabled() : control.GetMouseEventsWhenDisabled()))
        return false;
    return control.IsHit(x, y);
}

IControl* IGraphics::GetMouseControl(float x, float y, bool mouseOver) const
{
    if (mCornerResizer && TakesMouse(*mCornerResizer, x, y, mouseOver))
        return mCornerResizer.get();
    for (auto it = mControls.rbegin(); it != mControls.rend(); ++it)
    {
        if (TakesMouse(**it, x, y, mouseOver))
            return it->get();
    }
    return nullptr;
}

void IGraphics::Capture(IControl* control, float x, float y)
{
    mMouseDownX = x;
    mMouseDownY = y;
    mLastMouseX = x;
    mLastMouseY = y;
    mCapturedControl = control;
}

IControl* IGraphics::BeginPress(float x, float y)
{
    if (mCapturedControl)
        ReleaseMouseCapture();
    IControl* control = GetMouseControl(x, y);
    Capture(control, x, y);
    mKeyboardFocus.OnMousePress(control);
    return control;
}

void IGraphics::OnMouseDown(float x, float y, const IMouseMod& mod)
{
    if (IControl* control = BeginPress(x, y))
        control->OnMouseDown(x, y, mod);
}

void IGraphics::OnMouseDblClick(float x, float y, const IMouseMod& mod)
{
    if (IControl* control = BeginPress(x, y))
        control->OnMouseDblClick(x, y, mod);
}

void IGraphics::OnMouseUp(float x, float y, const IMouseMod& mod)
{
    mLastMouseX = x;
    mLastMouseY = y;
    IControl* control = mCapturedControl;
    mCapturedControl = nullptr;
    if (control)
        control->OnMouseUp(x, y, mod);
    if (mCursorHidden)
        HideMouseCursor(false);
}

void IGraphics::OnMouseDrag(float x, float y, float dX, float dY, const IMouseMod& mod)
{
    mLastMouseX = x;
    mLastMouseY = y;
    if (mCapturedControl)
        mCapturedControl->OnMouseDrag(x, y, dX, dY, mod);
}

void IGraphics::OnMouseWheel(float x, float y, const IMouseMod& mod, float d)
{
    if (!std::isfinite(d))
        return;
    if (IControl* control = GetMouseControl(x, y))
        control->OnMouseWheel(x, y, mod, d);
}

void IGraphics::OnMouseOver(float x, float y, const IMouseMod& mod)
{
    if (!mMouseOverEnabled)
        return;
    IControl* control = GetMouseControl(x, y, true);
    if (control != mMouseOverControl && mMouseOverControl)
        mMouseOverControl->OnMouseOut();
    mMouseOverControl = control;
    if (control)
        control->OnMouseOver(x, y, mod);
}

void IGraphics::OnMouseOut()
{
    if (mMouseOverControl)
        mMouseOverControl->OnMouseOut();
    mMouseOverControl = nullptr;
}

void IGraphics::ReleaseMouseCapture()
{
    OnMouseUp(mLastMouseX, mLastMouseY, IMouseMod{});
}

void IGraphics::GetMouseDownPoint(float& x, float& y) const
{
    x = mMouseDownX;
    y = mMouseDownY;
}

void IGraphics::EnableMouseOver(bool enable)
{
    mMouseOverEnabled = enable;
    if (!enable)
        OnMouseOut();
}

void IGraphics::HideMouseCursor(bool hide)
{
    if (hide == mCursorHidden)
        return;
    mCursorHidden = hide;
    if (mPlatformUi)
        mPlatformUi->SetMouseCursorHidden(hide);
}

bool IGraphics::IsDirty(IRECT& rect) const
{
    IRECT dirty;
    auto add = [&dirty](const IControl& control)
    {
        if (control.IsDirty() && !control.GetRECT().HasNoArea())
            dirty = dirty.Union(control.GetDrawArea());
    };
    for (const auto& control : mControls)
        add(*control);
    if (mCornerResizer)
        add(*mCornerResizer);
    if (dirty.Empty())
        return false;
    rect = dirty;
    return true;
}

bool IGraphics::TakeDirtyRects(std::vector<IRECT>& rects)
{
    rects.clear();
    auto take = [&rects](IControl& control)
    {
        if (!control.IsDirty())
            return;
        if (!control.GetRECT().HasNoArea())
            rects.push_back(control.GetDrawArea());
        control.ClearDirty();
    };
    for (const auto& control : mControls)
        take(*control);
    if (mCornerResizer)
        take(*mCornerResizer);
    return !rects.empty();
}

void IGraphics::Draw(Painter& painter, const IRECT& area)
{
    painter.PushClip(area);
    auto drawOne = [&](IControl& control)
    {
        if (control.IsHidden() || control.GetRECT().HasNoArea())
            return;
        const IRECT bounds = control.GetDrawArea();
        if (!bounds.Intersects(area))
            return;
        // Nothing a control draws lands outside its draw area, so that area is all a change of
        // the control can alter, and repainting it alone gives what a whole repaint gives.
        painter.PushClip(bounds);
        control.Draw(painter);
        painter.PopClip();
    };
    for (int i = 0; i < NControls(); ++i)
        drawOne(*mControls[i]);
    if (mCornerResizer)
        drawOne(*mCornerResizer);
    mKeyboardFocus.DrawRing(painter);
    painter.PopClip();

    auto clearIfDrawn = [&area](IControl& control)
    {
        if (control.GetRECT().HasNoArea() || area.Contains(control.GetDrawArea()))
            control.ClearDirty();
    };
    for (const auto& control : mControls)
        clearIfDrawn(*control);
    if (mCornerResizer)
        clearIfDrawn(*mCornerResizer);
}

void IGraphics::SetAllControlsDirty()
{
    for (const auto& control : mControls)
        control->SetDirty(false);
    if (mCornerResizer)
        mCornerResizer->SetDirty(false);
}

void IGraphics::OnFrame(double nowMs)
{
    if (!std::isfinite(nowMs))
        return;
    mNowMs = nowMs;
    // By index: an end action may attach controls.
    for (int i = 0; i < NControls(); ++i)
        mControls[i]->StepAnimation(nowMs);
    if (mCornerResizer)
        mCornerResizer->StepAnimation(nowMs);
}

bool IGraphics::IsAnimating() const
{
    if (mCornerResizer && mCornerResizer->HasAnimation())
        return true;
    return std::any_of(mControls.begin(), mControls.end(),
                       [](const auto& control) { return control->HasAnimation(); });
}

void IGraphics::SetParamFromDelegate(int paramIdx, double normalized)
{
    for (int i = 0; i < NControls(); ++i)
    {
        IControl& control = *mControls[i];
        if (&control == mCapturedControl)
            continue;
        for (int valIdx = 0; valIdx < control.NVals(); ++valIdx)
        {
            if (control.GetParamIdx(valIdx) == paramIdx)
                control.SetValueFromDelegate(normalized, valIdx);
        }
    }
}

void IGraphics::SendMidiToControls(const MidiMessage& msg)
{
    for (int i = 0; i < NControls(); ++i)
    {
        if (mControls[i]->WantsMidi())
            mControls[i]->OnMidi(msg);
    }
}

void IGraphics::PromptUserInput(IControl& control, const IRECT& bounds, const IText& style,
                                int valIdx)
{
    const IParam* param = control.GetParam(valIdx);
    if (!param)
        return;
    if (ParamUsesMenu(*param))
        CreatePopupMenu(control, ParamMenuItems(*param, param->Value()), bounds, valIdx);
    else
        CreateTextEntry(control, style, bounds, param->GetDisplay(), valIdx);
}

void IGraphics::CreatePopupMenu(IControl& control, const std::vector<PopupMenuItem>& items,
                                const IRECT& bounds, int valIdx)
{
    if (!mPlatformUi)
        return;
    std::weak_ptr<bool> alive = mAliveToken;
    IControl* target = &control;
    mPlatformUi->CreatePopupMenu(items, bounds,
                                 [alive, target, valIdx](std::optional<int> chosenIdx)
                                 {
                                     if (!alive.expired())
                                         target->OnPopupMenuSelection(chosenIdx, valIdx);
                                 });
}

void IGraphics::CreateTextEntry(IControl& control, const IText& style, const IRECT& bounds,
                                std::string_view initialText, int valIdx)
{
    if (!mPlatformUi)
        return;
    std::weak_ptr<bool> alive = mAliveToken;
    IControl* target = &control;
    mPlatformUi->CreateTextEntry(style, bounds, initialText,
                                 [alive, target, valIdx](std::optional<std::string> text)
                                 {
                                     if (!alive.expired() && text)
                                         target->OnTextEntryCompletion(*text, valIdx);
                                 });
}

void IGraphics::ShowMessageBox(std::string_view text, std::string_view caption, EMsgBoxType type,
                               PlatformUi::MsgBoxCompletion completion)
{
    if (!mPlatformUi)
    {
        if (completion)
            completion(EMsgBoxResult::kNoResult);
        return;
    }
    std::weak_ptr<bool> alive = mAliveToken;
    mPlatformUi->ShowMessageBox(text, caption, type,
                                [alive, completion = std::move(completion)](EMsgBoxResult result)
                                {
                                    if (!alive.expired() && completion)
                                        completion(result);
                                });
}

void IGraphics::PromptForFile(EFileAction action, std::string_view extension,
                              PlatformUi::FileCompletion completion)
{
    if (!mPlatformUi)
    {
        if (completion)
            completion({});
        return;
    }
    std::weak_ptr<bool> alive = mAliveToken;
    mPlatformUi->PromptForFile(action, extension,
                               [alive, completion = std::move(completion)](std::string path)
                               {
                                   if (!alive.expired() && completion)
                                       completion(std::move(path));
                               });
}

bool IGraphics::OpenURL(std::string_view urlOrPath)
{
    return mPlatformUi && mPlatformUi->OpenURL(urlOrPath);
}
