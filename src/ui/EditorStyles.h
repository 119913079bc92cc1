#pragma once

#include "toolkit/IColor.h"
#include "toolkit/IText.h"
#include "toolkit/IVStyle.h"

// Font identifiers of the editor screen. Only kFontRoboto and kFontLCD are drawn with; the other
// two are loaded so that they are available.
inline constexpr const char* kFontRoboto = "Roboto-Regular";
inline constexpr const char* kFontForkAwesome = "ForkAwesome";
inline constexpr const char* kFontFontaudio = "Fontaudio";
inline constexpr const char* kFontLCD = "FontLCD";

// The text and widget styles of the editor screen. A plain value; build it with
// MakeEditorStyles(). Derived styles (another size, another vertical alignment, other colours)
// are made from these where a control needs them.
struct EditorStyles
{
    IText titleText;     // Roboto 28, white, near / top
    IText labelText;     // Roboto 18, white, centre / top
    IText captionText;   // Roboto 24, black, centre / middle
    IText lcdHeaderText; // FontLCD 18, black, centre / top
    IText lcdTitleText;  // FontLCD 30, black, centre / top
    IText lcdLineText;   // FontLCD 12, LCD ink, centre / top
    IText lcdValueText;  // FontLCD 30, LCD ink, centre / top

    IVStyle baseStyle;      // grey body, white frame, shadows, square corners, green texts
    IVStyle numberBoxStyle; // light grey body, black frame and label, green value
    IVStyle buttonStyle;    // the base style rounded, embossed, with a shadow offset of 2
};

// The dark olive ink of the LCD lines and the colour of the LCD backdrop panel.
inline constexpr IColor kLCDInk{255, 65, 73, 56};
// The mid grey behind the window and the parameter captions.
inline constexpr IColor kPanelGrey{255, 127, 127, 127};

EditorStyles MakeEditorStyles();

// `style` with the body (foreground), pressed and frame colours replaced.
IVStyle WithBodyColors(const IVStyle& style, const IColor& foreground, const IColor& pressed,
                       const IColor& frame);
