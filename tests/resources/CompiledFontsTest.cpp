// The fonts as the program carries them, under the file names the layout loads, and the LCD
// face's table of missing characters against the face itself.

#include "StompletResourcePaths.h"
#include "render/LcdFaceCoverage.h"

#include <QFile>
#include <QFontDatabase>
#include <QRawFont>
#include <gtest/gtest.h>
#include <utility>

namespace
{
QByteArray ReadFont(const char* fileName)
{
    QFile file(QString::fromStdString(StompletFontPath(fileName)));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

TEST(CompiledFonts, EveryFontLoadsWithTheFaceItStandsForAndTheLcdFaceIsUprightRegular)
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
}

TEST(CompiledFonts, TheLcdFaceLacksExactlyTheCharactersItsTableNamesAndTheFallbackHasThem)
{
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
