#pragma once

#include <QImage>
#include <QSize>
#include <functional>
#include <map>
#include <string>
#include <string_view>

// Images by resource name ("background.png"), each available at scale 1 and, where the artwork
// has one, at scale 2 for high-density screens and enlarged views.
//
// An image is decoded only when it is drawn, and only at the scale the view needs then. Each image
// is held once: either as decoded (Select) or scaled to the device pixels it is drawn on (Scaled),
// and asking for another scale or size makes the new copy after dropping the old one. Release
// drops the images nothing on screen draws (a closed overlay's picture).
// [main thread]
class BitmapStore
{
public:
    // One scale of an image: its size in pixels (read from the file's header) and how to decode
    // it. A source without a size is absent; a decoder may fail with a null image.
    struct Source
    {
        QSize size;
        std::function<QImage()> decode;
    };

    // Stores the sources of `name`, replacing earlier ones. Either may be absent, not both: false
    // (and nothing stored) when both are.
    bool Add(std::string_view name, Source image1x, Source image2x);
    // The same for images already decoded (generated artwork, tests).
    bool Add(std::string_view name, QImage image1x, QImage image2x);
    bool Contains(std::string_view name) const;

    // The size of `name` in design pixels: the scale 1 image's size, or half the scale 2 image's
    // when only that exists. Empty for an unknown name.
    QSize DesignSize(std::string_view name) const;

    // The image that draws `name` best at `deviceScale` device pixels per design pixel (the view's
    // draw scale times the screen's pixel ratio): the scale 2 image above 1 when there is one,
    // else the scale 1 image, else whichever exists; decoded now if it is not held. nullptr for an
    // unknown name or an image that does not decode. Valid until the next Select or Release.
    const QImage* Select(std::string_view name, double deviceScale) const;
    // The image Select would give for `deviceScale`, its `nFrames` equal frames (stacked, or side
    // by side when `framesAreHorizontal`) each scaled on its own to exactly `framePixels`, so a
    // painter copies its pixels one to one instead of resampling them while it draws. Kept until
    // asked for at another scale or size; nullptr as Select, or for an empty `framePixels`. Valid
    // until the next Select, Scaled or Release.
    const QImage* Scaled(std::string_view name, double deviceScale, QSize framePixels, int nFrames,
                         bool framesAreHorizontal) const;

    // Drops the decoded images of every name for which `shown` is false; they are decoded again
    // when drawn. Asks only about the images held.
    void Release(const std::function<bool(std::string_view name)>& shown);
    // The bytes of all decoded images held now.
    qsizetype DecodedBytes() const;

private:
    struct Entry;
    // The source Select picks for `deviceScale`.
    static const Source& SourceFor(const Entry& entry, double deviceScale);

    struct Entry
    {
        Source image1x;
        Source image2x;
        // The one image held, of which source, and the frame size it was scaled to (empty: as
        // decoded); a cache, so it may change in Select and Scaled.
        mutable QImage decoded;
        mutable const Source* decodedFrom = nullptr;
        mutable QSize scaledFrame;
        mutable int scaledFrames = 0;
        mutable bool scaledHorizontally = false;
    };

    std::map<std::string, Entry, std::less<>> mEntries;
};
