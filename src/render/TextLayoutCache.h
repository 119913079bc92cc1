#pragma once

#include <QFont>
#include <QHash>
#include <QRectF>
#include <QSizeF>
#include <QStaticText>
#include <QString>
#include <cstddef>

// Texts laid out once and drawn again from their layout, so that a text repainted often (the
// label beside the animated activity light, a display row) is not shaped again on every frame.
// Keyed by the font and the text. When it holds kCapacity layouts it starts afresh: a screen shows
// a few hundred texts, and one frame lays them out again.
// [main thread]
class TextLayoutCache
{
public:
    static constexpr std::size_t kCapacity = 2048;

    // A single-line plain-text layout and the size its text is aligned by: the text's advance
    // wide and the font's ascent plus descent high, in the font's pixels. The size depends only
    // on the text and the font, never on the device or the scale a layout was last drawn at, so a
    // kept layout lands exactly where a fresh one does.
    struct Entry
    {
        QStaticText layout;
        QSizeF size;
        // The pixels the glyphs may cover, from the layout's top left corner.
        QRectF ink;
    };

    // A fresh layout of `text` in `font`.
    static Entry Make(const QString& text, const QFont& font);

    // The layout of `text` in `font`, made on first use. The reference is valid until the next
    // call.
    const Entry& Layout(const QString& text, const QFont& font);

    std::size_t Size() const { return static_cast<std::size_t>(mLayouts.size()); }

private:
    struct Key
    {
        QString text;
        QFont font;
        bool operator==(const Key& other) const { return text == other.text && font == other.font; }
    };
    friend size_t qHash(const Key& key, size_t seed) noexcept
    {
        return qHashMulti(seed, key.text, key.font);
    }

    QHash<Key, Entry> mLayouts;
};
