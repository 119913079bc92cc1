// The artwork as the program carries it: present at both scales at the sizes the layout places
// it, opaque where it hides what lies behind it, and the two polarity pictures apart.

#include "StompletResourcePaths.h"

#include <QImage>
#include <cstdlib>
#include <functional>
#include <gtest/gtest.h>

namespace
{
QImage Load(const char* fileName, int scale)
{
    return QImage(QString::fromStdString(StompletImagePath(fileName, scale)))
        .convertToFormat(QImage::Format_ARGB32);
}

// The pixels inside `area` whose alpha `test` accepts.
int Count(const QImage& image, const QRect& area, const std::function<bool(int)>& test)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += test(qAlpha(image.pixel(x, y))) ? 1 : 0;
    return count;
}
} // namespace

TEST(CompiledArtwork, EveryImageIsThereAtItsDesignSizeAndTwiceThatAndOpaqueWhereItCovers)
{
    struct Artwork
    {
        const char* fileName;
        QSize size;
        QRect opaque;
    };
    const Artwork artwork[] = {
        {"background.png", {1024, 768}, {0, 0, 1024, 768}},
        {"about.png", {1024, 768}, {0, 0, 1024, 768}},
        {"fwbg.png", {621, 454}, {14, 14, 593, 426}}, // only the rounded corners show through
        {"tipring.png", {150, 198}, {}},
    };
    for (const Artwork& art : artwork)
    {
        for (const int scale : {1, 2})
            EXPECT_EQ(Load(art.fileName, scale).size(), art.size * scale)
                << art.fileName << " at " << scale;
        EXPECT_EQ(Count(Load(art.fileName, 1), art.opaque, [](int a) { return a != 255; }), 0)
            << art.fileName;
    }
}

TEST(CompiledArtwork, TipAndRingFramesShowDifferentWiringAndStayOnTheGlass)
{
    // Two frames of 99 rows, drawn at y 184: the glass ends 96 rows into each.
    const QImage image = Load("tipring.png", 1);
    int differing = 0;
    for (int y = 0; y < 99; ++y)
        for (int x = 0; x < 150; ++x)
            differing += std::abs(qAlpha(image.pixel(x, y)) - qAlpha(image.pixel(x, y + 99))) > 96;
    EXPECT_GT(differing, 300);
    for (const int frameTop : {0, 99})
        EXPECT_EQ(Count(image, QRect(0, frameTop + 96, 150, 3), [](int a) { return a != 0; }), 0);
}
