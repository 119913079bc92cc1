// The artwork as the program carries it: present at both scales, at the sizes the layout places
// it, and still legible where the layout draws text over it.

#include "StompletResourcePaths.h"

#include <QColor>
#include <QImage>
#include <QRect>
#include <QString>
#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace resource_tests
{
struct Artwork
{
    const char* fileName;
    int width;
    int height;
};

constexpr Artwork kArtwork[] = {
    {"background.png", 1024, 768},
    {"tipring.png", 150, 198},
    {"fwbg.png", 621, 454},
    {"about.png", 1024, 768},
};

QImage LoadArtwork(const char* fileName, int scale)
{
    return QImage(QString::fromStdString(StompletImagePath(fileName, scale)))
        .convertToFormat(QImage::Format_ARGB32);
}

// Relative luminance of an sRGB colour, 0 (black) to 1 (white).
double Luminance(QRgb rgb)
{
    const auto linear = [](int channel)
    {
        const double c = channel / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(qRed(rgb)) + 0.7152 * linear(qGreen(rgb)) + 0.0722 * linear(qBlue(rgb));
}

// Contrast ratio of two luminances, 1 (none) to 21 (black on white).
double Contrast(double a, double b)
{
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

// Darkest and brightest luminance inside `area` (design pixels, scale 1).
std::pair<double, double> LuminanceRange(const QImage& image, const QRect& area)
{
    double darkest = 1.0;
    double brightest = 0.0;
    for (int y = area.top(); y <= area.bottom(); ++y)
    {
        for (int x = area.left(); x <= area.right(); ++x)
        {
            const double l = Luminance(image.pixel(x, y));
            darkest = std::min(darkest, l);
            brightest = std::max(brightest, l);
        }
    }
    return {darkest, brightest};
}

bool IsOpaque(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y)
    {
        for (int x = area.left(); x <= area.right(); ++x)
        {
            if (qAlpha(image.pixel(x, y)) != 255)
                return false;
        }
    }
    return true;
}

constexpr QRgb kWhiteLabel = qRgb(255, 255, 255);
} // namespace resource_tests

using namespace resource_tests;

TEST(CompiledArtwork, EveryImageIsInTheProgramAtItsDesignSizeAndTwiceThat)
{
    for (const Artwork& art : kArtwork)
    {
        for (const int scale : {1, 2})
        {
            const QImage image = LoadArtwork(art.fileName, scale);
            ASSERT_FALSE(image.isNull()) << art.fileName << " at " << scale;
            EXPECT_EQ(image.size(), QSize(scale * art.width, scale * art.height)) << art.fileName;
        }
    }
}

TEST(CompiledArtwork, FullWindowPicturesLeaveNoHoles)
{
    for (const char* fileName : {"background.png", "about.png"})
    {
        const QImage image = LoadArtwork(fileName, 1);
        EXPECT_TRUE(IsOpaque(image, image.rect())) << fileName;
    }
    // The firmware window hides the page it lies on: only its rounded corners may show through.
    const QImage window = LoadArtwork("fwbg.png", 1);
    EXPECT_TRUE(IsOpaque(window, QRect(14, 14, 621 - 28, 454 - 28)));
}

TEST(CompiledArtwork, TipAndRingFramesShowDifferentWiring)
{
    const QImage image = LoadArtwork("tipring.png", 1);
    ASSERT_EQ(image.height(), 198);
    int inkTip = 0;
    int inkRing = 0;
    int differing = 0;
    for (int y = 0; y < 99; ++y)
    {
        for (int x = 0; x < 150; ++x)
        {
            const int tip = qAlpha(image.pixel(x, y));
            const int ring = qAlpha(image.pixel(x, y + 99));
            inkTip += tip > 128 ? 1 : 0;
            inkRing += ring > 128 ? 1 : 0;
            differing += std::abs(tip - ring) > 96 ? 1 : 0;
        }
    }
    EXPECT_GT(inkTip, 600);
    EXPECT_GT(inkRing, 600);
    EXPECT_GT(differing, 300);
}

TEST(CompiledArtwork, PolarityPicturesStayOnTheGlass)
{
    // Drawn at y 184; the glass ends at y 280, 96 rows into each frame, and the bezel follows.
    const QImage image = LoadArtwork("tipring.png", 1);
    for (const int frameTop : {0, 99})
    {
        for (int y = frameTop + 96; y < frameTop + 99; ++y)
        {
            for (int x = 0; x < 150; ++x)
                ASSERT_EQ(qAlpha(image.pixel(x, y)), 0) << "x " << x << ", y " << y;
        }
    }
}

TEST(CompiledArtwork, WhiteLabelsReadOnTheDarkParts)
{
    const QImage image = LoadArtwork("background.png", 1);
    const QRect labelAreas[] = {
        QRect(QPoint(10, 50), QPoint(340, 88)),    // device status lines
        QRect(QPoint(380, 10), QPoint(649, 34)),   // preset name
        QRect(QPoint(960, 8), QPoint(1018, 34)),   // "MIDI IN" and the light
        QRect(QPoint(258, 320), QPoint(766, 728)), // every page's labels and the tab switch
    };
    for (const QRect& area : labelAreas)
    {
        const auto [darkest, brightest] = LuminanceRange(image, area);
        EXPECT_GE(Contrast(brightest, Luminance(kWhiteLabel)), 7.0)
            << area.left() << ", " << area.top();
    }
}
