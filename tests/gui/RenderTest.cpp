// The Qt drawing layer: texts in the compiled fonts on an image, and the images held for drawing.

#include "render/BitmapStore.h"
#include "render/FontRegistry.h"
#include "render/QtPainter.h"
#include "render/QtResourceLoader.h"
#include "render/TextLayoutCache.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace
{
// The fonts and images of the program, and an image of `size` filled with white drawn on
// through a QtPainter at `scale`.
class Render : public ::testing::Test
{
protected:
    Render() : loader(fonts, bitmaps)
    {
        fontsLoaded = loader.LoadFont("FontLCD", "ni7seg.ttf") &&
                      loader.LoadFont("Roboto-Regular", "Roboto-Regular.ttf");
    }
    QImage Paint(QSize size, float scale, const std::function<void(QtPainter&)>& draw,
                 TextLayoutCache* layouts = nullptr)
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::white);
        QPainter qtPainter(&image);
        QtPainter painter(qtPainter, scale, fonts, bitmaps, layouts);
        draw(painter);
        return image;
    }

    FontRegistry fonts;
    BitmapStore bitmaps;
    QtResourceLoader loader;
    bool fontsLoaded = false;
};
} // namespace

// The LCD face has no sharp sign: the text face stands in for what it lacks.
TEST_F(Render, OnTheLcdTheTextFaceStandsInTheWordsStayApartAndAFullLineFits)
{
    ASSERT_TRUE(fontsLoaded);
    EXPECT_EQ(fonts.FontFor(IText(30.f, kColorBlack, "FontLCD")).families(),
              QStringList({fonts.Family("FontLCD"), fonts.Family("Roboto-Regular")}));
    EXPECT_TRUE(fonts.IsSegmentFace("FontLCD") && !fonts.IsSegmentFace("Roboto-Regular"));
    const QFontMetricsF lcd(fonts.FontFor(IText(12.f, kColorBlack, "FontLCD")));
    const double digit = lcd.horizontalAdvance("00") / 2.0;
    EXPECT_GE(lcd.horizontalAdvance("0 0") - 2.0 * digit, 0.6 * digit);
    // Sixteen characters, the longest a summary line gets, inside the 150-pixel display.
    EXPECT_LE(lcd.horizontalAdvance("Slider, Knob or "), 150.0);
    EXPECT_LE(lcd.horizontalAdvance("CH 16 PRG. CHANG"), 150.0);
}

// Mended: a kept layout was placed by the application font's size the first time it was drawn.
TEST_F(Render, AKeptTextLayoutLandsWhereAFreshlyShapedTextDoesInEveryAlignment)
{
    ASSERT_TRUE(fontsLoaded);
    TextLayoutCache layouts;
    for (const float scale : {1.f, 2.f})
        for (const EAlign align : {EAlign::kNear, EAlign::kCenter, EAlign::kFar})
            for (const EVAlign vAlign : {EVAlign::kTop, EVAlign::kMiddle, EVAlign::kBottom})
            {
                // Far from the application font's size, so a layout measured in it lands wrong.
                const IText style(30.f, kColorBlack, "Roboto-Regular", align, vAlign);
                const auto draw = [&](QtPainter& painter)
                { painter.DrawText(style, "MIDI IN", IRECT(20, 10, 180, 70), {}); };
                const QSize size(static_cast<int>(200 * scale), static_cast<int>(80 * scale));
                const QImage fresh = Paint(size, scale, draw);
                for (int time = 0; time < 2; ++time)
                    EXPECT_EQ(Paint(size, scale, draw, &layouts), fresh)
                        << scale << " " << static_cast<int>(align) << static_cast<int>(vAlign);
            }
    EXPECT_EQ(layouts.Size(), 1u); // one text in one font, at both scales
}

TEST(BitmapStore, DecodesOnlyWhatIsDrawnAtTheScaleInUseAndReleasesWhatIsHidden)
{
    // Mended: every image was decoded at both scales at start-up and kept for good.
    int decodes = 0;
    const auto source = [&decodes](QSize size)
    {
        return BitmapStore::Source{size, [&decodes, size]
                                   {
                                       ++decodes;
                                       return QImage(size, QImage::Format_ARGB32);
                                   }};
    };
    BitmapStore store;
    ASSERT_TRUE(store.Add("about.png", source(QSize(10, 4)), source(QSize(20, 8))));
    EXPECT_EQ(store.DesignSize("about.png"), QSize(10, 4));
    EXPECT_EQ(store.DecodedBytes(), 0);

    EXPECT_EQ(store.Select("about.png", 1.0)->width(), 10);
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(store.Select("about.png", 1.25)->width(), 20);
    EXPECT_EQ(store.DecodedBytes(), 20 * 8 * 4) << "one copy";

    store.Release([](std::string_view name) { return name == "background.png"; });
    EXPECT_EQ(store.DecodedBytes(), 0);
    EXPECT_EQ(store.Select("about.png", 2.0)->width(), 20);
    EXPECT_EQ(decodes, 3);
}
