#include "render/BitmapStore.h"

#include <QPainter>
#include <algorithm>

namespace
{
BitmapStore::Source Decoded(QImage image)
{
    if (image.isNull())
        return {};
    const QSize size = image.size();
    return {size, [image = std::move(image)] { return image; }};
}
} // namespace

bool BitmapStore::Add(std::string_view name, Source image1x, Source image2x)
{
    if (image1x.size.isEmpty() && image2x.size.isEmpty())
        return false;
    Entry entry;
    entry.image1x = std::move(image1x);
    entry.image2x = std::move(image2x);
    mEntries.insert_or_assign(std::string(name), std::move(entry));
    return true;
}

bool BitmapStore::Add(std::string_view name, QImage image1x, QImage image2x)
{
    return Add(name, Decoded(std::move(image1x)), Decoded(std::move(image2x)));
}

bool BitmapStore::Contains(std::string_view name) const
{
    return mEntries.find(name) != mEntries.end();
}

QSize BitmapStore::DesignSize(std::string_view name) const
{
    const auto it = mEntries.find(name);
    if (it == mEntries.end())
        return {};
    if (!it->second.image1x.size.isEmpty())
        return it->second.image1x.size;
    return it->second.image2x.size / 2;
}

const BitmapStore::Source& BitmapStore::SourceFor(const Entry& entry, double deviceScale)
{
    const bool have1x = !entry.image1x.size.isEmpty();
    const bool have2x = !entry.image2x.size.isEmpty();
    return !have1x || (deviceScale > 1.0 && have2x) ? entry.image2x : entry.image1x;
}

const QImage* BitmapStore::Select(std::string_view name, double deviceScale) const
{
    const auto it = mEntries.find(name);
    if (it == mEntries.end())
        return nullptr;
    const Entry& entry = it->second;
    const Source& wanted = SourceFor(entry, deviceScale);
    if (entry.decodedFrom != &wanted || !entry.scaledFrame.isEmpty())
    {
        // The copy held goes first: only one is ever held.
        entry.decoded = QImage();
        entry.decoded = wanted.decode ? wanted.decode() : QImage();
        entry.decodedFrom = &wanted;
        entry.scaledFrame = QSize();
    }
    return entry.decoded.isNull() ? nullptr : &entry.decoded;
}

const QImage* BitmapStore::Scaled(std::string_view name, double deviceScale, QSize framePixels,
                                  int nFrames, bool framesAreHorizontal) const
{
    const auto it = mEntries.find(name);
    if (it == mEntries.end() || framePixels.isEmpty())
        return nullptr;
    const Entry& entry = it->second;
    const Source& wanted = SourceFor(entry, deviceScale);
    const int frames = std::max(nFrames, 1);
    if (entry.decodedFrom == &wanted && entry.scaledFrame == framePixels &&
        entry.scaledFrames == frames && entry.scaledHorizontally == framesAreHorizontal)
        return entry.decoded.isNull() ? nullptr : &entry.decoded;

    entry.decoded = QImage();
    entry.decodedFrom = &wanted;
    entry.scaledFrame = framePixels;
    entry.scaledFrames = frames;
    entry.scaledHorizontally = framesAreHorizontal;
    QImage source = wanted.decode ? wanted.decode() : QImage();
    if (source.isNull())
        return nullptr;
    const int sourceW = framesAreHorizontal ? source.width() / frames : source.width();
    const int sourceH = framesAreHorizontal ? source.height() : source.height() / frames;
    if (sourceW == framePixels.width() && sourceH == framePixels.height() &&
        (framesAreHorizontal ? sourceW * frames == source.width()
                             : sourceH * frames == source.height()))
    {
        entry.decoded = std::move(source);
        return &entry.decoded;
    }
    if (sourceW <= 0 || sourceH <= 0)
        return nullptr;
    const QSize strip = framesAreHorizontal
                            ? QSize(framePixels.width() * frames, framePixels.height())
                            : QSize(framePixels.width(), framePixels.height() * frames);
    if (frames == 1)
    {
        entry.decoded = source.scaled(strip, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    else
    {
        // Frame by frame, so no frame takes pixels of its neighbour.
        QImage scaled(strip, QImage::Format_ARGB32_Premultiplied);
        scaled.fill(Qt::transparent);
        QPainter painter(&scaled);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        for (int frame = 0; frame < frames; ++frame)
        {
            const QRect from = framesAreHorizontal ? QRect(sourceW * frame, 0, sourceW, sourceH)
                                                   : QRect(0, sourceH * frame, sourceW, sourceH);
            const QPoint to = framesAreHorizontal ? QPoint(framePixels.width() * frame, 0)
                                                  : QPoint(0, framePixels.height() * frame);
            painter.drawImage(to, source.copy(from).scaled(framePixels, Qt::IgnoreAspectRatio,
                                                           Qt::SmoothTransformation));
        }
        painter.end();
        entry.decoded = std::move(scaled);
    }
    return entry.decoded.isNull() ? nullptr : &entry.decoded;
}

void BitmapStore::Release(const std::function<bool(std::string_view name)>& shown)
{
    for (auto& [name, entry] : mEntries)
    {
        if (entry.decodedFrom && !shown(name))
        {
            entry.decoded = QImage();
            entry.decodedFrom = nullptr;
            entry.scaledFrame = QSize();
        }
    }
}

qsizetype BitmapStore::DecodedBytes() const
{
    qsizetype bytes = 0;
    for (const auto& [name, entry] : mEntries)
        bytes += entry.decoded.sizeInBytes();
    return bytes;
}
