#include "render/QtResourceLoader.h"

#include "render/BitmapStore.h"
#include "render/DecodePngImage.h"
#include "render/FontRegistry.h"

#include <QFile>
#include <QImageReader>
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

// The image file at `path` as a source whose size comes from the file's header, so that nothing
// is decoded before the image is drawn. Absent when there is no such file or no readable header.
BitmapStore::Source SourceAt(const QString& path)
{
    const QSize size = QImageReader(path).size();
    if (!size.isValid() || size.isEmpty())
        return {};
    return {size, [path]
            {
                const QByteArray bytes = ReadAll(path);
                return bytes.isEmpty() ? QImage() : DecodePngImage(bytes).value_or(QImage());
            }};
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
        if (!mBitmaps.Add(name, SourceAt(folder + file),
                          SourceAt(folder + DoubleResolutionName(file))))
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
