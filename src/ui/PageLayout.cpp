#include "ui/PageLayout.h"

#include "device/ParamTable.h"
#include "toolkit/ICaptionControl.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVButtonControl.h"
#include "toolkit/IVTabSwitchControl.h"
#include "ui/ControlTags.h"
#include "ui/EditorActions.h"
#include "ui/EditorCommands.h"
#include "ui/EditorStyles.h"
#include "ui/IVNumberBoxControl.h"
#include "ui/LayoutGrid.h"

#include <memory>
#include <string>

namespace
{
// Caption rows are the row's centre +- 14, number boxes of a switch page likewise.
constexpr float kCaptionHalfHeight = 14.f;
// Width of the paired items on the switch pages and of the output range on the pedal pages.
constexpr float kPairedWidth = 200.f;
constexpr float kCalibrationWidth = 220.f;
constexpr float kBoundsWidth = 150.f;

// The middle fifth of a full-width row.
IRECT Centred(int row)
{
    return LayoutRow(row).SubRectHorizontal(5, 2);
}

// Items of the left column: the first kPairedWidth of the column's right half.
IRECT LeftItem(int cellIdx, float width = kPairedWidth)
{
    return LayoutCell(cellIdx).SubRectHorizontal(2, 1).GetFromLeft(width);
}

// Items of the right column: the last kPairedWidth of the column's left half.
IRECT RightItem(int cellIdx, float width = kPairedWidth)
{
    return LayoutCell(cellIdx).SubRectHorizontal(2, 0).GetFromRight(width);
}

struct PageContext
{
    IGraphics& graphics;
    const EditorStyles& styles;
    const char* group;

    void Label(const IRECT& bounds, const char* text) const
    {
        graphics.AttachControl(std::make_unique<ITextControl>(bounds, text, styles.labelText),
                               kNoTag, group);
    }

    void Caption(const IRECT& bounds, int paramIdx, int tag = kNoTag) const
    {
        graphics.AttachControl(
            std::make_unique<ICaptionControl>(bounds, paramIdx, styles.captionText, kPanelGrey),
            tag, group);
    }

