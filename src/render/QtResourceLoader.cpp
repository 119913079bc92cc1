#include "render/QtResourceLoader.h"

#include "render/BitmapStore.h"
#include "render/DecodePngImage.h"
#include "render/FontRegistry.h"

#include <QFile>
#include <algorithm>

namespace
{
QString ToQString(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The file's bytes, or an empty array when it is missing or unreadable.
QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QImage DecodeOrNull(const QByteArray& bytes)
{
    if (bytes.isEmpty())
        return {};
    return DecodePngImage(bytes).value_or(QImage());
}
} // namespace

QtResourceLoader::QtResourceLoader(FontRegistry& fonts, BitmapStore& bitmaps, QString root)
    : mFonts(fonts), mBitmaps(bitmaps), mRoot(std::move(root))
{
}

QString QtResourceLoader::DoubleResolutionName(const QString& name)
{
    const qsizetype dot = name.lastIndexOf(u'.');
    if (dot <= 0)
        return name + QStringLiteral("@2x");
    return name.left(dot) + QStringLiteral("@2x") + name.mid(dot);
}

std::optional<IBitmap> QtResourceLoader::LoadBitmap(std::string_view name, int nFrames,
                                                    bool framesAreHorizontal)
{
    if (name.empty())
        return std::nullopt;
    if (!mBitmaps.Contains(name))
    {
        const QString folder = mRoot + QStringLiteral("/images/");
        const QString file = ToQString(name);
        QImage image1x = DecodeOrNull(ReadAll(folder + file));
        QImage image2x = DecodeOrNull(ReadAll(folder + DoubleResolutionName(file)));
        if (!mBitmaps.Add(name, std::move(image1x), std::move(image2x)))
            return std::nullopt;
    }
    const QSize size = mBitmaps.DesignSize(name);
    IBitmap bitmap;
    bitmap.mResourceName = std::string(name);
    bitmap.mWidth = size.width();
    bitmap.mHeight = size.height();
    bitmap.mNFrames = std::max(nFrames, 1);
    bitmap.mFramesAreHorizontal = framesAreHorizontal;
    return bitmap;
}

bool QtResourceLoader::LoadFont(std::string_view fontID, std::string_view fileName)
{
    if (fontID.empty() || fileName.empty())
        return false;
    return mFonts.AddFont(fontID, ReadAll(mRoot + QStringLiteral("/fonts/") + ToQString(fileName)));
}
