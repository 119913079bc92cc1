#include "ui/EditorStyles.h"

namespace
{
constexpr IColor kGreen{255, 0, 255, 0};
// Labels that sit on coloured button bodies are white: pure green on those is hard to read.
// Numbers sit on the dark page in a light LCD green (9:1 against the panel; the dark green they
// had read at about 2:1).
constexpr IColor kNumberGreen{255, 110, 220, 120};

IText RobotoText(float size, const IColor& color, EAlign align, EVAlign valign)
{
    return IText(size, color, kFontRoboto, align, valign);
}

IText LCDText(float size, const IColor& color)
{
    return IText(size, color, kFontLCD, EAlign::kCenter, EVAlign::kTop);
}

// The flags and geometry both base styles share.
IVStyle SharedBase(const IVStyle::ColorTable& colors, const IText& labelText,
                   const IText& valueText)
{
    return IVStyle()
        .WithHideCursor(true)
        .WithShowLabel(true)
        .WithShowValue(true)
        .WithDrawFrame(true)
        .WithDrawShadows(true)
        .WithEmboss(false)
        .WithRoundness(0.f)
        .WithFrameThickness(1.f)
        .WithShadowOffset(3.f)
        .WithWidgetFrac(1.f)
        .WithAngle(0.f)
        .WithColors(colors)
        .WithLabelText(labelText)
        .WithValueText(valueText);
}
} // namespace

EditorStyles MakeEditorStyles()
{
    EditorStyles styles;
    styles.titleText = RobotoText(28.f, kColorWhite, EAlign::kNear, EVAlign::kTop);
    styles.labelText = RobotoText(18.f, kColorWhite, EAlign::kCenter, EVAlign::kTop);
    styles.captionText = RobotoText(24.f, kColorBlack, EAlign::kCenter, EVAlign::kMiddle);
    styles.lcdHeaderText = LCDText(18.f, kColorBlack);
    styles.lcdTitleText = LCDText(30.f, kColorBlack);
    styles.lcdLineText = LCDText(12.f, kLCDInk);
    styles.lcdValueText = LCDText(30.f, kLCDInk);

    const IVStyle::ColorTable baseColors = {
        IColor{0, 0, 0, 0},         // background
        IColor{255, 94, 94, 94},    // foreground
        IColor{255, 169, 169, 169}, // pressed
        IColor{255, 255, 255, 255}, // frame
        IColor{10, 0, 0, 0},        // highlight
        IColor{60, 0, 0, 0},        // shadow
        IColor{255, 0, 0, 0},       // extra 1
        IColor{255, 0, 255, 0},     // extra 2
        IColor{255, 0, 0, 255},     // extra 3
    };
    const IText greenText = RobotoText(20.f, kGreen, EAlign::kCenter, EVAlign::kMiddle);
    styles.baseStyle = SharedBase(baseColors, greenText, greenText);

    IVStyle::ColorTable numberBoxColors = baseColors;
    numberBoxColors[static_cast<int>(EVColor::kFG)] = IColor{255, 200, 200, 200};
    numberBoxColors[static_cast<int>(EVColor::kPR)] = IColor{255, 240, 240, 240};
    numberBoxColors[static_cast<int>(EVColor::kFR)] = IColor{255, 0, 0, 0};
    styles.numberBoxStyle = SharedBase(
        numberBoxColors, RobotoText(20.f, kColorBlack, EAlign::kCenter, EVAlign::kMiddle),
        RobotoText(26.f, kNumberGreen, EAlign::kCenter, EVAlign::kMiddle));

    styles.buttonStyle = styles.baseStyle.WithRoundness(0.5f)
                             .WithEmboss(true)
                             .WithDrawFrame(true)
                             .WithDrawShadows(true)
                             .WithShadowOffset(2.f)
                             .WithFrameThickness(1.f)
                             .WithLabelText(greenText.WithColor(kColorWhite))
                             .WithValueText(greenText.WithColor(kColorWhite));
    return styles;
}

IVStyle WithBodyColors(const IVStyle& style, const IColor& foreground, const IColor& pressed,
                       const IColor& frame)
{
    return style.WithColor(EVColor::kFG, foreground)
        .WithColor(EVColor::kPR, pressed)
        .WithColor(EVColor::kFR, frame);
}
