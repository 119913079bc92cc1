#include "ui/EditorLayout.h"

#include "toolkit/IBitmapControl.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVButtonControl.h"
#include "toolkit/IVPanelControl.h"
#include "toolkit/IVTabSwitchControl.h"
#include "toolkit/IVToggleControl.h"
#include "ui/ControlHelp.h"
#include "ui/ControlTags.h"
#include "ui/EditorActions.h"
#include "ui/EditorCommands.h"
#include "ui/EditorKeys.h"
#include "ui/EditorStyles.h"
#include "ui/ILEDControl.h"
#include "ui/JackDisplayLayout.h"
#include "ui/LayoutGrid.h"
#include "ui/LayoutImages.h"
#include "ui/OverlayLayout.h"
#include "ui/PageLayout.h"

#include <memory>
#include <string>

namespace
{
constexpr float kCornerResizerSize = 20.f;
constexpr IColor kCornerResizerColor{10, 0, 0, 0};
constexpr float kLightWidth = 20.f;
constexpr float kLightHeight = 32.f;
constexpr float kLightHue = 0.5f;
constexpr IColor kLetterboxColor{255, 22, 24, 27};
constexpr const char* kPresetModifiedMark = "\u2022"; // a bullet

void LoadFonts(IGraphics& graphics)
{
    // A font that does not load leaves its texts to the renderer's fallback face.
    graphics.LoadFont(kFontRoboto, "Roboto-Regular.ttf");
    graphics.LoadFont(kFontForkAwesome, "forkawesome-webfont.ttf");
    graphics.LoadFont(kFontFontaudio, "fontaudio.ttf");
    graphics.LoadFont(kFontLCD, "ni7seg.ttf");
}

void AttachActivityLight(IGraphics& graphics)
{
    const IRECT cell = LayoutCell(1);
    const IRECT bounds(cell.R - kLightWidth, cell.T, cell.R, cell.T + kLightHeight);
    graphics.AttachControl(std::make_unique<ILEDControl>(bounds, kLightHue), kCtrlTagMidiLight);
}

// LOAD, SAVE, AUDITION, the preset name in its frame and the "MIDI IN" caption of the light.
// LOAD and SAVE splash, then prompt for a preset file when the splash ends. LOAD and SAVE go into
// `keys`.
void AttachHeaderBar(IGraphics& graphics, const EditorStyles& styles, EditorCommands& editor,
                     EditorKeyTargets& keys)
{
    IVButtonControl* load =
        graphics.AttachControl(std::make_unique<IVButtonControl>(
                                   IRECT(220.f, 5.f, 290.f, 42.f), SplashClickActionFunc, "LOAD",
                                   WithBodyColors(styles.buttonStyle, IColor(255, 0, 81, 0),
                                                  IColor(255, 0, 142, 0), kColorBlack),
                                   true, true),
                               kNoTag, kGroupMain);
    load->SetAnimationEndActionFunction([&editor](IControl* caller)
                                        { LoadPresetAction(editor, caller); });
    IVButtonControl* save =
        graphics.AttachControl(std::make_unique<IVButtonControl>(
                                   IRECT(295.f, 5.f, 365.f, 42.f), SplashClickActionFunc, "SAVE",
                                   WithBodyColors(styles.buttonStyle, IColor(255, 148, 17, 0),
                                                  IColor(255, 255, 38, 0), kColorBlack),
                                   true, true),
                               kNoTag, kGroupMain);
    save->SetAnimationEndActionFunction([&editor](IControl* caller)
                                        { SavePresetAction(editor, caller); });
    keys.load = load;
    keys.save = save;

    const IVStyle auditionStyle =
        WithBodyColors(styles.buttonStyle, IColor(255, 0, 83, 146), IColor(255, 0, 90, 255),
                       kColorBlack)
            .WithValueText(styles.labelText.WithSize(20.f).WithVAlign(EVAlign::kMiddle));
    graphics.AttachControl(std::make_unique<IVToggleControl>(
                               IRECT(660.f, 5.f, 780.f, 42.f),
                               [&editor](IControl* caller) { AuditionAction(editor, caller); }, "",
                               auditionStyle, "AUDITION", "AUDITION"),
                           kNoTag, kGroupMain);

    const IRECT nameBounds(377.f, 8.f, 652.f, 36.f);
    const IVStyle frameStyle = styles.baseStyle.WithEmboss(false)
                                   .WithShadowOffset(0.f)
                                   .WithRoundness(0.5f)
                                   .WithColor(EVColor::kBG, kColorTransparent)
                                   .WithColor(EVColor::kFG, kColorTransparent)
                                   .WithColor(EVColor::kFR, IColor(255, 70, 70, 70));
    graphics.AttachControl(std::make_unique<IVPanelControl>(nameBounds, "", frameStyle));
    // Clear of the frame's rounded ends and of the mark, centred in the frame.
    const IRECT nameTextBounds(399.f, 8.f, 630.f, 36.f);
    graphics.AttachControl(
        std::make_unique<ITextControl>(
            nameTextBounds, "Untitled",
            styles.labelText.WithSize(20.f).WithVAlign(EVAlign::kMiddle).WithElision(),
            kColorTransparent),
        kCtrlTagPresetName, kGroupMain);
    // Inside the name's frame at its right end, shown while the settings differ from the preset
    // last loaded or saved.
    graphics.AttachControl(std::make_unique<ITextControl>(
                               IRECT(630.f, 8.f, 648.f, 36.f), kPresetModifiedMark,
                               styles.labelText.WithSize(20.f).WithVAlign(EVAlign::kMiddle)),
                           kCtrlTagPresetModified);
    graphics.HideControl(kCtrlTagPresetModified, true);
    // Set flush right, next to the light.
    graphics.AttachControl(std::make_unique<ITextControl>(
        IRECT(930.f, 6.f, 1000.f, 34.f), "MIDI IN",
        styles.titleText.WithSize(14.f).WithVAlign(EVAlign::kMiddle).WithAlign(EAlign::kFar)));
}

// Line 1 starts with the device text the output port's announcement left; line 3 lies between
// lines 1 and 2 on screen. The lines stand 16 pixels apart, so their 14-pixel type never touches.
void AttachDeviceStatus(IGraphics& graphics, const EditorStyles& styles,
                        const std::string& deviceText)
{
    const IText text = styles.titleText.WithSize(14.f).WithVAlign(EVAlign::kMiddle);
    graphics.AttachControl(
        std::make_unique<ITextControl>(IRECT(10.f, 50.f, 410.f, 64.f), deviceText, text),
        kCtrlTagDeviceText1, kGroupDevice);
    graphics.AttachControl(std::make_unique<ITextControl>(IRECT(10.f, 82.f, 410.f, 96.f), "", text),
                           kCtrlTagDeviceText2, kGroupDevice);
    graphics.AttachControl(std::make_unique<ITextControl>(IRECT(10.f, 66.f, 410.f, 80.f), "", text),
                           kCtrlTagDeviceText3, kGroupDevice);
}
} // namespace

