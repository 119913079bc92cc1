#pragma once

#include "toolkit/IBitmap.h"

#include <optional>
#include <string_view>

// Finds images and fonts among the application's resources. The renderer implements it; the
// graphics context forwards the layout's requests to it.
// [main thread]
class ResourceLoader
{
public:
    virtual ~ResourceLoader() = default;

    // The image named `name` (for example "tipring.png"), cut into `nFrames` frames; nullopt when
    // no such image exists or it cannot be decoded.
    virtual std::optional<IBitmap> LoadBitmap(std::string_view name, int nFrames,
                                              bool framesAreHorizontal) = 0;

    // Makes the font file `fileName` available under the identifier `fontID`; false when the file
    // is missing or not a font.
    virtual bool LoadFont(std::string_view fontID, std::string_view fileName) = 0;
};
