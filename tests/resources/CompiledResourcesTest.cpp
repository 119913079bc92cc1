// The artwork and fonts as the program carries them, read back from a program that links only
// stomplet_resources: the images at both scales at the sizes the layout places them, opaque where
// they cover what lies behind, clear between the polarity frames; the fonts that no drawing test
// loads, and the LCD face's table of missing characters against the face itself.

#include "StompletResourcePaths.h"
#include "render/LcdFaceCoverage.h"

#include <QGuiApplication>
#include <QImage>
#include <QRawFont>
#include <gtest/gtest.h>

namespace
{
QImage Load(const char* fileName, int scale)
{
    return QImage(QString::fromStdString(StompletImagePath(fileName, scale)))
        .convertToFormat(QImage::Format_ARGB32);
}

// The pixels inside `area` whose alpha is not `alpha`.
int Other(const QImage& image, const QRect& area, int alpha)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += qAlpha(image.pixel(x, y)) != alpha ? 1 : 0;
    return count;
}

QRawFont Font(const char* fileName)
{
    return QRawFont(QString::fromStdString(StompletFontPath(fileName)), 30.0);
}
} // namespace

TEST(CompiledArtwork, EveryImageIsThereAtItsDesignSizeAndTwiceThatAndOpaqueWhereItCovers)
{
    const std::tuple<const char*, QSize, QRect> artwork[] = {
        {"background.png", {1024, 768}, {0, 0, 1024, 768}},
        {"about.png", {1024, 768}, {0, 0, 1024, 768}},
        {"fwbg.png", {621, 454}, {14, 14, 593, 426}}, // only the rounded corners show through
        {"tipring.png", {150, 198}, {}},
    };
    for (const auto& [fileName, size, opaque] : artwork)
    {
        EXPECT_EQ(Load(fileName, 1).size(), size) << fileName;
        EXPECT_EQ(Load(fileName, 2).size(), size * 2) << fileName;
        EXPECT_EQ(Other(Load(fileName, 1), opaque, 255), 0) << fileName;
    }
    // Two polarity frames of 99 rows, drawn at y 184: the glass ends 96 rows into each.
    const QImage tipring = Load("tipring.png", 1);
    EXPECT_EQ(Other(tipring, QRect(0, 96, 150, 3), 0) + Other(tipring, QRect(0, 195, 150, 3), 0),
              0);
}

TEST(CompiledFonts, EveryFontLoadsAndTheLcdFaceLacksExactlyWhatItsTableNames)
{
    // Roboto and the LCD face are drawn with by the rendering tests; these two are only loaded.
    for (const char* fileName : {"forkawesome-webfont.ttf", "fontaudio.ttf"})
        EXPECT_TRUE(Font(fileName).isValid()) << fileName;
    const QRawFont lcd = Font("ni7seg.ttf");
    for (char32_t c = U' '; c <= U'~'; ++c)
        EXPECT_EQ(lcd.supportsCharacter(static_cast<uint>(c)), LcdFaceHasGlyph(c))
            << static_cast<char>(c);
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // fonts need a platform
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
