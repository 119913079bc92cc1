#include "render/QtPainter.h"

#include "render/BitmapStore.h"
#include "render/FontRegistry.h"
#include "render/QtResourceLoader.h"
#include "render/TextLayoutCache.h"

#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <functional>
#include <gtest/gtest.h>

namespace qtpaintertest
{
// An image of `size` filled with white, drawn on through a QtPainter at `scale`.
QImage Paint(QSize size, float scale, const FontRegistry& fonts, const BitmapStore& bitmaps,
             const std::function<void(QtPainter&)>& draw, TextLayoutCache* layouts = nullptr)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    QPainter qtPainter(&image);
    {
        QtPainter painter(qtPainter, scale, fonts, bitmaps, layouts);
        draw(painter);
    }
    return image;
}

// The smallest rectangle holding every pixel darker than mid grey.
QRect InkBounds(const QImage& image)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qGray(image.pixel(x, y)) < 128)
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Pixels in `area` darker than mid grey.
int DarkPixels(const QImage& image, const QRect& area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
    {
        for (int x = area.left(); x <= area.right(); ++x)
            count += qGray(image.pixel(x, y)) < 128 ? 1 : 0;
    }
    return count;
}

// An empty font registry and bitmap store to paint with.
class Canvas : public ::testing::Test
{
protected:
    FontRegistry fonts;
    BitmapStore bitmaps;
};

// The editor's fonts from the resources compiled into the program.
class CompiledFonts : public Canvas
{
protected:
    CompiledFonts() : loader(fonts, bitmaps)
    {
        lcdLoaded = loader.LoadFont("FontLCD", "ni7seg.ttf");
        robotoLoaded = loader.LoadFont("Roboto-Regular", "Roboto-Regular.ttf");
    }

    QtResourceLoader loader;
    bool lcdLoaded = false;
    bool robotoLoaded = false;
    // The LCD line text of the jack displays, and its title size.
    const IText lcdLine{12.f, IColor(255, 65, 73, 56), "FontLCD", EAlign::kCenter, EVAlign::kTop};
    const IText lcdTitle{30.f, kColorBlack, "FontLCD", EAlign::kNear, EVAlign::kTop};
};
} // namespace qtpaintertest

using qtpaintertest::Canvas;
using qtpaintertest::CompiledFonts;
using qtpaintertest::DarkPixels;
using qtpaintertest::Paint;

TEST_F(CompiledFonts, TheSharpOfANoteNameIsDrawnInTheLcdFace)
{
    ASSERT_TRUE(lcdLoaded);
    ASSERT_TRUE(robotoLoaded);
    const QFont font = fonts.FontFor(lcdTitle);
    EXPECT_EQ(font.families(),
              QStringList({fonts.Family("FontLCD"), fonts.Family("Roboto-Regular")}));

    const QImage image = Paint(QSize(200, 60), 1.f, fonts, bitmaps,
                               [this](QtPainter& painter)
                               { painter.DrawText(lcdTitle, "C#3", IRECT(10, 10, 190, 50), {}); });
    // The columns between the end of "C" and the end of "C#".
    const QFontMetricsF metrics(font);
    const int sharpLeft = 10 + static_cast<int>(std::ceil(metrics.horizontalAdvance("C")));
    const int sharpRight = 10 + static_cast<int>(std::floor(metrics.horizontalAdvance("C#")));
    ASSERT_GT(sharpRight - sharpLeft, 4);
    EXPECT_GT(DarkPixels(image, QRect(QPoint(sharpLeft, 10), QPoint(sharpRight - 1, 49))), 30);
}

TEST_F(CompiledFonts, WordsOnTheLcdStayApartAndAFullLineFitsItsDisplay)
{
    ASSERT_TRUE(lcdLoaded);
    EXPECT_TRUE(fonts.IsSegmentFace("FontLCD"));
    EXPECT_FALSE(fonts.IsSegmentFace("Roboto-Regular"));
    const QFontMetricsF lcd(fonts.FontFor(lcdLine));
    const double digit = lcd.horizontalAdvance("00") / 2.0;
    const double blank = lcd.horizontalAdvance("0 0") - 2.0 * digit;
    EXPECT_GE(blank, 0.6 * digit);
    // Sixteen characters, the longest a summary line gets, inside the 150-pixel display.
    EXPECT_LE(lcd.horizontalAdvance("Slider, Knob or "), 150.0);
    EXPECT_LE(lcd.horizontalAdvance("CH 16 PRG. CHANG"), 150.0);

    const QFontMetricsF roboto(fonts.FontFor(IText(12.f, kColorBlack)));
    EXPECT_LT(roboto.horizontalAdvance("0 0") - roboto.horizontalAdvance("00"),
              0.3 * roboto.horizontalAdvance("00"));
}

// Mended: a kept layout was placed by the application font's size the first time it was drawn.
TEST_F(CompiledFonts, AKeptTextLayoutLandsWhereAFreshlyShapedTextDoesInEveryAlignment)
{
    ASSERT_TRUE(robotoLoaded);
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
                const QImage fresh = Paint(size, scale, fonts, bitmaps, draw);
                for (int time = 0; time < 2; ++time)
                    EXPECT_EQ(Paint(size, scale, fonts, bitmaps, draw, &layouts), fresh)
                        << scale << " " << static_cast<int>(align) << static_cast<int>(vAlign);
            }
    EXPECT_EQ(layouts.Size(), 1u); // one text in one font, at both scales
}

