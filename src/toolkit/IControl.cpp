#include "toolkit/IControl.h"

#include "core/IGEditorDelegate.h"
#include "core/IParam.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ParamUserInput.h"

#include <algorithm>
#include <cmath>

IControl::IControl(const IRECT& bounds, int paramIdx, IActionFunction actionFunc)
    : mRECT(bounds), mTargetRECT(bounds), mVals(1), mActionFunc(std::move(actionFunc))
{
    mVals[0].paramIdx = paramIdx;
}

IControl::IControl(const IRECT& bounds, const std::vector<int>& paramIdxs,
                   IActionFunction actionFunc)
    : mRECT(bounds), mTargetRECT(bounds), mVals(std::max<std::size_t>(paramIdxs.size(), 1)),
      mActionFunc(std::move(actionFunc))
{
    for (std::size_t i = 0; i < paramIdxs.size(); ++i)
        mVals[i].paramIdx = paramIdxs[i];
}

IControl::IControl(const IRECT& bounds, IActionFunction actionFunc)
    : IControl(bounds, kNoParameter, std::move(actionFunc))
{
}

void IControl::OnMouseDown(float, float, const IMouseMod&) {}

void IControl::OnMouseUp(float, float, const IMouseMod&) {}

void IControl::OnMouseDrag(float, float, float, float, const IMouseMod&) {}

void IControl::OnMouseDblClick(float x, float y, const IMouseMod& mod)
{
    OnMouseDown(x, y, mod);
}

void IControl::OnMouseWheel(float, float, const IMouseMod&, float) {}

void IControl::OnMouseOver(float, float, const IMouseMod&)
{
    if (!mMouseIsOver)
    {
        mMouseIsOver = true;
        SetDirty(false);
    }
}

void IControl::OnMouseOut()
{
    if (mMouseIsOver)
    {
        mMouseIsOver = false;
        SetDirty(false);
    }
}

bool IControl::IsHit(float x, float y) const
{
    return mTargetRECT.Contains(x, y);
}

bool IControl::OnKeyDown(const IKeyPress& key)
{
    if (!mTakesFocus || (key.key != EKey::kSpace && key.key != EKey::kEnter))
        return false;
    ClickAt(mTargetRECT.MW(), mTargetRECT.MH());
    return true;
}

void IControl::ClickAt(float x, float y)
{
    if (!mGraphics)
        return;
    mGraphics->OnMouseDown(x, y, IMouseMod{.L = true});
    mGraphics->OnMouseUp(x, y, IMouseMod{.L = true});
}

std::string IControl::GetTooltipText() const
{
    if (!mDisabled || mDisabledReason.empty())
        return mTooltip;
    return mTooltip.empty() ? mDisabledReason : mTooltip + "\n" + mDisabledReason;
}

void IControl::OnMidi(const MidiMessage&) {}

void IControl::OnAttached() {}

void IControl::OnResize() {}

void IControl::OnPopupMenuSelection(std::optional<int> itemIdx, int valIdx)
{
    const IParam* param = GetParam(valIdx);
    if (!itemIdx || !param)
        return;
    if (const auto value = ParamMenuItemValue(*param, *itemIdx))
        SetValueFromUserInput(param->ToNormalized(*value), valIdx);
}

void IControl::OnTextEntryCompletion(std::string_view text, int valIdx)
{
    const IParam* param = GetParam(valIdx);
    if (!param)
        return;
    if (const auto value = ParseParamText(*param, text))
        SetValueFromUserInput(param->ToNormalized(*value), valIdx);
}

double IControl::GetValue(int valIdx) const
{
    if (valIdx < 0 || valIdx >= NVals())
        return 0.0;
    return mVals[valIdx].value;
}

void IControl::SetValue(double value, int valIdx)
{
    if (valIdx < 0 || valIdx >= NVals() || !std::isfinite(value))
        return;
    mVals[valIdx].value = std::clamp(value, 0.0, 1.0);
}

void IControl::SetValueFromDelegate(double value, int valIdx)
{
    if (valIdx < 0 || valIdx >= NVals() || !std::isfinite(value))
        return;
    if (GetValue(valIdx) == std::clamp(value, 0.0, 1.0))
        return;
    SetValue(value, valIdx);
    SetDirty(false);
}

void IControl::SetValueFromUserInput(double value, int valIdx)
{
    SetValue(value, valIdx);
    SetDirty(true, valIdx);
}

int IControl::GetParamIdx(int valIdx) const
{
    if (valIdx < 0 || valIdx >= NVals())
        return kNoParameter;
    return mVals[valIdx].paramIdx;
}

