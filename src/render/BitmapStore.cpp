#include "render/BitmapStore.h"

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

const QImage* BitmapStore::Select(std::string_view name, double deviceScale) const
{
    const auto it = mEntries.find(name);
    if (it == mEntries.end())
        return nullptr;
    const Entry& entry = it->second;
    const bool have1x = !entry.image1x.size.isEmpty();
    const bool have2x = !entry.image2x.size.isEmpty();
    const Source& wanted = !have1x || (deviceScale > 1.0 && have2x) ? entry.image2x : entry.image1x;
    if (entry.decodedFrom != &wanted)
    {
        // The other scale's copy goes first: only one is ever held.
        entry.decoded = QImage();
        entry.decoded = wanted.decode ? wanted.decode() : QImage();
        entry.decodedFrom = &wanted;
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
