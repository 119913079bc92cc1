// Every text of the editor's screen, on every page, in each jack mode and on the overlays: it fits
// inside its control at scale 1 and 2 with the fonts the screen uses, and, while its control is
// enabled, reads at 4.5:1 or more against what is drawn behind it.

#include "app/ViewWidget.h"
#include "core/ManualTimerBackend.h"
#include "editor/ctrlWaveStomplet.h"
#include "render/BitmapStore.h"
#include "render/FontRegistry.h"
#include "render/QtResourceLoader.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVectorBase.h"
#include "ui/ControlTags.h"
#include "ui/EditorStyles.h"
#include "ui/PageOverlays.h"

#include <QFontMetricsF>
#include <QImage>
#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>
#include <map>
#include <string>
#include <tuple>

namespace textsreadtest
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

double Contrast(const QColor& a, const QColor& b)
{
    const double la = Luminance(a);
    const double lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colour most of `image`'s pixels inside `rect` (design pixels, scale 1) have, leaving out
// those near the text's own `ink`: what lies behind the text.
QColor Behind(const QImage& image, const IRECT& rect, const QColor& ink)
{
    std::map<QRgb, int> counts;
    for (int y = static_cast<int>(rect.T); y < static_cast<int>(rect.B); ++y)
        for (int x = static_cast<int>(rect.L); x < static_cast<int>(rect.R); ++x)
        {
            if (!image.rect().contains(x, y))
                continue;
            const QColor pixel = image.pixelColor(x, y);
            const int distance = std::abs(pixel.red() - ink.red()) +
                                 std::abs(pixel.green() - ink.green()) +
                                 std::abs(pixel.blue() - ink.blue());
            if (distance > 60)
                ++counts[pixel.rgb()];
        }
    QRgb most = ink.rgb();
    int mostCount = 0;
    for (const auto& [rgb, count] : counts)
        if (count > mostCount)
            std::tie(most, mostCount) = std::tie(rgb, count);
    return QColor::fromRgb(most);
}

struct Text
{
    std::string str;
    IText style;
    IRECT bounds;
};

class ScreenTexts : public ::testing::Test
{
protected:
    ScreenTexts() : loader(fonts, bitmaps), view(editor)
    {
        loader.LoadFont(kFontRoboto, "Roboto-Regular.ttf");
        loader.LoadFont(kFontLCD, "ni7seg.ttf");
    }

    IGraphics& Graphics() { return view.Graphics(); }

    // The texts of the controls on show (only those of `group` when an overlay lies over the
    // rest), with the colour drawn behind each in a whole render.
    void CheckEveryText(const std::string& where, const char* group = nullptr)
    {
        const QImage image = view.RenderImage(1.f);
        const auto check = [&](IControl& control)
        {
            if (control.IsHidden())
                return;
            for (const Text& text : TextsOf(control))
                Check(where, control, text, image);
        };
        if (group)
            Graphics().ForControlInGroup(group, check);
        else
            Graphics().ForAllControls(check);
    }

    std::vector<Text> TextsOf(IControl& control)
    {
        std::vector<Text> texts;
        if (const auto* display = dynamic_cast<const ITextControl*>(&control))
            texts.push_back({display->GetStr(), display->GetText(), display->GetRECT()});
        if (const auto* vector = dynamic_cast<const IVectorBase*>(&control))
        {
            texts.push_back(
                {vector->GetLabelStr(), vector->GetStyle().mLabelText, vector->GetLabelBounds()});
            texts.push_back(
                {vector->GetValueStr(), vector->GetStyle().mValueText, vector->GetValueBounds()});
        }
        std::erase_if(texts,
                      [](const Text& text)
                      {
                          return text.str.empty() || text.style.mFGColor.A == 0 ||
                                 text.bounds.W() <= 0.f || text.bounds.H() <= 0.f; // not drawn
                      });
        return texts;
    }

    void Check(const std::string& where, const IControl& control, const Text& text,
               const QImage& image)
    {
        const QString str = QString::fromStdString(text.str);
        for (const float scale : {1.f, 2.f})
        {
            QFont font = fonts.FontFor(text.style);
            font.setPixelSize(static_cast<int>(std::lround(text.style.mSize * scale)));
            const double width = QFontMetricsF(font).horizontalAdvance(str);
            if (text.style.mElide)
                continue; // the user's text, cut to fit
            EXPECT_LE(width, text.bounds.W() * scale + 1.0)
                << where << ": \"" << text.str << "\" at scale " << scale;
        }
        if (control.IsDisabled())
            return; // greyed out on purpose; its tooltip says why
        const QColor ink(text.style.mFGColor.R, text.style.mFGColor.G, text.style.mFGColor.B);
        const QColor behind = Behind(image, text.bounds, ink);
        EXPECT_GE(Contrast(ink, behind), 4.5)
            << where << ": \"" << text.str << "\" on " << behind.name().toStdString() << " at "
            << text.bounds.L << "," << text.bounds.T << " " << text.bounds.W() << "x"
            << text.bounds.H();
    }

    ManualTimerBackend clock;
    FontRegistry fonts;
    BitmapStore bitmaps;
    QtResourceLoader loader;
    ctrlWaveStomplet editor;
    ViewWidget view;
};
} // namespace textsreadtest

using textsreadtest::ScreenTexts;

TEST_F(ScreenTexts, EveryTextFitsItsControlAndReadsAgainstWhatIsBehindIt)
{
    // Mended: labels ran out of their buttons, and numbers, the selected tab and captions read at
    // 2:1 to 3:1.
    for (const int jackMode : {0, 1})
    {
        editor.SetParamNormalized(kJack1Mode, jackMode);
        editor.SetParamNormalized(kJack2Mode, jackMode);
        const std::string mode = jackMode == 0 ? "pedals, " : "switches, ";
        for (const int page : {0, 1, 2})
        {
            Graphics().GetControlWithTag(kCtrlTagPageTabs)->SetValueFromUserInput(page / 2.0);
            CheckEveryText(mode + "page " + std::to_string(page));
        }
    }
    ShowAboutPage(Graphics());
    CheckEveryText("About", kGroupAbout);
    HideAboutPage(Graphics());
    OpenFirmwareWindow(Graphics());
    CheckEveryText("firmware window", kGroupFirmwareUpdate);
}
