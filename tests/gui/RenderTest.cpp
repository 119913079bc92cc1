// The Qt drawing layer: the painter on an image, the images it draws from and the compiled fonts.

#include "render/BitmapStore.h"
#include "render/DecodePngImage.h"
#include "render/FontRegistry.h"
#include "render/QtPainter.h"
#include "render/QtResourceLoader.h"
#include "render/TextLayoutCache.h"

#include <QBuffer>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>

namespace rendertest
{
QImage Solid(QSize size, QColor color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}

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
} // namespace rendertest

using rendertest::Render;
using rendertest::Solid;

TEST_F(Render, OnTheLcdTheFallbackFaceDrawsTheSharpWordsStayApartAndAFullLineFits)
{
    ASSERT_TRUE(fontsLoaded);
    const IText title{30.f, kColorBlack, "FontLCD", EAlign::kNear, EVAlign::kTop};
    const QFont font = fonts.FontFor(title);
    EXPECT_EQ(font.families(),
              QStringList({fonts.Family("FontLCD"), fonts.Family("Roboto-Regular")}));
    const QImage image = Paint(QSize(200, 60), 1.f,
                               [&](QtPainter& painter)
                               { painter.DrawText(title, "C#3", IRECT(10, 10, 190, 50), {}); });
    // The columns between the end of "C" and the end of "C#" hold ink.
    const QFontMetricsF metrics(font);
    int ink = 0;
    for (int x = 10 + static_cast<int>(std::ceil(metrics.horizontalAdvance("C")));
         x < 10 + static_cast<int>(std::floor(metrics.horizontalAdvance("C#"))); ++x)
        for (int y = 10; y < 50; ++y)
            ink += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    EXPECT_GT(ink, 30);

    EXPECT_TRUE(fonts.IsSegmentFace("FontLCD"));
    EXPECT_FALSE(fonts.IsSegmentFace("Roboto-Regular"));
    const QFontMetricsF lcd(fonts.FontFor(IText(12.f, kColorBlack, "FontLCD")));
    const double digit = lcd.horizontalAdvance("00") / 2.0;
    EXPECT_GE(lcd.horizontalAdvance("0 0") - 2.0 * digit, 0.6 * digit);
    // Sixteen characters, the longest a summary line gets, inside the 150-pixel display.
    EXPECT_LE(lcd.horizontalAdvance("Slider, Knob or "), 150.0);
    EXPECT_LE(lcd.horizontalAdvance("CH 16 PRG. CHANG"), 150.0);
    const QFontMetricsF roboto(fonts.FontFor(IText(12.f, kColorBlack)));
    EXPECT_LT(roboto.horizontalAdvance("0 0") - roboto.horizontalAdvance("00"),
              0.3 * roboto.horizontalAdvance("00"));
    // An unknown face draws in the default one; a missing file loads nothing.
    EXPECT_EQ(fonts.FontFor(IText(14.f, kColorBlack, "NoSuchFont")).families().front(),
              fonts.Family("Roboto-Regular"));
    EXPECT_FALSE(loader.LoadFont("Missing", "no-such-file.ttf"));
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

TEST_F(Render, BlendsClipsFramesAndBitmapFramesLandOnTheirDevicePixels)
{
    // Two frames stacked: the scale 1 image red over blue, the double one green over yellow.
    const auto frames = [](int s, QColor top, QColor bottom)
    {
        QImage image = Solid(QSize(4 * s, 8 * s), top);
        QPainter(&image).fillRect(0, 4 * s, 4 * s, 4 * s, bottom);
        return image;
    };
    ASSERT_TRUE(
        bitmaps.Add("frames.png", frames(1, Qt::red, Qt::blue), frames(2, Qt::green, Qt::yellow)));
    const IBitmap bitmap{"frames.png", 4, 8, 2, false};
    const QImage one =
        Paint(QSize(60, 20), 1.f,
              [&](QtPainter& painter)
              {
                  painter.FillRect(IColor(255, 255, 0, 0), IRECT(0, 0, 10, 10), {});
                  painter.FillRect(IColor(255, 255, 0, 0), IRECT(10, 0, 20, 10), IBlend{0.25f});
                  painter.PushClip(IRECT(20, 0, 30, 20));
                  painter.FillRect(kColorBlack, IRECT(20, 0, 40, 10), {});
                  painter.PopClip();
                  painter.PopClip(); // one too many: ignored
                  painter.FillRect(kColorBlack, IRECT(50, 0, 60, 10), {});
                  painter.DrawBitmap(bitmap, IRECT(0, 10, 10, 20), 0, {});
                  painter.DrawBitmap(bitmap, IRECT(10, 10, 20, 20), 1, {});
                  painter.DrawBitmap(bitmap, IRECT(20, 10, 30, 20), 7, {});
                  painter.DrawBitmap({"unknown.png", 4, 4}, IRECT(30, 10, 40, 20), 0, {});
              });
    EXPECT_EQ(one.pixelColor(5, 5), QColor(Qt::red));
    EXPECT_NEAR(one.pixelColor(15, 5).green(), 191, 2); // a quarter of the red
    EXPECT_EQ(one.pixelColor(25, 5), QColor(Qt::black));
    EXPECT_EQ(one.pixelColor(35, 5), QColor(Qt::white)); // clipped
    EXPECT_EQ(one.pixelColor(55, 5), QColor(Qt::black));
    EXPECT_EQ(one.pixelColor(5, 15), QColor(Qt::red));
    EXPECT_EQ(one.pixelColor(15, 15), QColor(Qt::blue));
    EXPECT_EQ(one.pixelColor(25, 15), QColor(Qt::blue)); // clamped to the last frame
    EXPECT_EQ(one.pixelColor(35, 15), QColor(Qt::white));

    const QImage two = Paint(QSize(80, 80), 2.f,
                             [&](QtPainter& painter)
                             {
                                 painter.DrawRect(kColorBlack, IRECT(10, 10, 30, 30), {}, 1.f);
                                 painter.DrawBitmap(bitmap, IRECT(0, 30, 10, 40), 0, {});
                                 painter.DrawBitmap(bitmap, IRECT(10, 30, 20, 40), 1, {});
                             });
    // The frame lies on design pixels 10 and 29, device pixels 20-21 and 58-59.
    for (const auto& [x, gray] : {std::pair{19, 255}, {20, 0}, {40, 255}, {59, 0}, {60, 255}})
        EXPECT_EQ(qGray(two.pixel(x, 40)), gray) << x;
    EXPECT_EQ(two.pixelColor(10, 70), QColor(Qt::green));
    EXPECT_EQ(two.pixelColor(30, 70), QColor(Qt::yellow));
}

TEST(DecodePngImage, KeepsSizeColourAndTransparencyAndRefusesBrokenBytes)
{
    QImage source = Solid(QSize(3, 2), QColor(10, 20, 30));
    source.setPixelColor(2, 1, Qt::transparent);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    source.save(&buffer, "PNG");
    const std::optional<QImage> decoded = DecodePngImage(png);
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(decoded->convertToFormat(QImage::Format_ARGB32), source);
    EXPECT_FALSE(DecodePngImage(png.left(png.size() / 2)).has_value());
    EXPECT_FALSE(DecodePngImage(QByteArray("GIF89a not a png at all")).has_value());
}

TEST(BitmapStore, DecodesOnlyWhatIsDrawnAtTheScaleInUseAndReleasesWhatIsHidden)
{
    // Mended: every image was decoded at both scales at start-up and kept for good.
    int decodes = 0;
    const auto source = [&decodes](QSize size, Qt::GlobalColor color)
    {
        return BitmapStore::Source{size, [&decodes, size, color]
                                   {
                                       ++decodes;
                                       return Solid(size, color);
                                   }};
    };
    BitmapStore store;
    ASSERT_TRUE(
        store.Add("about.png", source(QSize(10, 4), Qt::red), source(QSize(20, 8), Qt::blue)));
    EXPECT_FALSE(store.Add("none.png", QImage(), QImage()));
    EXPECT_EQ(store.DesignSize("about.png"), QSize(10, 4));
    EXPECT_EQ(store.DecodedBytes(), 0);

    EXPECT_EQ(store.Select("about.png", 1.0)->width(), 10);
    EXPECT_EQ(store.Select("about.png", 0.8)->width(), 10);
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(store.Select("about.png", 1.25)->width(), 20);
    EXPECT_EQ(store.DecodedBytes(), Solid(QSize(20, 8), Qt::blue).sizeInBytes()) << "one copy";

    store.Release([](std::string_view name) { return name == "background.png"; });
    EXPECT_EQ(store.DecodedBytes(), 0);
    EXPECT_EQ(store.Select("about.png", 2.0)->width(), 20);
    EXPECT_EQ(decodes, 3);
}

TEST_F(Render, TheLoaderTakesTheCompiledDoubleImageAboveScaleOne)
{
    const std::optional<IBitmap> tipring = loader.LoadBitmap("tipring.png", 2, false);
    ASSERT_TRUE(tipring.has_value());
    EXPECT_EQ(tipring->FrameHeight() * 2, tipring->mHeight);
    EXPECT_EQ(bitmaps.Select("tipring.png", 2.0)->size(), 2 * bitmaps.DesignSize("tipring.png"));
    EXPECT_FALSE(loader.LoadBitmap("no-such-image.png", 1, false).has_value());
}
