#include "render/BitmapStore.h"

bool BitmapStore::Add(std::string_view name, QImage image1x, QImage image2x)
{
    if (image1x.isNull() && image2x.isNull())
        return false;
    mEntries.insert_or_assign(std::string(name), Entry{std::move(image1x), std::move(image2x)});
    return true;
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
    if (!it->second.image1x.isNull())
        return it->second.image1x.size();
    return it->second.image2x.size() / 2;
}

const QImage* BitmapStore::Select(std::string_view name, double deviceScale) const
{
    const auto it = mEntries.find(name);
    if (it == mEntries.end())
        return nullptr;
    const Entry& entry = it->second;
    if (entry.image1x.isNull())
        return &entry.image2x;
    if (deviceScale > 1.0 && !entry.image2x.isNull())
        return &entry.image2x;
    return &entry.image1x;
}
