// Every text of the editor's screen, on every page, in each jack mode and on the overlays: it fits
// inside its control at scale 1 and 2 with the fonts the screen uses, and, while its control is
// enabled, reads at 4.5:1 or more against what is drawn behind it.

#include "app/ViewWidget.h"
#include "core/ManualTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"
#include "render/BitmapStore.h"
#include "render/FontRegistry.h"
#include "render/QtResourceLoader.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVectorBase.h"
#include "ui/ControlTags.h"
#include "ui/EditorStyles.h"
#include "ui/PageOverlays.h"

#include <QFontMetricsF>
#include <QImage>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>

namespace
{
// Relative luminance of an sRGB colour, 0 to 1.
double Luminance(const QColor& color)
{
    const auto channel = [](int value)
    {
        const double v = value / 255.0;
        return v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(color.red()) + 0.7152 * channel(color.green()) +
           0.0722 * channel(color.blue());
}

// The colour most of `image`'s pixels inside `rect` (design pixels, scale 1) have, leaving out
// those near the text's own `ink`: what lies behind the text.
QColor Behind(const QImage& image, const IRECT& rect, const QColor& ink)
{
    std::map<QRgb, int> counts;
    std::pair<QRgb, int> most{ink.rgb(), 0};
    for (int y = static_cast<int>(rect.T); y < static_cast<int>(rect.B); ++y)
        for (int x = static_cast<int>(rect.L); x < static_cast<int>(rect.R); ++x)
        {
            if (!image.rect().contains(x, y))
                continue;
            const QColor pixel = image.pixelColor(x, y);
            if (std::abs(pixel.red() - ink.red()) + std::abs(pixel.green() - ink.green()) +
                        std::abs(pixel.blue() - ink.blue()) >
                    60 &&
                ++counts[pixel.rgb()] > most.second)
                most = {pixel.rgb(), counts[pixel.rgb()]};
        }
    return QColor::fromRgb(most.first);
}

class ScreenTexts : public ::testing::Test
{
protected:
    ScreenTexts() : loader(fonts, bitmaps), view(editor)
    {
        loader.LoadFont(kFontRoboto, "Roboto-Regular.ttf");
        loader.LoadFont(kFontLCD, "ni7seg.ttf");
    }

    // The texts of the controls on show (only those of `group` when an overlay lies over the
    // rest), each checked against a whole render.
    void CheckEveryText(const std::string& where, const char* group = nullptr)
    {
        const QImage image = view.RenderImage(1.f);
        const auto check = [&](IControl& control)
        {
            const auto text = [&](const std::string& str, const IText& style, const IRECT& bounds)
            {
                if (control.IsHidden() || str.empty() || style.mFGColor.A == 0 ||
                    bounds.W() <= 0.f || bounds.H() <= 0.f) // not drawn
                    return;
                for (const float scale : {1.f, 2.f})
                {
                    QFont font = fonts.FontFor(style);
                    font.setPixelSize(static_cast<int>(std::lround(style.mSize * scale)));
                    const double width =
                        QFontMetricsF(font).horizontalAdvance(QString::fromStdString(str));
                    EXPECT_TRUE(style.mElide || width <= bounds.W() * scale + 1.0) // elided: a name
                        << where << ": \"" << str << "\" at scale " << scale;
                }
                if (control.IsDisabled())
                    return; // greyed out on purpose; its tooltip says why
                const QColor ink(style.mFGColor.R, style.mFGColor.G, style.mFGColor.B);
                const QColor behind = Behind(image, bounds, ink);
                const auto [dark, light] = std::minmax({Luminance(ink), Luminance(behind)});
                EXPECT_GE((light + 0.05) / (dark + 0.05), 4.5)
                    << where << ": \"" << str << "\" on " << behind.name().toStdString();
            };
            if (const auto* display = dynamic_cast<const ITextControl*>(&control))
                text(display->GetStr(), display->GetText(), display->GetRECT());
            if (const auto* vector = dynamic_cast<const IVectorBase*>(&control))
            {
                text(vector->GetLabelStr(), vector->GetStyle().mLabelText,
                     vector->GetLabelBounds());
                text(vector->GetValueStr(), vector->GetStyle().mValueText,
                     vector->GetValueBounds());
            }
        };
        if (group)
            view.Graphics().ForControlInGroup(group, check);
        else
            view.Graphics().ForAllControls(check);
    }

    ManualTimerBackend clock;
    FontRegistry fonts;
    BitmapStore bitmaps;
    QtResourceLoader loader;
    ctrlWaveStomplet editor;
    ViewWidget view;
};
} // namespace

TEST_F(ScreenTexts, EveryTextFitsItsControlAndReadsAgainstWhatIsBehindIt)
{
    // Mended: labels ran out of their buttons, and numbers, the selected tab and captions read at
    // 2:1 to 3:1.
    for (const int jackMode : {0, 1})
    {
        editor.SetParamNormalized(kJack1Mode, jackMode);
        editor.SetParamNormalized(kJack2Mode, jackMode);
        for (const int page : {0, 1, 2})
        {
            view.Graphics().GetControlWithTag(kCtrlTagPageTabs)->SetValueFromUserInput(page / 2.0);
            CheckEveryText("jack mode " + std::to_string(jackMode) + ", page " +
                           std::to_string(page));
        }
    }
    ShowAboutPage(view.Graphics());
    CheckEveryText("About", kGroupAbout);
    HideAboutPage(view.Graphics());
    OpenFirmwareWindow(view.Graphics());
    CheckEveryText("firmware window", kGroupFirmwareUpdate);
}
