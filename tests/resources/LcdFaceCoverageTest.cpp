// The LCD face's coverage table against the face the program actually carries.

#include "render/LcdFaceCoverage.h"

#include "StompletResourcePaths.h"

#include <QFile>
#include <QRawFont>
#include <QString>
#include <gtest/gtest.h>

namespace resource_tests
{
constexpr qreal kPixelSize = 30.0;

QRawFont LoadCompiledFont(const char* fileName)
{
    QFile file(QString::fromStdString(StompletFontPath(fileName)));
    if (!file.open(QIODevice::ReadOnly))
        return QRawFont();
    return QRawFont(file.readAll(), kPixelSize);
}

// Advance of `c` in em.
qreal AdvanceEm(const QRawFont& font, QChar c)
{
    const QList<quint32> glyphs = font.glyphIndexesForString(QString(c));
    return font.advancesForGlyphIndexes(glyphs).value(0).x() / kPixelSize;
}
} // namespace resource_tests

using namespace resource_tests;

TEST(LcdFaceCoverage, MissingCharacterTableMatchesTheCompiledFace)
{
    const QRawFont lcd = LoadCompiledFont("ni7seg.ttf");
    ASSERT_TRUE(lcd.isValid());
    for (char32_t c = U' '; c <= U'~'; ++c)
    {
        EXPECT_EQ(lcd.supportsCharacter(static_cast<uint>(c)), LcdFaceHasGlyph(c))
            << "character '" << static_cast<char>(c) << "'";
    }
}

TEST(LcdFaceCoverage, FallbackFaceDrawsEveryMissingCharacter)
{
    const QRawFont fallback = LoadCompiledFont("Roboto-Regular.ttf");
    ASSERT_TRUE(fallback.isValid());
    for (const char c : kLcdFaceMissingCharacters)
        EXPECT_TRUE(fallback.supportsCharacter(QChar::fromLatin1(c))) << "character '" << c << "'";
}

TEST(LcdFaceCoverage, CharactersOutsideAsciiCountAsMissing)
{
    EXPECT_FALSE(LcdFaceHasGlyph(U'\u00e9'));
    EXPECT_FALSE(LcdFaceHasGlyph(U'\t'));
    EXPECT_FALSE(LcdFaceHasGlyph(U'\x7f'));
    EXPECT_TRUE(LcdFaceHasGlyph(U'~'));
    EXPECT_TRUE(LcdFaceHasGlyph(U' '));
}

TEST(LcdFaceCoverage, WidenedSpaceIsAboutHalfACell)
{
    const QRawFont lcd = LoadCompiledFont("ni7seg.ttf");
    ASSERT_TRUE(lcd.isValid());
    const qreal cell = AdvanceEm(lcd, QLatin1Char('A'));
    const qreal space = AdvanceEm(lcd, QLatin1Char(' ')) + kLcdExtraWordSpacingEm;
    EXPECT_NEAR(AdvanceEm(lcd, QLatin1Char('0')), cell, 1e-3);
    EXPECT_GE(space, 0.45 * cell);
    EXPECT_LE(space, 0.65 * cell);
}
