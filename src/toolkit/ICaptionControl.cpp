#include "toolkit/ICaptionControl.h"

#include "core/IParam.h"
#include "toolkit/IGraphics.h"
#include "toolkit/Painter.h"
#include "toolkit/ParamUserInput.h"

#include <algorithm>
#include <string>

ICaptionControl::ICaptionControl(const IRECT& bounds, int paramIdx, const IText& text,
                                 const IColor& bgColor, bool showParamLabel)
    : ITextControl(bounds, paramIdx, {}, text, bgColor), mShowParamLabel(showParamLabel)
{
    SetTakesFocus(true);
}

void ICaptionControl::Draw(Painter& painter)
{
    ITextControl::Draw(painter);
    const IParam* param = GetParam();
    if (param && param->Type() == IParam::kTypeEnum)
    {
        const IRECT tri = GetTriangleBounds();
        painter.FillTriangle(GetText().mFGColor, tri.L, tri.T, tri.R, tri.T, tri.MW(), tri.B,
                             GetBlend());
    }
}

IRECT ICaptionControl::GetTriangleBounds() const
{
    const IRECT& r = GetRECT();
    const float left = r.SubRectHorizontal(5, 4).MW() - kTriangleWidth / 2.f;
    const float top = r.MH() - kTriangleHeight / 2.f;
    return {left, top, left + kTriangleWidth, top + kTriangleHeight};
}

void ICaptionControl::OnMouseDown(float, float, const IMouseMod& mod)
{
    if ((mod.L || mod.R) && GetUI() && GetParam())
        GetUI()->PromptUserInput(*this, GetRECT(), GetText(), 0);
}

bool ICaptionControl::OnKeyDown(const IKeyPress& key)
{
    const IParam* param = GetParam();
    if (!param || !ParamUsesMenu(*param))
        return ITextControl::OnKeyDown(key);
    const std::vector<PopupMenuItem> items = ParamMenuItems(*param, param->Value());
    const auto checked =
        std::find_if(items.begin(), items.end(), [](const PopupMenuItem& i) { return i.checked; });
    const int current = checked == items.end() ? 0 : static_cast<int>(checked - items.begin());
    const std::optional<int> target =
        KeyStepTarget(key, current, static_cast<int>(items.size()), kPageStep, EKeyOrder::kList);
    if (!target)
        return ITextControl::OnKeyDown(key);
    if (*target != current)
        OnPopupMenuSelection(*target, 0);
    return true;
}

void ICaptionControl::OnAttached()
{
    UpdateText();
}

void ICaptionControl::SetDirty(bool triggerAction, int valIdx)
{
    UpdateText();
    ITextControl::SetDirty(triggerAction, valIdx);
}

void ICaptionControl::UpdateText()
{
    const IParam* param = GetParam();
    if (!param)
        return;
    const double value = param->FromNormalized(GetValue());
    std::string str = param->GetDisplay(value);
    if (mShowParamLabel)
    {
        // The label belongs to the current value: hidden while a display text names it.
        const std::string_view label = param->GetLabel();
        if (!label.empty() && !param->GetDisplayTextForValue(value))
        {
            str += ' ';
            str += label;
        }
    }
    SetStr(str);
}
