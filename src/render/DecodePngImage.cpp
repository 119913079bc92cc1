#include "render/DecodePngImage.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#include <limits>
#include <memory>
#include <stb/stb_image.h>

std::optional<QImage> DecodePngImage(QByteArrayView bytes)
{
    if (bytes.isEmpty() || bytes.size() > std::numeric_limits<int>::max())
        return std::nullopt;
    int width = 0;
    int height = 0;
    int channelsInFile = 0;
    // Four channels out whatever the file holds: grey, palette and RGB images gain an opaque alpha.
    stbi_uc* pixels =
        stbi_load_from_memory(reinterpret_cast<const stbi_uc*>(bytes.data()),
                              static_cast<int>(bytes.size()), &width, &height, &channelsInFile, 4);
    if (!pixels)
        return std::nullopt;
    const std::unique_ptr<stbi_uc, decltype(&stbi_image_free)> owner(pixels, &stbi_image_free);
    if (width <= 0 || height <= 0)
        return std::nullopt;
    // The decoder keeps width * height * 4 within an int, so the row length fits too.
    const QImage view(pixels, width, height, width * 4, QImage::Format_RGBA8888);
    // The conversion copies the pixels out of the decoder's buffer before it is freed.
    QImage image = view.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (image.isNull())
        return std::nullopt;
    return image;
}
