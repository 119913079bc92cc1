#include "render/BitmapStore.h"
#include "render/DecodePngImage.h"
#include "render/FontRegistry.h"
#include "render/QtResourceLoader.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace renderresourcestest
{
QByteArray EncodePng(const QImage& image)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return bytes;
}

QImage Solid(QSize size, QColor color)
{
    QImage image(size, QImage::Format_ARGB32);
    image.fill(color);
    return image;
}
} // namespace renderresourcestest

using renderresourcestest::EncodePng;
using renderresourcestest::Solid;

TEST(DecodePngImage, KeepsSizeColourAndTransparency)
{
    QImage source(3, 2, QImage::Format_ARGB32);
    source.fill(QColor(10, 20, 30));
    source.setPixelColor(2, 1, QColor(0, 0, 0, 0));
    const std::optional<QImage> decoded = DecodePngImage(EncodePng(source));
    ASSERT_TRUE(decoded.has_value());
    EXPECT_EQ(decoded->size(), QSize(3, 2));
    EXPECT_EQ(decoded->format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(decoded->pixelColor(0, 0), QColor(10, 20, 30));
    EXPECT_EQ(decoded->pixelColor(2, 1).alpha(), 0);
}

TEST(DecodePngImage, EmptyTruncatedAndForeignBytesGiveNothing)
{
    const QByteArray png = EncodePng(Solid(QSize(16, 16), Qt::red));
    EXPECT_FALSE(DecodePngImage(QByteArray()).has_value());
    EXPECT_FALSE(DecodePngImage(png.left(png.size() / 2)).has_value());
    EXPECT_FALSE(DecodePngImage(QByteArray("GIF89a not a png at all")).has_value());
}

TEST(BitmapStore, ChoosesTheDoubleImageOnlyAboveScaleOne)
{
    BitmapStore store;
    ASSERT_TRUE(store.Add("both.png", Solid(QSize(10, 4), Qt::red), Solid(QSize(20, 8), Qt::blue)));
    ASSERT_TRUE(store.Add("double.png", QImage(), Solid(QSize(20, 8), Qt::blue)));
    EXPECT_FALSE(store.Add("none.png", QImage(), QImage()));

    EXPECT_EQ(store.Select("both.png", 1.0)->width(), 10);
    EXPECT_EQ(store.Select("both.png", 1.25)->width(), 20);
    EXPECT_EQ(store.Select("both.png", 0.5)->width(), 10);
    EXPECT_EQ(store.Select("double.png", 1.0)->width(), 20);
    EXPECT_EQ(store.DesignSize("double.png"), QSize(10, 4));
    EXPECT_EQ(store.Select("none.png", 1.0), nullptr);
    EXPECT_FALSE(store.Contains("none.png"));
}

TEST(BitmapStore, DecodesOnlyWhatIsDrawnAtTheScaleInUseAndReleasesWhatIsHidden)
{
    // Mended: every image was decoded at both scales at start-up and kept for good.
    int decodes = 0;
    const auto source = [&decodes](QSize size, Qt::GlobalColor color)
    {
        return BitmapStore::Source{size, [&decodes, size, color]
                                   {
                                       ++decodes;
                                       return Solid(size, color);
                                   }};
    };
    BitmapStore store;
    ASSERT_TRUE(
        store.Add("about.png", source(QSize(10, 4), Qt::red), source(QSize(20, 8), Qt::blue)));
    EXPECT_EQ(store.DesignSize("about.png"), QSize(10, 4));
    EXPECT_EQ(decodes, 0);
    EXPECT_EQ(store.DecodedBytes(), 0);

    EXPECT_EQ(store.Select("about.png", 1.0)->width(), 10);
    EXPECT_EQ(store.Select("about.png", 0.8)->width(), 10);
    EXPECT_EQ(decodes, 1);
    EXPECT_EQ(store.Select("about.png", 2.0)->width(), 20);
    EXPECT_EQ(store.DecodedBytes(), Solid(QSize(20, 8), Qt::blue).sizeInBytes()) << "one copy";

    store.Release([](std::string_view name) { return name == "background.png"; });
    EXPECT_EQ(store.DecodedBytes(), 0);
    EXPECT_EQ(store.Select("about.png", 2.0)->width(), 20);
    EXPECT_EQ(decodes, 3);
}

TEST(QtResourceLoader, LoadsTheCompiledArtworkAtBothScales)
{
    FontRegistry fonts;
    BitmapStore bitmaps;
    QtResourceLoader loader(fonts, bitmaps);
    const std::optional<IBitmap> tipring = loader.LoadBitmap("tipring.png", 2, false);
    ASSERT_TRUE(tipring.has_value());
    EXPECT_EQ(tipring->mWidth, 150);
    EXPECT_EQ(tipring->mHeight, 198);
    EXPECT_EQ(tipring->FrameHeight(), 99);
    EXPECT_EQ(bitmaps.Select("tipring.png", 2.0)->size(), QSize(300, 396));
    EXPECT_EQ(bitmaps.Select("tipring.png", 1.0)->size(), QSize(150, 198));

    EXPECT_FALSE(loader.LoadBitmap("no-such-image.png", 1, false).has_value());
    EXPECT_FALSE(loader.LoadBitmap("", 1, false).has_value());
}

TEST(QtResourceLoader, ReadsImagesAndFontsUnderAnotherRoot)
{
    const QString root = QString::fromUtf8(::testing::TempDir().c_str()) + "/render-root";
    QDir().mkpath(root + "/images");
    QDir().mkpath(root + "/fonts");
    Solid(QSize(6, 4), Qt::green).save(root + "/images/only.png", "PNG");
    QFile garbage(root + "/fonts/broken.ttf");
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("not a font");
    garbage.close();

    FontRegistry fonts;
    BitmapStore bitmaps;
    QtResourceLoader loader(fonts, bitmaps, root);
    const std::optional<IBitmap> only = loader.LoadBitmap("only.png", 1, false);
    ASSERT_TRUE(only.has_value());
    EXPECT_EQ(only->mWidth, 6);
    EXPECT_EQ(bitmaps.Select("only.png", 2.0)->size(), QSize(6, 4)); // no double image there
    EXPECT_FALSE(loader.LoadFont("Broken", "broken.ttf"));
    EXPECT_FALSE(fonts.HasFont("Broken"));
}
