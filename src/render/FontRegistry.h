#pragma once

#include "toolkit/IText.h"

#include <QByteArray>
#include <QFont>
#include <QString>
#include <map>
#include <string>
#include <string_view>

// The fonts the controls draw with, by identifier ("Roboto-Regular", "FontLCD"): font files
// registered with Qt's font database, and the QFont each text style draws with.
//
// Legibility rules that hold for every face:
// - A face falls back to the default face (IText::kDefaultFont) for characters it lacks, so a
//   segment face without '#' still shows the sharp of a note name such as "C#3".
// - A face whose space is narrower than a third of its digit is a segment face (it keeps the
//   full-width blank for a dark cell). Its word spacing is widened to two thirds of a digit, so
//   the words of an LCD line stay apart, and it is drawn condensed to kSegmentStretch percent, so
//   sixteen cells fit a jack's LCD line and neighbouring displays keep a gap.
// [main thread]
class FontRegistry
{
public:
    // Width of a segment face's cells, in percent of the face's own.
    static constexpr int kSegmentStretch = 80;

    FontRegistry() = default;
    // Removes the fonts this registry added from Qt's font database.
    ~FontRegistry();
    FontRegistry(const FontRegistry&) = delete;
    FontRegistry& operator=(const FontRegistry&) = delete;

    // Registers the font file `data` under `fontID`, replacing a face registered under it before.
    // False (and nothing changed) for data Qt cannot read as a font.
    bool AddFont(std::string_view fontID, const QByteArray& data);
    bool HasFont(std::string_view fontID) const;
    // The family Qt knows the face as; empty for an unknown identifier.
    QString Family(std::string_view fontID) const;
    // Extra space added to every blank of the face, in em of the face's own width (0 for most
    // faces).
    double ExtraWordSpacingEm(std::string_view fontID) const;
    // Whether the face is drawn as a segment face (see above).
    bool IsSegmentFace(std::string_view fontID) const;

    // The font that draws `style`: its face (the default face for an empty or unknown
    // identifier; Qt's default sans-serif while no default face is registered), the style's size
    // in design pixels (rounded, at least 1), the fallback face, and for a segment face its
    // stretch and word spacing.
    QFont FontFor(const IText& style) const;

private:
    struct Face
    {
        QString family;
        int appFontId = -1;
        double extraWordSpacingEm = 0.0;
    };

    const Face* Find(std::string_view fontID) const;

    std::map<std::string, Face, std::less<>> mFaces;
};
