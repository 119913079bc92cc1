#pragma once

#include "toolkit/IColor.h"

#include <string>
#include <string_view>

enum class EAlign
{
    kNear,
    kCenter,
    kFar,
};

enum class EVAlign
{
    kTop,
    kMiddle,
    kBottom,
};

// A text style: font, size, colour, alignment within the text's rectangle, angle, and the colours
// of a text entry opened over text of this style. A plain value type.
struct IText
{
    // Font identifiers longer than this are cut.
    static constexpr std::size_t kMaxFontLength = 63;
    // The face an empty font identifier stands for.
    static constexpr std::string_view kDefaultFont = "Roboto-Regular";

    IText() = default;
    IText(float size, const IColor& color, std::string_view font = {},
          EAlign align = EAlign::kCenter, EVAlign valign = EVAlign::kMiddle, float angle = 0.f,
          const IColor& textEntryBGColor = kColorWhite,
          const IColor& textEntryFGColor = kColorBlack)
        : mSize(size), mFGColor(color), mFont(font.substr(0, kMaxFontLength)), mAlign(align),
          mVAlign(valign), mAngle(angle), mTextEntryBGColor(textEntryBGColor),
          mTextEntryFGColor(textEntryFGColor)
    {
    }

    // The font identifier to render with: the default face when none is set.
    std::string_view FontOrDefault() const
    {
        return mFont.empty() ? kDefaultFont : std::string_view(mFont);
    }

    IText WithSize(float size) const
    {
        IText text = *this;
        text.mSize = size;
        return text;
    }
    IText WithVAlign(EVAlign valign) const
    {
        IText text = *this;
        text.mVAlign = valign;
        return text;
    }
    IText WithAlign(EAlign align) const
    {
        IText text = *this;
        text.mAlign = align;
        return text;
    }
    IText WithColor(const IColor& color) const
    {
        IText text = *this;
        text.mFGColor = color;
        return text;
    }
    // For texts whose content is the user's (a file name): one wider than its rectangle is cut
    // and ends in "…" instead of running out of it.
    IText WithElision() const
    {
        IText text = *this;
        text.mElide = true;
        return text;
    }
    IText WithFont(std::string_view font) const
    {
        IText text = *this;
        text.mFont = std::string(font.substr(0, kMaxFontLength));
        return text;
    }

    bool operator==(const IText&) const = default;

    float mSize = 14.f; // design pixels
    IColor mFGColor = kColorBlack;
    std::string mFont; // identifier of a loaded font; empty means kDefaultFont
    EAlign mAlign = EAlign::kCenter;
    EVAlign mVAlign = EVAlign::kMiddle;
    float mAngle = 0.f; // degrees, clockwise
    IColor mTextEntryBGColor = kColorWhite;
    IColor mTextEntryFGColor = kColorBlack;
    bool mElide = false; // see WithElision()
};