TEST_F(CompiledFonts, AnUnknownFaceDrawsInTheDefaultFace)
{
    ASSERT_TRUE(robotoLoaded);
    EXPECT_EQ(fonts.FontFor(IText(14.f, kColorBlack, "NoSuchFont")).families().front(),
              fonts.Family("Roboto-Regular"));
    EXPECT_FALSE(loader.LoadFont("Missing", "no-such-file.ttf"));
}

TEST_F(Canvas, TheBlendWeightBecomesOpacity)
{
    const QImage image =
        Paint(QSize(20, 20), 1.f, fonts, bitmaps,
              [](QtPainter& painter)
              {
                  painter.FillRect(IColor(255, 255, 0, 0), IRECT(0, 0, 10, 20), IBlend{1.f});
                  painter.FillRect(IColor(255, 255, 0, 0), IRECT(10, 0, 20, 20), IBlend{0.25f});
              });
    EXPECT_EQ(image.pixelColor(5, 5), QColor(255, 0, 0));
    const QColor faded = image.pixelColor(15, 5);
    EXPECT_EQ(faded.red(), 255);
    EXPECT_NEAR(faded.green(), 191, 2);
}

TEST_F(Canvas, DesignPixelsAreScaledAndFramesStayInsideTheirRectangle)
{
    const QImage image = Paint(QSize(80, 80), 2.f, fonts, bitmaps,
                               [](QtPainter& painter)
                               { painter.DrawRect(kColorBlack, IRECT(10, 10, 30, 30), {}, 1.f); });
    // The frame lies on design pixels 10 and 29, device pixels 20-21 and 58-59.
    EXPECT_EQ(qGray(image.pixel(19, 40)), 255);
    EXPECT_EQ(qGray(image.pixel(20, 40)), 0);
    EXPECT_EQ(qGray(image.pixel(59, 40)), 0);
    EXPECT_EQ(qGray(image.pixel(60, 40)), 255);
    EXPECT_EQ(qGray(image.pixel(40, 40)), 255);
}

TEST_F(Canvas, AClipNarrowsDrawingUntilItIsPopped)
{
    const QImage image = Paint(QSize(40, 20), 1.f, fonts, bitmaps,
                               [](QtPainter& painter)
                               {
                                   painter.PushClip(IRECT(0, 0, 10, 20));
                                   painter.FillRect(kColorBlack, IRECT(0, 0, 20, 10), {});
                                   painter.PopClip();
                                   painter.PopClip(); // one too many: ignored
                                   painter.FillRect(kColorBlack, IRECT(30, 0, 40, 10), {});
                               });
    EXPECT_EQ(qGray(image.pixel(5, 5)), 0);
    EXPECT_EQ(qGray(image.pixel(15, 5)), 255);
    EXPECT_EQ(qGray(image.pixel(35, 5)), 0);
}

TEST_F(Canvas, TheBitmapFrameFollowsTheIndexAndScaleTwoDrawsTheDoubleImage)
{
    // Two frames stacked: the scale 1 image red over blue, the scale 2 image green over yellow.
    QImage image1x(4, 8, QImage::Format_ARGB32_Premultiplied);
    image1x.fill(Qt::red);
    for (int y = 4; y < 8; ++y)
        for (int x = 0; x < 4; ++x)
            image1x.setPixelColor(x, y, Qt::blue);
    QImage image2x(8, 16, QImage::Format_ARGB32_Premultiplied);
    image2x.fill(Qt::green);
    for (int y = 8; y < 16; ++y)
        for (int x = 0; x < 8; ++x)
            image2x.setPixelColor(x, y, Qt::yellow);
    ASSERT_TRUE(bitmaps.Add("frames.png", image1x, image2x));
    const IBitmap bitmap{"frames.png", 4, 8, 2, false};

    auto drawFrame = [&](float scale, int frame)
    {
        return Paint(QSize(40, 40), scale, fonts, bitmaps,
                     [&](QtPainter& painter)
                     { painter.DrawBitmap(bitmap, IRECT(0, 0, 16, 16), frame, {}); });
    };
    EXPECT_EQ(drawFrame(1.f, 0).pixelColor(8, 8), QColor(Qt::red));
    EXPECT_EQ(drawFrame(1.f, 1).pixelColor(8, 8), QColor(Qt::blue));
    EXPECT_EQ(drawFrame(1.f, 7).pixelColor(8, 8), QColor(Qt::blue)); // clamped to the last
    EXPECT_EQ(drawFrame(2.f, 0).pixelColor(16, 16), QColor(Qt::green));
    EXPECT_EQ(drawFrame(2.f, 1).pixelColor(16, 16), QColor(Qt::yellow));
    // An image the store does not know draws nothing.
    const QImage nothing =
        Paint(QSize(20, 20), 1.f, fonts, bitmaps,
              [](QtPainter& painter) {
                  painter.DrawBitmap({"unknown.png", 4, 4}, IRECT(0, 0, 20, 20), 0, {});
              });
    EXPECT_EQ(nothing.pixelColor(10, 10), QColor(Qt::white));
}
