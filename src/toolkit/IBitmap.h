#pragma once

#include <string>

// A handle to an image loaded by a ResourceLoader: the resource name the renderer resolves, and
// the image's size at scale 1. A multi-frame image holds `mNFrames` equal frames stacked
// vertically (or side by side when `mFramesAreHorizontal`). A default-constructed handle names no
// image and draws nothing.
struct IBitmap
{
    std::string mResourceName;
    int mWidth = 0;  // whole image, design pixels
    int mHeight = 0; // whole image, design pixels
    int mNFrames = 1;
    bool mFramesAreHorizontal = false;

    bool IsValid() const { return !mResourceName.empty() && mWidth > 0 && mHeight > 0; }
    int NFrames() const { return mNFrames < 1 ? 1 : mNFrames; }
    int FrameWidth() const { return mFramesAreHorizontal ? mWidth / NFrames() : mWidth; }
    int FrameHeight() const { return mFramesAreHorizontal ? mHeight : mHeight / NFrames(); }

    bool operator==(const IBitmap&) const = default;
};
