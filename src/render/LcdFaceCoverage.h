#pragma once

#include <string_view>

// What drawing the faux-LCD texts has to know about the segment face loaded as "FontLCD"
// ("ni7seg.ttf", a 14-segment face). The face draws upper and lower case letters alike as
// capitals, digits and most ASCII punctuation; its metrics, in em of the pixel size:
// - every character cell advances 0.816 em; '.' advances 0 (it lights the decimal point of the
//   cell before it) and ':' 0.2 em;
// - the space advances only 0.2 em, so words run together unless widened;
// - a '1' sits at the right of its cell, as on a real display;
// - the ascent is the whole em and the descent is 0.

// Printable ASCII characters the face has no glyph for. Note names need '#'.
inline constexpr std::string_view kLcdFaceMissingCharacters = "#;[]{}";

// Identifier of the face that draws the missing characters, at the same pixel size and on the
// same baseline as the segment face.
inline constexpr std::string_view kLcdFallbackFontID = "Roboto-Regular";

// Advance added to every space, in em, so a space is about half a character cell wide.
inline constexpr float kLcdExtraWordSpacingEm = 0.25f;

// A text wider than its rectangle is squeezed horizontally to fit, but never below this factor
// (the rest is clipped): the jack 1 and jack 2 lines meet at the middle of the glass.
inline constexpr float kLcdMinHorizontalScale = 0.75f;

// True when the segment face has a glyph for `c`. Characters outside printable ASCII count as
// missing and are drawn by the fallback face.
constexpr bool LcdFaceHasGlyph(char32_t c)
{
    if (c < U' ' || c > U'~')
        return false;
    return kLcdFaceMissingCharacters.find(static_cast<char>(c)) == std::string_view::npos;
}
