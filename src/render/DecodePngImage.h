#pragma once

#include <QByteArrayView>
#include <QImage>
#include <optional>

// Decodes the bytes of a PNG file into an image in premultiplied ARGB32, the format QPainter
// draws fastest. nullopt for bytes that are not a PNG the decoder can read (empty, truncated,
// corrupt, another format, or too large).
// [any thread]
std::optional<QImage> DecodePngImage(QByteArrayView bytes);