    void NumberBox(const IRECT& bounds, int paramIdx, int tag = kNoTag) const
    {
        graphics.AttachControl(std::make_unique<IVNumberBoxControl>(bounds, paramIdx, nullptr, "",
                                                                    styles.numberBoxStyle, 50.0,
                                                                    1.0, 100.0, "%0.0f"),
                               tag, group);
    }
};

void AttachGlobalPage(IGraphics& graphics, const EditorStyles& styles, EditorCommands& editor)
{
    const PageContext page{graphics, styles, kGroupGlobal};
    const IVStyle resetStyle = WithBodyColors(styles.buttonStyle, IColor(255, 0, 83, 146),
                                              IColor(255, 116, 213, 255), kColorWhite);
    graphics.AttachControl(std::make_unique<IVButtonControl>(
                               Centred(23).GetFromTop(40.f),
                               [&editor](IControl* caller) { ResetAllAction(editor, caller); },
                               "RESET ALL", resetStyle, true, true),
                           kNoTag, kGroupGlobal);

    page.Label(Centred(26).GetFromTop(20.f), "JACK 1 Mode");
    page.Caption(Centred(28).GetMidVPadded(kCaptionHalfHeight), kJack1Mode, kCtrlTagJack1Mode);
    page.Label(Centred(30).GetFromTop(20.f), "JACK 1 Polarity");
    page.Caption(Centred(32).GetMidVPadded(kCaptionHalfHeight), kJack1Polarity);
    page.Label(Centred(34).GetFromTop(20.f), "JACK 2 Mode");
    page.Caption(Centred(36).GetMidVPadded(kCaptionHalfHeight), kJack2Mode, kCtrlTagJack2Mode);
    page.Label(Centred(38).GetFromTop(20.f), "JACK 2 Polarity");
    page.Caption(Centred(40).GetMidVPadded(kCaptionHalfHeight), kJack2Polarity);
}

// The settings and tags of one jack's switch page.
struct SwitchPage
{
    const char* group;
    const char* channelLabelA;
    int channelA, operationA, functionA, controllerA, controllerTagA;
    int channelB, operationB, functionB, controllerB, controllerTagB;
    int lower, lowerTag, upper, upperTag;
};

void AttachSwitchPage(IGraphics& graphics, const EditorStyles& styles, const SwitchPage& sp)
{
    const PageContext page{graphics, styles, sp.group};
    // Each pair takes both cells of one row: SWITCH A on the left, SWITCH B on the right.
    auto pair = [](int row) { return row * kLayoutColumns; };

    page.Label(LeftItem(pair(25)), sp.channelLabelA);
    page.Label(RightItem(pair(25) + 1), "MIDI Channel SWITCH B");
    page.Caption(LeftItem(pair(27)).GetMidVPadded(kCaptionHalfHeight), sp.channelA);
    page.Caption(RightItem(pair(27) + 1).GetMidVPadded(kCaptionHalfHeight), sp.channelB);
    page.Label(LeftItem(pair(29)), "SWITCH A Operation");
    page.Label(RightItem(pair(29) + 1), "SWITCH B Operation");
    page.Caption(LeftItem(pair(31)).GetMidVPadded(kCaptionHalfHeight), sp.operationA);
    page.Caption(RightItem(pair(31) + 1).GetMidVPadded(kCaptionHalfHeight), sp.operationB);
    page.Label(LeftItem(pair(33)), "SWITCH A Function");
    page.Label(RightItem(pair(33) + 1), "SWITCH B Function");
    page.Caption(LeftItem(pair(35)).GetMidVPadded(kCaptionHalfHeight), sp.functionA);
    page.Caption(RightItem(pair(35) + 1).GetMidVPadded(kCaptionHalfHeight), sp.functionB);
    page.Label(LeftItem(pair(37)), "SWITCH A Controller");
    page.Label(RightItem(pair(37) + 1), "SWITCH B Controller");
    page.NumberBox(LeftItem(pair(39)).GetMidVPadded(kCaptionHalfHeight), sp.controllerA,
                   sp.controllerTagA);
    page.NumberBox(RightItem(pair(39) + 1).GetMidVPadded(kCaptionHalfHeight), sp.controllerB,
                   sp.controllerTagB);

    // The special-control bounds, shared by both switches, side by side on the window's middle.
    const float middle = kLayoutContent.MW();
    const IRECT labels = LayoutRow(41);
    const IRECT boxes = LayoutRow(44).GetMidVPadded(20.f);
    // Apart by a gap, so that the two captions, each as wide as its box, read as two.
    constexpr float kGap = 12.f;
    const float leftR = middle - kGap;
    const float rightL = middle + kGap;
    page.Label(IRECT(leftR - kBoundsWidth, labels.T, leftR, labels.B), "Special Ctrl Lower");
    page.Label(IRECT(rightL, labels.T, rightL + kBoundsWidth, labels.B), "Special Ctrl Upper");
    page.NumberBox(IRECT(leftR - kBoundsWidth, boxes.T, leftR, boxes.B), sp.lower, sp.lowerTag);
    page.NumberBox(IRECT(rightL, boxes.T, rightL + kBoundsWidth, boxes.B), sp.upper, sp.upperTag);
}

// The settings and tags of one pedal page.
struct PedalPage
{
    const char* group;
    int channel, mode, controller, outMinimum, outMaximum;
    int calibrateLowTag, calibrateHighTag;
};

void AttachPedalPage(IGraphics& graphics, const EditorStyles& styles, EditorCommands& editor,
                     const PedalPage& pp)
{
    const PageContext page{graphics, styles, pp.group};
    page.Label(Centred(25).GetFromTop(20.f), "MIDI Channel");
    page.Caption(Centred(27).GetMidVPadded(kCaptionHalfHeight), pp.channel);
    page.Label(Centred(29).GetFromTop(20.f), "Mode");
    page.Caption(Centred(31).GetMidVPadded(kCaptionHalfHeight), pp.mode);
    page.Label(Centred(33).GetFromTop(20.f), "Controller");
    page.NumberBox(Centred(35).GetFromTop(40.f), pp.controller);
    page.Label(LeftItem(76), "Minimum");
    page.Label(RightItem(77), "Maximum");
    page.NumberBox(LeftItem(80).GetMidVPadded(kCaptionHalfHeight), pp.outMinimum);
    page.NumberBox(RightItem(81).GetMidVPadded(kCaptionHalfHeight), pp.outMaximum);

    // Type small enough for the longest label, "Calibration High End: 100.0%".
    const IVStyle calibrationStyle =
        WithBodyColors(styles.buttonStyle, IColor(255, 148, 17, 0), IColor(255, 255, 38, 0),
                       kColorWhite)
            .WithLabelText(styles.buttonStyle.mLabelText.WithSize(15.f));
    auto calibrate = [&editor](IControl* caller) { CalibrateAction(editor, caller); };
    graphics.AttachControl(std::make_unique<IVButtonControl>(
                               LeftItem(88, kCalibrationWidth).GetMidVPadded(20.f), calibrate,
                               "Calibration Low End: 0%", calibrationStyle, true, true),
                           pp.calibrateLowTag, pp.group);
    graphics.AttachControl(std::make_unique<IVButtonControl>(
                               RightItem(89, kCalibrationWidth).GetMidVPadded(20.f), calibrate,
                               "Calibration High End: 100%", calibrationStyle, true, true),
                           pp.calibrateHighTag, pp.group);
}
} // namespace

