#include "ui/LayoutImages.h"

#include "toolkit/IGraphics.h"

IBitmap LoadLayoutImage(IGraphics& graphics, const LayoutImage& image)
{
    if (std::optional<IBitmap> loaded = graphics.LoadBitmap(image.name, image.frames))
        return *loaded;
    IBitmap bitmap;
    bitmap.mResourceName = image.name;
    bitmap.mWidth = image.width;
    bitmap.mHeight = image.height;
    bitmap.mNFrames = image.frames;
    return bitmap;
}
