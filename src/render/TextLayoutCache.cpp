#include "render/TextLayoutCache.h"

#include <QFontMetricsF>
#include <QTransform>

TextLayoutCache::Entry TextLayoutCache::Make(const QString& text, const QFont& font)
{
    Entry entry{QStaticText(text), QSizeF(), QRectF()};
    entry.layout.setTextFormat(Qt::PlainText);
    // Laid out in its own font now: a layout left to take the painter's font at its first draw
    // measures in the application's default font until then.
    entry.layout.prepare(QTransform(), font);
    const QFontMetricsF metrics(font);
    entry.size = QSizeF(metrics.horizontalAdvance(text), metrics.ascent() + metrics.descent());
    entry.ink = metrics.boundingRect(text).translated(0.0, metrics.ascent());
    return entry;
}

const TextLayoutCache::Entry& TextLayoutCache::Layout(const QString& text, const QFont& font)
{
    Key key{text, font};
    if (const auto found = mLayouts.constFind(key); found != mLayouts.constEnd())
        return *found;
    if (static_cast<std::size_t>(mLayouts.size()) >= kCapacity)
        mLayouts.clear();
    return *mLayouts.insert(key, Make(text, font));
}