void BuildEditorLayout(EditorCommands& editor, IGraphics& graphics)
{
    if (graphics.NControls() > 0)
        return;
    graphics.EnableMouseOver(true);
    graphics.AttachCornerResizer(kCornerResizerSize, kCornerResizerColor, kColorBlack);
    graphics.AttachPanelBackground(kPanelGrey);
    // Around the design in a window of another aspect: the artwork's dark edge, not the panel.
    graphics.SetBackgroundColor(kLetterboxColor);

    const IBitmap background = LoadLayoutImage(graphics, kBackgroundImage);
    graphics.AttachControl(
        std::make_unique<IBitmapControl>(
            (kLayoutWidth - static_cast<float>(background.FrameWidth())) / 2.f, 0.f, background),
        kNoTag, kGroupBackground);
    // The pop-up menu, the text entry and the value bubble are the PlatformUi's; nothing to attach.
    LoadFonts(graphics);
    const EditorStyles styles = MakeEditorStyles();

    AttachActivityLight(graphics);
    AttachJackDisplays(graphics, styles);
    graphics.HideGroup(kGroupJack1Switch, true);
    graphics.HideGroup(kGroupJack2Switch, true);

    AttachPages(graphics, styles, editor);
    graphics.HideGroup(kGroupGlobal, false);
    graphics.HideGroup(kGroupSwitch1, true);
    graphics.HideGroup(kGroupSwitch2, true);
    graphics.HideGroup(kGroupPedal1, true);
    graphics.HideGroup(kGroupPedal2, true);

    EditorKeyTargets keys;
    keys.pageTabs = dynamic_cast<IVTabSwitchControl*>(graphics.GetControlWithTag(kCtrlTagPageTabs));
    AttachHeaderBar(graphics, styles, editor, keys);
    AttachFirmwareProgress(graphics, styles);
    graphics.HideGroup(kGroupFirmware, true);
    AttachDeviceStatus(graphics, styles, editor.GetDeviceText());
    AttachStandaloneNotice(graphics, styles);
    graphics.HideControl(kCtrlTagStandaloneNotice, true);
    keys.firmwareClose = AttachFirmwareWindow(graphics, styles, editor);
    graphics.HideGroup(kGroupFirmwareBackground, true);
    graphics.HideGroup(kGroupFirmwareUpdate, true);
    keys.aboutCloser = AttachAboutPage(graphics, styles);
    graphics.HideGroup(kGroupAbout, true);

    DescribeEditorControls(graphics);
    graphics.GetKeyboardFocus().SetUnhandledKeyFunc([keys](const IKeyPress& key)
                                                    { return OnEditorKey(keys, key); });

    editor.OnLayoutComplete();
}
