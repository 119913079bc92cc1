#include "ui/JackDisplayLayout.h"

#include "device/ParamTable.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "ui/ControlTags.h"
#include "ui/EditorStyles.h"
#include "ui/LayoutGrid.h"
#include "ui/LayoutImages.h"

#include <memory>
#include <utility>

namespace
{
constexpr float kDisplayWidth = 150.f;

// One row of both displays: the same text in the same style at the same height, jack 1 left of
// the middle and jack 2 right of it.
struct DisplayRow
{
    const char* jack1Text;
    const char* jack2Text;
    int jack1Tag;
    const char* jack1Group;
    int jack2Tag;
    const char* jack2Group;
};

// The four texts of one section of a display (the pedal, switch A or switch B), whose tags follow
// each other in this order on each jack; jack 2's are jack 1's plus kJack2TagOffset.
enum class DisplayPart
{
    kHeader,
    kLine1,
    kLine2,
    kValue,
};
constexpr int kJack2TagOffset = kCtrlTagJack2PedalHeader - kCtrlTagJack1PedalHeader;
static_assert(kCtrlTagJack1PedalValue - kCtrlTagJack1PedalHeader == 3 &&
              kCtrlTagJack1SwitchAValue - kCtrlTagJack1SwitchAHeader == 3 &&
              kCtrlTagJack1SwitchBValue - kCtrlTagJack1SwitchBHeader == 3 &&
              kCtrlTagJack2SwitchAHeader - kCtrlTagJack1SwitchAHeader == kJack2TagOffset &&
              kCtrlTagJack2SwitchBValue - kCtrlTagJack1SwitchBValue == kJack2TagOffset);

struct DisplaySection
{
    int jack1FirstTag;  // the header's tag on jack 1
    bool switches;      // shown while the jack takes switches, else while it takes a pedal
    const char* header; // the header's text
    IRECT headerBand;
    IRECT linesBand;
    IRECT valueBand;
};

void AttachRow(IGraphics& graphics, const IRECT& band, const IText& style, const DisplayRow& row)
{
    const float middle = kLayoutContent.MW();
    const IRECT jack1(middle - kDisplayWidth, band.T, middle, band.B);
    const IRECT jack2(middle, band.T, middle + kDisplayWidth, band.B);
    graphics.AttachControl(std::make_unique<ITextControl>(jack1, row.jack1Text, style),
                           row.jack1Tag, row.jack1Group);
    graphics.AttachControl(std::make_unique<ITextControl>(jack2, row.jack2Text, style),
                           row.jack2Tag, row.jack2Group);
}
} // namespace

void AttachJackDisplays(IGraphics& graphics, const EditorStyles& styles)
{
    const IRECT titleBand = LayoutCells(8, 11).GetFromBottom(36.f);
    const IRECT headerBand = LayoutCells(12, 13).GetFromBottom(20.f);
    const IRECT linesBand = LayoutCells(14, 17);
    const IRECT valueBand = LayoutCells(18, 21).GetFromBottom(34.f);
    const IRECT switchBHeaderBand = LayoutCells(24, 25).GetFromBottom(20.f);
    const IRECT switchBLinesBand = LayoutCells(26, 29);
    const IRECT switchBValueBand = LayoutCells(30, 33).GetFromBottom(34.f);
    // Line 1 is 30 high and line 2 the bottom 16 of it: with top alignment line 2 prints 14 lower.
    const float line1Height = 30.f;
    const float line2Height = 16.f;

    AttachRow(graphics, titleBand, styles.lcdTitleText,
              {"JACK 1", "JACK 2", kNoTag, "", kNoTag, ""});
    const DisplaySection pedal{
        kCtrlTagJack1PedalHeader, false, "PEDAL", headerBand, linesBand, valueBand};
    const DisplaySection switchA{
        kCtrlTagJack1SwitchAHeader, true, "SWITCH A", headerBand, linesBand, valueBand};
    const DisplaySection switchB{kCtrlTagJack1SwitchBHeader,
                                 true,
                                 "SWITCH B",
                                 switchBHeaderBand,
                                 switchBLinesBand,
                                 switchBValueBand};
    // Row by row, as a screen reader reads them: the pedal's and switch A's texts share rows.
    const std::pair<const DisplaySection*, DisplayPart> order[] = {
        {&pedal, DisplayPart::kHeader},   {&switchA, DisplayPart::kHeader},
        {&pedal, DisplayPart::kLine1},    {&pedal, DisplayPart::kLine2},
        {&switchA, DisplayPart::kLine1},  {&switchA, DisplayPart::kLine2},
        {&pedal, DisplayPart::kValue},    {&switchA, DisplayPart::kValue},
        {&switchB, DisplayPart::kHeader}, {&switchB, DisplayPart::kLine1},
        {&switchB, DisplayPart::kLine2},  {&switchB, DisplayPart::kValue}};
    for (const auto& [section, part] : order)
    {
        const auto at = static_cast<int>(part);
        const IRECT bands[] = {section->headerBand, section->linesBand.GetFromBottom(line1Height),
                               section->linesBand.GetFromBottom(line2Height), section->valueBand};
        const IText* texts[] = {&styles.lcdHeaderText, &styles.lcdLineText, &styles.lcdLineText,
                                &styles.lcdValueText};
        const char* text = part == DisplayPart::kHeader ? section->header : "";
        const int tag = section->jack1FirstTag + at;
        AttachRow(graphics, bands[at], *texts[at],
                  {text, text, tag, section->switches ? kGroupJack1Switch : kGroupJack1Pedal,
                   tag + kJack2TagOffset,
                   section->switches ? kGroupJack2Switch : kGroupJack2Pedal});
    }

    // The polarity pictures sit in the lower part of each display: frame 1 for "Tip", 2 for
    // "Ring".
    const IBitmap tipRing = LoadLayoutImage(graphics, kTipRingImage);
    graphics.AttachControl(std::make_unique<IBitmapControl>(360.f, 184.f, tipRing, kJack1Polarity),
                           kCtrlTagJack1Polarity, kGroupJack1Pedal);
    graphics.AttachControl(std::make_unique<IBitmapControl>(514.f, 184.f, tipRing, kJack2Polarity),
                           kCtrlTagJack2Polarity, kGroupJack2Pedal);
}
