#include "ui/OverlayLayout.h"

#include "toolkit/IActionFunctions.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/IGraphics.h"
#include "toolkit/IPanelControl.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVButtonControl.h"
#include "ui/ControlTags.h"
#include "ui/EditorActions.h"
#include "ui/EditorStyles.h"
#include "ui/LayoutImages.h"

#include <cstdio>
#include <memory>

namespace
{
// The firmware progress is lit in the LCD's backlight green on the dark olive backdrop; black
// would barely show on it.
constexpr IColor kProgressInk{255, 196, 214, 150};
// The standalone notice's one line must fit its 610-pixel-wide panel.
constexpr float kNoticeTextSize = 24.f;

// The flat look of the overlay buttons: no emboss, no shadow, barely rounded corners.
IVStyle FlatStyle(const EditorStyles& styles)
{
    return styles.baseStyle.WithEmboss(false).WithShadowOffset(0.f).WithRoundness(0.05f);
}

IVStyle FirmwareButtonStyle(const EditorStyles& styles, float labelSize)
{
    return WithBodyColors(styles.buttonStyle, IColor(255, 148, 17, 0), IColor(255, 255, 38, 0),
                          kColorBlack)
        .WithLabelText(styles.labelText.WithSize(labelSize).WithVAlign(EVAlign::kMiddle));
}
} // namespace

void AttachFirmwareProgress(IGraphics& graphics, const EditorStyles& styles)
{
    graphics.AttachControl(
        std::make_unique<IPanelControl>(IRECT(360.f, 60.f, 665.f, 280.f), kLCDInk), kNoTag,
        kGroupFirmware);
    graphics.AttachControl(
        std::make_unique<ITextControl>(IRECT(360.f, 130.f, 665.f, 230.f), "FIRMWARE UPDATE",
                                       styles.lcdTitleText.WithSize(24.f).WithColor(kProgressInk)),
        kNoTag, kGroupFirmware);
    graphics.AttachControl(
        std::make_unique<ITextControl>(IRECT(360.f, 160.f, 665.f, 260.f), "0 %",
                                       styles.lcdTitleText.WithSize(70.f).WithColor(kProgressInk)),
        kCtrlTagFirmwareProgress, kGroupFirmware);
}

void AttachStandaloneNotice(IGraphics& graphics, const EditorStyles& styles)
{
    const IColor dim(220, 20, 20, 20);
    const IVStyle style =
        WithBodyColors(FlatStyle(styles), dim, dim, IColor(255, 70, 70, 70))
            .WithColor(EVColor::kBG, kColorTransparent)
            .WithLabelText(styles.labelText.WithSize(kNoticeTextSize).WithVAlign(EVAlign::kMiddle));
    graphics.AttachControl(std::make_unique<IVButtonControl>(
                               IRECT(208.f, 306.f, 818.f, 750.f), SplashClickActionFunc,
                               "Editing is not possible in Standalone Mode.", style, true, true),
                           kCtrlTagStandaloneNotice, kGroupMain);
}

IControl* AttachFirmwareWindow(IGraphics& graphics, const EditorStyles& styles,
                               EditorCommands& editor)
{
    graphics.AttachControl(std::make_unique<IBitmapControl>(
                               203.f, 301.f, LoadLayoutImage(graphics, kFirmwareWindowImage)),
                           kCtrlTagFirmwareWindow, kGroupFirmwareBackground);
    IVButtonControl* update = graphics.AttachControl(
        std::make_unique<IVButtonControl>(IRECT(427.f, 648.f, 597.f, 689.f), SplashClickActionFunc,
                                          "FIRMWARE UPDATE", FirmwareButtonStyle(styles, 14.f),
                                          true, true),
        kNoTag, kGroupFirmwareUpdate);
    update->SetAnimationEndActionFunction([&editor](IControl* caller)
                                          { FirmwareFileAction(editor, caller); });
    IVButtonControl* close = graphics.AttachControl(
        std::make_unique<IVButtonControl>(IRECT(774.f, 313.f, 810.f, 347.f), SplashClickActionFunc,
                                          "X", FirmwareButtonStyle(styles, 20.f), true, true),
        kNoTag, kGroupFirmwareUpdate);
    close->SetAnimationEndActionFunction(CloseFirmwareWindowAction);
    return close;
}

IControl* AttachAboutPage(IGraphics& graphics, const EditorStyles& styles)
{
    graphics.AttachControl(
        std::make_unique<IBitmapControl>(0.f, 0.f, LoadLayoutImage(graphics, kAboutImage)), kNoTag,
        kGroupAbout);

    char version[16] = {};
    std::snprintf(version, sizeof(version), "v%.1f", kEditorVersion);
    graphics.AttachControl(std::make_unique<ITextControl>(
                               IRECT(432.f, 316.f, 472.f, 332.f), version,
                               styles.titleText.WithSize(16.f).WithVAlign(EVAlign::kMiddle)),
                           kNoTag, kGroupAbout);

    IVStyle closerStyle = FlatStyle(styles);
    for (EVColor color : {EVColor::kBG, EVColor::kFG, EVColor::kPR, EVColor::kFR, EVColor::kHL})
        closerStyle = closerStyle.WithColor(color, kColorTransparent);
    IVButtonControl* closer = graphics.AttachControl(
        std::make_unique<IVButtonControl>(graphics.GetBounds(), SplashClickActionFunc, "",
                                          closerStyle, true, true),
        kNoTag, kGroupAbout);
    closer->SetAnimationEndActionFunction(CloseAboutAction);
    return closer;
}
