// The fonts as the program carries them, under the file names the layout loads.

#include "StompletResourcePaths.h"

#include <QFile>
#include <QFontDatabase>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

namespace resource_tests
{
struct CompiledFont
{
    const char* fileName;
    const char* family;
};

constexpr CompiledFont kFonts[] = {
    {"Roboto-Regular.ttf", "Roboto"},
    {"forkawesome-webfont.ttf", "forkawesome"},
    {"fontaudio.ttf", "FontAwesome"},
    {"ni7seg.ttf", "DSEG14 Classic"},
};
} // namespace resource_tests

using namespace resource_tests;

TEST(CompiledFonts, EveryFontLoadsWithTheFaceItStandsFor)
{
    for (const CompiledFont& font : kFonts)
    {
        QFile file(QString::fromStdString(StompletFontPath(font.fileName)));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << font.fileName;
        const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
        ASSERT_GE(id, 0) << font.fileName;
        EXPECT_TRUE(
            QFontDatabase::applicationFontFamilies(id).contains(QString::fromLatin1(font.family)))
            << font.fileName;
    }
}

TEST(CompiledFonts, TheLcdFaceIsTheUprightRegularWeight)
{
    QFile file(QString::fromStdString(StompletFontPath("ni7seg.ttf")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const int id = QFontDatabase::addApplicationFontFromData(file.readAll());
    ASSERT_GE(id, 0);
    const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
    const QStringList styles = QFontDatabase::styles(family);
    EXPECT_TRUE(styles.contains(QStringLiteral("Regular")))
        << styles.join(QLatin1Char(',')).toStdString();
    EXPECT_FALSE(QFontDatabase::italic(family, QStringLiteral("Regular")));
}
