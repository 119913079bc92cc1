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

    // clang-format off
    AttachRow(graphics, titleBand, styles.lcdTitleText,
              {"JACK 1", "JACK 2", kNoTag, "", kNoTag, ""});
    AttachRow(graphics, headerBand, styles.lcdHeaderText,
              {"PEDAL", "PEDAL", kCtrlTagJack1PedalHeader, kGroupJack1Pedal,
               kCtrlTagJack2PedalHeader, kGroupJack2Pedal});
    AttachRow(graphics, headerBand, styles.lcdHeaderText,
              {"SWITCH A", "SWITCH A", kCtrlTagJack1SwitchAHeader, kGroupJack1Switch,
               kCtrlTagJack2SwitchAHeader, kGroupJack2Switch});
    AttachRow(graphics, linesBand.GetFromBottom(line1Height), styles.lcdLineText,
              {"", "", kCtrlTagJack1PedalLine1, kGroupJack1Pedal,
               kCtrlTagJack2PedalLine1, kGroupJack2Pedal});
    AttachRow(graphics, linesBand.GetFromBottom(line2Height), styles.lcdLineText,
              {"", "", kCtrlTagJack1PedalLine2, kGroupJack1Pedal,
               kCtrlTagJack2PedalLine2, kGroupJack2Pedal});
    AttachRow(graphics, linesBand.GetFromBottom(line1Height), styles.lcdLineText,
              {"", "", kCtrlTagJack1SwitchALine1, kGroupJack1Switch,
               kCtrlTagJack2SwitchALine1, kGroupJack2Switch});
    AttachRow(graphics, linesBand.GetFromBottom(line2Height), styles.lcdLineText,
              {"", "", kCtrlTagJack1SwitchALine2, kGroupJack1Switch,
               kCtrlTagJack2SwitchALine2, kGroupJack2Switch});
    AttachRow(graphics, valueBand, styles.lcdValueText,
              {"", "", kCtrlTagJack1PedalValue, kGroupJack1Pedal,
               kCtrlTagJack2PedalValue, kGroupJack2Pedal});
    AttachRow(graphics, valueBand, styles.lcdValueText,
              {"", "", kCtrlTagJack1SwitchAValue, kGroupJack1Switch,
               kCtrlTagJack2SwitchAValue, kGroupJack2Switch});
    AttachRow(graphics, switchBHeaderBand, styles.lcdHeaderText,
              {"SWITCH B", "SWITCH B", kCtrlTagJack1SwitchBHeader, kGroupJack1Switch,
               kCtrlTagJack2SwitchBHeader, kGroupJack2Switch});
    AttachRow(graphics, switchBLinesBand.GetFromBottom(line1Height), styles.lcdLineText,
              {"", "", kCtrlTagJack1SwitchBLine1, kGroupJack1Switch,
               kCtrlTagJack2SwitchBLine1, kGroupJack2Switch});
    AttachRow(graphics, switchBLinesBand.GetFromBottom(line2Height), styles.lcdLineText,
              {"", "", kCtrlTagJack1SwitchBLine2, kGroupJack1Switch,
               kCtrlTagJack2SwitchBLine2, kGroupJack2Switch});
    AttachRow(graphics, switchBValueBand, styles.lcdValueText,
              {"", "", kCtrlTagJack1SwitchBValue, kGroupJack1Switch,
               kCtrlTagJack2SwitchBValue, kGroupJack2Switch});
    // clang-format on

    // The polarity pictures sit in the lower part of each display: frame 1 for "Tip", 2 for
    // "Ring".
    const IBitmap tipRing = LoadLayoutImage(graphics, kTipRingImage);
    graphics.AttachControl(std::make_unique<IBitmapControl>(360.f, 184.f, tipRing, kJack1Polarity),
                           kCtrlTagJack1Polarity, kGroupJack1Pedal);
    graphics.AttachControl(std::make_unique<IBitmapControl>(514.f, 184.f, tipRing, kJack2Polarity),
                           kCtrlTagJack2Polarity, kGroupJack2Pedal);
}