void AttachPages(IGraphics& graphics, const EditorStyles& styles, EditorCommands& editor)
{
    IVTabSwitchControl* tabs = graphics.AttachControl(
        std::make_unique<IVTabSwitchControl>(
            LayoutRow(20).GetFromTop(40.f).SubRectHorizontal(3, 1), PageSwitchAction,
            std::vector<std::string>{"GLOBAL", "JACK 1", "JACK 2"}, "", styles.buttonStyle,
            EVShape::kRectangle, EDirection::kHorizontal),
        kCtrlTagPageTabs, kGroupMain);
    // Black on the light grey of the selected tab (white there would read as disabled).
    tabs->SetSelectedTextColor(kColorBlack);

    AttachGlobalPage(graphics, styles, editor);

    // clang-format off
    AttachSwitchPage(graphics, styles,
                     {kGroupSwitch1, "MIDI Channel SWITCH A ",
                      kSwitchA1Channel, kSwitchA1Operation, kSwitchA1Function, kSwitchA1Controller,
                      kCtrlTagSwitchA1Controller,
                      kSwitchB1Channel, kSwitchB1Operation, kSwitchB1Function, kSwitchB1Controller,
                      kCtrlTagSwitchB1Controller,
                      kSwitch1SpecialLower, kCtrlTagSwitch1SpecialLower,
                      kSwitch1SpecialUpper, kCtrlTagSwitch1SpecialUpper});
    AttachSwitchPage(graphics, styles,
                     {kGroupSwitch2, "MIDI Channel SWITCH A",
                      kSwitchA2Channel, kSwitchA2Operation, kSwitchA2Function, kSwitchA2Controller,
                      kCtrlTagSwitchA2Controller,
                      kSwitchB2Channel, kSwitchB2Operation, kSwitchB2Function, kSwitchB2Controller,
                      kCtrlTagSwitchB2Controller,
                      kSwitch2SpecialLower, kCtrlTagSwitch2SpecialLower,
                      kSwitch2SpecialUpper, kCtrlTagSwitch2SpecialUpper});
    AttachPedalPage(graphics, styles, editor,
                    {kGroupPedal1, kPedal1Channel, kPedal1Mode, kPedal1Controller,
                     kPedal1OutMinimum, kPedal1OutMaximum,
                     kCtrlTagPedal1CalibrateLow, kCtrlTagPedal1CalibrateHigh});
    AttachPedalPage(graphics, styles, editor,
                    {kGroupPedal2, kPedal2Channel, kPedal2Mode, kPedal2Controller,
                     kPedal2OutMinimum, kPedal2OutMaximum,
                     kCtrlTagPedal2CalibrateLow, kCtrlTagPedal2CalibrateHigh});
    // clang-format on
}
