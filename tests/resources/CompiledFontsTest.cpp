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

// The application font id of the compiled file, or -1.
int AddCompiledFont(const char* fileName)
{
    QFile file(QString::fromStdString(StompletFontPath(fileName)));
    if (!file.open(QIODevice::ReadOnly))
        return -1;
    return QFontDatabase::addApplicationFontFromData(file.readAll());
}
} // namespace resource_tests

using namespace resource_tests;

TEST(CompiledFonts, EveryFontLoadsWithTheFaceItStandsFor)
{
    for (const CompiledFont& font : kFonts)
    {
        const int id = AddCompiledFont(font.fileName);
        ASSERT_GE(id, 0) << font.fileName;
        EXPECT_TRUE(
            QFontDatabase::applicationFontFamilies(id).contains(QString::fromLatin1(font.family)))
            << font.fileName;
    }
}

TEST(CompiledFonts, TheLcdFaceIsTheUprightRegularWeight)
{
    const int id = AddCompiledFont("ni7seg.ttf");
    ASSERT_GE(id, 0);
    const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
    const QStringList styles = QFontDatabase::styles(family);
    EXPECT_TRUE(styles.contains(QStringLiteral("Regular")))
        << styles.join(QLatin1Char(',')).toStdString();
    EXPECT_FALSE(QFontDatabase::italic(family, QStringLiteral("Regular")));
}
