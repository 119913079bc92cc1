// The artwork and fonts as the program carries them, read back from a program that links only
// stomplet_resources: the images at both scales at the sizes the layout places them, opaque where
// they cover what lies behind, the polarity frames apart; the fonts under the names the layout
// loads, and the LCD face's table of missing characters against the face itself.

#include "StompletResourcePaths.h"
#include "render/LcdFaceCoverage.h"

#include <QFile>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QImage>
#include <QRawFont>
#include <cstdlib>
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

QByteArray ReadFont(const char* fileName)
{
    QFile file(QString::fromStdString(StompletFontPath(fileName)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
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
    // Two polarity frames of 99 rows, drawn at y 184: they differ, and the glass ends 96 rows
    // into each.
    const QImage tipring = Load("tipring.png", 1);
    int differing = 0;
    for (int y = 0; y < 99; ++y)
        for (int x = 0; x < 150; ++x)
            differing +=
                std::abs(qAlpha(tipring.pixel(x, y)) - qAlpha(tipring.pixel(x, y + 99))) > 96;
    EXPECT_GT(differing, 300);
    EXPECT_EQ(Other(tipring, QRect(0, 96, 150, 3), 0) + Other(tipring, QRect(0, 195, 150, 3), 0),
              0);
}

TEST(CompiledFonts, EveryFontLoadsWithItsFaceAndTheLcdFaceLacksExactlyWhatItsTableNames)
{
    const std::pair<const char*, const char*> fonts[] = {
        {"Roboto-Regular.ttf", "Roboto"},
        {"forkawesome-webfont.ttf", "forkawesome"},
        {"fontaudio.ttf", "FontAwesome"},
        {"ni7seg.ttf", "DSEG14 Classic"},
    };
    for (const auto& [fileName, family] : fonts)
    {
        const int id = QFontDatabase::addApplicationFontFromData(ReadFont(fileName));
        EXPECT_TRUE(QFontDatabase::applicationFontFamilies(id).contains(family)) << fileName;
    }
    EXPECT_TRUE(QFontDatabase::styles("DSEG14 Classic").contains("Regular"));
    EXPECT_FALSE(QFontDatabase::italic("DSEG14 Classic", "Regular"));

    const QRawFont lcd(ReadFont("ni7seg.ttf"), 30.0);
    const QRawFont fallback(ReadFont("Roboto-Regular.ttf"), 30.0);
    ASSERT_TRUE(lcd.isValid() && fallback.isValid());
    for (char32_t c = U' '; c <= U'~'; ++c)
    {
        EXPECT_EQ(lcd.supportsCharacter(static_cast<uint>(c)), LcdFaceHasGlyph(c))
            << static_cast<char>(c);
        EXPECT_TRUE(LcdFaceHasGlyph(c) || fallback.supportsCharacter(static_cast<uint>(c)));
    }
    EXPECT_FALSE(LcdFaceHasGlyph(U'\u00e9'));
    EXPECT_FALSE(LcdFaceHasGlyph(U'\x7f'));
}

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen"); // fonts need a platform
    QGuiApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
