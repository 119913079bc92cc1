#include "toolkit/ITextControl.h"

#include "toolkit/Painter.h"

ITextControl::ITextControl(const IRECT& bounds, std::string_view str, const IText& text,
                           const IColor& bgColor)
    : ITextControl(bounds, kNoParameter, str, text, bgColor)
{
    SetIgnoreMouse(true);
}

ITextControl::ITextControl(const IRECT& bounds, int paramIdx, std::string_view str,
                           const IText& text, const IColor& bgColor)
    : IControl(bounds, paramIdx), mStr(str), mText(text), mBGColor(bgColor)
{
}

void ITextControl::Draw(Painter& painter)
{
    if (mBGColor.A > 0)
        painter.FillRect(mBGColor, GetRECT(), GetBlend());
    if (!mStr.empty())
        painter.DrawText(mText, mStr, GetRECT(), GetBlend());
}

void ITextControl::SetStr(std::string_view str)
{
    if (str == mStr)
        return;
    mStr = std::string(str);
    SetDirty(false);
}

void ITextControl::SetText(const IText& text)
{
    mText = text;
    SetDirty(false);
}

void ITextControl::SetBGColor(const IColor& color)
{
    mBGColor = color;
    SetDirty(false);
}
