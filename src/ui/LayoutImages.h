#pragma once

#include "toolkit/IBitmap.h"

class IGraphics;

// An image of the editor screen with its size at scale 1 and its frame count (frames stacked
// vertically).
struct LayoutImage
{
    const char* name;
    int width;
    int height;
    int frames;
};

inline constexpr LayoutImage kBackgroundImage{"background.png", 1024, 768, 1};
// Two frames of 150 x 99: the tip wiring above, the ring wiring below.
inline constexpr LayoutImage kTipRingImage{"tipring.png", 150, 198, 2};
inline constexpr LayoutImage kFirmwareWindowImage{"fwbg.png", 621, 454, 1};
inline constexpr LayoutImage kAboutImage{"about.png", 1024, 768, 1};

// The image as the context's resource loader provides it. When it cannot (no loader, no such
// image), a handle of the image's design size: the layout keeps its geometry, and the renderer
// draws nothing for an image it does not know.
// [main thread]
IBitmap LoadLayoutImage(IGraphics& graphics, const LayoutImage& image);