void IControl::SetParamIdx(int paramIdx, int valIdx)
{
    if (valIdx < 0 || valIdx >= NVals())
        return;
    mVals[valIdx].paramIdx = paramIdx;
    if (const IParam* param = GetParam(valIdx))
        SetValue(param->GetNormalized(), valIdx);
}

int IControl::LinkedToParam(int paramIdx) const
{
    if (paramIdx == kNoParameter)
        return kNoValIdx;
    for (int i = 0; i < NVals(); ++i)
    {
        if (mVals[i].paramIdx == paramIdx)
            return i;
    }
    return kNoValIdx;
}

const IParam* IControl::GetParam(int valIdx) const
{
    const int paramIdx = GetParamIdx(valIdx);
    const IGEditorDelegate* delegate = GetDelegate();
    if (paramIdx < 0 || !delegate || paramIdx >= delegate->NParams())
        return nullptr;
    // A parameter that was never set up has no shape to convert values with.
    const IParam* param = delegate->GetParam(paramIdx);
    return param->Type() == IParam::kTypeNone ? nullptr : param;
}

void IControl::SetDirty(bool triggerAction, int valIdx)
{
    mDirty = true;
    if (mGraphics)
        mGraphics->RequestRedraw();
    if (!triggerAction)
        return;
    if (IGEditorDelegate* delegate = GetDelegate())
    {
        for (int i = 0; i < NVals(); ++i)
        {
            if ((valIdx == kNoValIdx || valIdx == i) && GetParam(i))
                delegate->SendParamFromView(mVals[i].paramIdx, mVals[i].value);
        }
    }
    if (mActionFunc)
    {
        // A copy: the action may replace the control's action while it runs.
        const IActionFunction action = mActionFunc;
        action(this);
    }
}

void IControl::SetAnimation(IAnimationFunction func, int durationMs)
{
    mAnimationFunc = std::move(func);
    mAnimationDurationMs = std::max(durationMs, 1);
    mAnimationStartPending = true;
    mAnimationStartMs = 0.0;
    if (mGraphics)
        mGraphics->RequestRedraw();
}

double IControl::GetAnimationProgress() const
{
    if (!mAnimationFunc || mAnimationStartPending || !mGraphics)
        return 0.0;
    return (mGraphics->NowMs() - mAnimationStartMs) / mAnimationDurationMs;
}

void IControl::OnEndAnimation()
{
    mAnimationFunc = nullptr;
    mAnimationStartPending = false;
    SetDirty(false);
    if (mAnimationEndActionFunc)
    {
        const IActionFunction action = mAnimationEndActionFunc;
        action(this);
    }
}

void IControl::Hide(bool hide)
{
    mHidden = hide;
    if (hide)
        mMouseIsOver = false;
    SetDirty(false);
    for (IControl* child : mChildren)
        child->Hide(hide);
}

void IControl::SetDisabled(bool disable)
{
    mDisabled = disable;
    mBlend.mWeight = disable ? kDisabledBlendWeight : 1.f;
    SetDirty(false);
    for (IControl* child : mChildren)
        child->SetDisabled(disable);
}

void IControl::SetRECT(const IRECT& bounds)
{
    mRECT = bounds;
    SetDirty(false);
    OnResize();
}

void IControl::SetTargetRECT(const IRECT& bounds)
{
    mTargetRECT = bounds;
    OnResize();
}

void IControl::SetTargetAndDrawRECTs(const IRECT& bounds)
{
    mRECT = bounds;
    mTargetRECT = bounds;
    SetDirty(false);
    OnResize();
}

IGEditorDelegate* IControl::GetDelegate() const
{
    return mGraphics ? mGraphics->GetDelegate() : nullptr;
}

void IControl::OnAttach(IGraphics* graphics, int tag, std::string_view group)
{
    mGraphics = graphics;
    mTag = tag;
    mGroup = std::string(group);
    for (int i = 0; i < NVals(); ++i)
    {
        if (const IParam* param = GetParam(i))
            SetValue(param->GetNormalized(), i);
    }
    mDirty = true;
}

void IControl::StepAnimation(double nowMs)
{
    if (!mAnimationFunc)
        return;
    if (mAnimationStartPending)
    {
        mAnimationStartPending = false;
        mAnimationStartMs = nowMs;
    }
    SetDirty(false);
    // A copy: the function may end or replace the animation while it runs.
    const IAnimationFunction func = mAnimationFunc;
    func(this);
}

bool IControl::AttachChildControl(std::unique_ptr<IControl> child)
{
    if (!mGraphics || !child)
        return false;
    IControl* raw = child.get();
    raw->mParent = this;
    raw->mHidden = mHidden;
    raw->mDisabled = mDisabled;
    raw->mBlend = mBlend;
    mChildren.push_back(raw);
    mGraphics->AttachControl(std::move(child));
    return true;
}
