#pragma once

#include "toolkit/ResourceLoader.h"

#include <QString>

class BitmapStore;
class FontRegistry;

// The ResourceLoader over the Qt resource system. Under its root folder, images are
// "images/<name>" with an optional double-resolution "images/<stem>@2x.<extension>" beside them,
// and fonts are "fonts/<file name>". The default root holds the resources compiled into the
// program; tests may pass a folder on disk instead. Loaded images and fonts go into the stores,
// which must outlive the loader.
// [main thread]
class QtResourceLoader final : public ResourceLoader
{
public:
    static inline const QString kDefaultRoot = QStringLiteral(":/stomplet");

    QtResourceLoader(FontRegistry& fonts, BitmapStore& bitmaps, QString root = kDefaultRoot);

    // Reads only the images' headers: the store decodes an image when it is first drawn. A second
    // request for the same name reuses what the store holds.
    std::optional<IBitmap> LoadBitmap(std::string_view name, int nFrames,
                                      bool framesAreHorizontal) override;
    bool LoadFont(std::string_view fontID, std::string_view fileName) override;

    // "<stem>@2x.<extension>" for "<stem>.<extension>" ("background.png" gives
    // "background@2x.png"); a name without an extension gets "@2x" appended.
    static QString DoubleResolutionName(const QString& name);

private:
    FontRegistry& mFonts;
    BitmapStore& mBitmaps;
    QString mRoot;
};
