#include "render/FontRegistry.h"

#include <QFontDatabase>
#include <QRawFont>
#include <QStringList>
#include <algorithm>
#include <cmath>

namespace
{
// A blank narrower than this share of a digit reads as no gap at all.
constexpr double kNarrowSpaceShare = 1.0 / 3.0;
// The blank such a face is widened to, as a share of its digit.
constexpr double kWidenedSpaceShare = 2.0 / 3.0;
// Pixel size at which the face's advances are measured; the result is kept in em.
constexpr double kMeasureSize = 100.0;

// The extra word spacing, in em, that a face needs for its blank to separate words.
double MeasureExtraWordSpacingEm(const QByteArray& data)
{
    const QRawFont raw(data, kMeasureSize);
    if (!raw.isValid() || !raw.supportsCharacter(QChar(u' ')) ||
        !raw.supportsCharacter(QChar(u'0')))
        return 0.0;
    const QList<quint32> glyphs = raw.glyphIndexesForString(QStringLiteral(" 0"));
    const QList<QPointF> advances = raw.advancesForGlyphIndexes(glyphs);
    if (advances.size() != 2)
        return 0.0;
    const double space = advances[0].x();
    const double digit = advances[1].x();
    if (digit <= 0.0 || space >= kNarrowSpaceShare * digit)
        return 0.0;
    return (kWidenedSpaceShare * digit - space) / kMeasureSize;
}
} // namespace

FontRegistry::~FontRegistry()
{
    for (const auto& [id, face] : mFaces)
        QFontDatabase::removeApplicationFont(face.appFontId);
}

bool FontRegistry::AddFont(std::string_view fontID, const QByteArray& data)
{
    if (data.isEmpty())
        return false;
    const int appFontId = QFontDatabase::addApplicationFontFromData(data);
    if (appFontId < 0)
        return false;
    const QStringList families = QFontDatabase::applicationFontFamilies(appFontId);
    if (families.isEmpty())
    {
        QFontDatabase::removeApplicationFont(appFontId);
        return false;
    }
    Face face{families.front(), appFontId, MeasureExtraWordSpacingEm(data)};
    const std::string key(fontID.substr(0, IText::kMaxFontLength));
    if (const auto it = mFaces.find(key); it != mFaces.end())
        QFontDatabase::removeApplicationFont(it->second.appFontId);
    mFaces.insert_or_assign(key, std::move(face));
    return true;
}

const FontRegistry::Face* FontRegistry::Find(std::string_view fontID) const
{
    const auto it = mFaces.find(fontID);
    return it == mFaces.end() ? nullptr : &it->second;
}

bool FontRegistry::HasFont(std::string_view fontID) const
{
    return Find(fontID) != nullptr;
}

QString FontRegistry::Family(std::string_view fontID) const
{
    const Face* face = Find(fontID);
    return face ? face->family : QString();
}

double FontRegistry::ExtraWordSpacingEm(std::string_view fontID) const
{
    const Face* face = Find(fontID);
    return face ? face->extraWordSpacingEm : 0.0;
}

bool FontRegistry::IsSegmentFace(std::string_view fontID) const
{
    return ExtraWordSpacingEm(fontID) > 0.0;
}

QFont FontRegistry::FontFor(const IText& style) const
{
    const Face* fallback = Find(IText::kDefaultFont);
    const Face* face = Find(style.FontOrDefault());
    if (!face)
        face = fallback;

    QFont font;
    if (face)
    {
        QStringList families{face->family};
        if (fallback && fallback->family != face->family)
            families.append(fallback->family);
        font.setFamilies(families);
    }
    else
    {
        font.setStyleHint(QFont::SansSerif);
    }
    const double size = std::isfinite(style.mSize) ? static_cast<double>(style.mSize) : 1.0;
    const int pixelSize = std::max(1, static_cast<int>(std::lround(size)));
    font.setPixelSize(pixelSize);
    // Horizontal advances then scale exactly with the view; only vertical stems snap to pixels.
    font.setHintingPreference(QFont::PreferVerticalHinting);
    if (face && face->extraWordSpacingEm > 0.0)
    {
        // Word spacing is added after the stretch, so it is condensed by hand.
        font.setStretch(kSegmentStretch);
        font.setWordSpacing(face->extraWordSpacingEm * pixelSize * kSegmentStretch / 100.0);
    }
    return font;
}
