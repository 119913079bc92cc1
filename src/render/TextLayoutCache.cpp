#include "render/TextLayoutCache.h"

const QStaticText& TextLayoutCache::Layout(const QString& text, const QFont& font)
{
    Key key{text, font};
    if (const auto found = mLayouts.constFind(key); found != mLayouts.constEnd())
        return *found;
    if (static_cast<std::size_t>(mLayouts.size()) >= kCapacity)
        mLayouts.clear();
    QStaticText layout(text);
    layout.setTextFormat(Qt::PlainText);
    return *mLayouts.insert(key, layout);
}
