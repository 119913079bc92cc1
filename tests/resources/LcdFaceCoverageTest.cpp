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
    EXPECT_FALSE(LcdFaceHasGlyph(U'\x7f'));
}
