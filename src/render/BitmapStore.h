#pragma once

#include <QImage>
#include <QSize>
#include <map>
#include <string>
#include <string_view>

// Decoded images by resource name ("background.png"), each at scale 1 and, where the artwork has
// one, at scale 2 for high-density screens and enlarged views.
// [main thread]
class BitmapStore
{
public:
    // Stores the images of `name`, replacing earlier ones. Either image may be null, not both:
    // false (and nothing stored) when both are.
    bool Add(std::string_view name, QImage image1x, QImage image2x);
    bool Contains(std::string_view name) const;

    // The size of `name` in design pixels: the scale 1 image's size, or half the scale 2 image's
    // when only that exists. Empty for an unknown name.
    QSize DesignSize(std::string_view name) const;

    // The image that draws `name` best at `deviceScale` device pixels per design pixel (the view's
    // draw scale times the screen's pixel ratio): the scale 2 image above 1 when there is one,
    // else the scale 1 image, else whichever exists. nullptr for an unknown name.
    const QImage* Select(std::string_view name, double deviceScale) const;

private:
    struct Entry
    {
        QImage image1x;
        QImage image2x;
    };

    std::map<std::string, Entry, std::less<>> mEntries;
};
