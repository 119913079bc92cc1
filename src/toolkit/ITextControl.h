#pragma once

#include "toolkit/IColor.h"
#include "toolkit/IControl.h"
#include "toolkit/IText.h"

#include <string>
#include <string_view>

// A text display: a text in a text style over a background colour. It ignores the mouse. The text
// can be replaced at any time; the control then redraws.
// [main thread]
class ITextControl : public IControl
{
public:
    ITextControl(const IRECT& bounds, std::string_view str = {}, const IText& text = IText(),
                 const IColor& bgColor = kColorTransparent);

    void Draw(Painter& painter) override;

    // Replaces the text; redraws when it changed.
    virtual void SetStr(std::string_view str);
    const std::string& GetStr() const { return mStr; }

    void SetText(const IText& text);
    const IText& GetText() const { return mText; }
    void SetBGColor(const IColor& color);
    const IColor& GetBGColor() const { return mBGColor; }

protected:
    // For controls that take the mouse although they show text (the caption).
    ITextControl(const IRECT& bounds, int paramIdx, std::string_view str, const IText& text,
                 const IColor& bgColor);

private:
    std::string mStr;
    IText mText;
    IColor mBGColor;
};
