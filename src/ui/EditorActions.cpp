#include "ui/EditorActions.h"

#include "device/FirmwareImage.h"
#include "device/PresetFile.h"
#include "toolkit/IActionFunctions.h"
#include "toolkit/IGraphics.h"
#include "ui/ControlTags.h"
#include "ui/EditorCommands.h"
#include "ui/PageOverlays.h"

#include <cmath>
#include <string>

namespace
{
enum EPage : int
{
    kPageGlobal = 0,
    kPageJack1 = 1,
    kPageJack2 = 2,
};

// The jack's mode caption says it holds two switches.
bool JackHoldsSwitches(const IGraphics& graphics, int modeTag)
{
    const IControl* mode = graphics.GetControlWithTag(modeTag);
    return mode && mode->GetValue() > 0.0;
}

void ShowJackPage(IGraphics& graphics, int modeTag, const char* switchGroup, const char* pedalGroup)
{
    const bool switches = JackHoldsSwitches(graphics, modeTag);
    graphics.HideGroup(switchGroup, !switches);
    graphics.HideGroup(pedalGroup, switches);
}
} // namespace

void PageSwitchAction(IControl* tabSwitch)
{
    if (!tabSwitch)
        return;
    SplashClickActionFunc(tabSwitch);
    ShowPage(*tabSwitch, static_cast<int>(std::trunc(2.0 * tabSwitch->GetValue())));
}

void ShowPage(IControl& tabSwitch, int page)
{
    IGraphics* graphics = tabSwitch.GetUI();
    if (!graphics)
        return;
    switch (page)
    {
    case kPageGlobal:
        graphics->HideGroup(kGroupGlobal, false);
        graphics->HideGroup(kGroupSwitch1, true);
        graphics->HideGroup(kGroupSwitch2, true);
        graphics->HideGroup(kGroupPedal1, true);
        graphics->HideGroup(kGroupPedal2, true);
        return;
    case kPageJack1:
        graphics->HideGroup(kGroupGlobal, true);
        graphics->HideGroup(kGroupSwitch2, true);
        graphics->HideGroup(kGroupPedal2, true);
        ShowJackPage(*graphics, kCtrlTagJack1Mode, kGroupSwitch1, kGroupPedal1);
        return;
    case kPageJack2:
        graphics->HideGroup(kGroupGlobal, true);
        graphics->HideGroup(kGroupSwitch1, true);
        graphics->HideGroup(kGroupPedal1, true);
        ShowJackPage(*graphics, kCtrlTagJack2Mode, kGroupSwitch2, kGroupPedal2);
        return;
    default:
        return;
    }
}

void AuditionAction(EditorCommands& editor, IControl* toggle)
{
    if (!toggle)
        return;
    SplashClickActionFunc(toggle);
    editor.SetAudition(toggle->GetValue() > 0.0);
}

void ResetAllAction(EditorCommands& editor, IControl* button)
{
    if (!button)
        return;
    SplashClickActionFunc(button);
    IGraphics* ui = button->GetUI();
    if (!ui)
        return;
    // The editor outlives the screen, which never runs a completion once it is gone.
    ui->ShowMessageBox(kResetAllQuestion, "", EMsgBoxType::kYesNo,
                       [&editor](EMsgBoxResult result)
                       {
                           if (result == EMsgBoxResult::kYes)
                               editor.OnResetAll();
                       });
}

void CalibrateAction(EditorCommands& editor, IControl* button)
{
    if (!button)
        return;
    SplashClickActionFunc(button);
    if (const std::optional<int> address = CalibrationAddressForTag(button->GetTag()))
        editor.OnCalibrate(*address);
}

std::optional<int> CalibrationAddressForTag(int tag)
{
    switch (tag)
    {
    case kCtrlTagPedal1CalibrateLow:
        return kPedal1CalibrationLow;
    case kCtrlTagPedal1CalibrateHigh:
        return kPedal1CalibrationHigh;
    case kCtrlTagPedal2CalibrateLow:
        return kPedal2CalibrationLow;
    case kCtrlTagPedal2CalibrateHigh:
        return kPedal2CalibrationHigh;
    default:
        return std::nullopt;
    }
}

void LoadPresetAction(EditorCommands& editor, IControl* button)
{
    if (!button || !button->GetUI())
        return;
    button->GetUI()->PromptForFile(EFileAction::kOpen, kPresetFileExtension,
                                   [&editor](std::string path) { editor.LoadPreset(path); });
}

void SavePresetAction(EditorCommands& editor, IControl* button)
{
    if (!button || !button->GetUI())
        return;
    button->GetUI()->PromptForFile(EFileAction::kSave, kPresetFileExtension,
                                   [&editor](std::string path) { editor.SavePreset(path); });
}

void FirmwareFileAction(EditorCommands& editor, IControl* button)
{
    if (!button || !button->GetUI())
        return;
    button->GetUI()->PromptForFile(EFileAction::kOpen, kFirmwareFileExtension,
                                   [&editor](std::string path) { editor.LoadFirmware(path); });
}

void CloseFirmwareWindowAction(IControl* button)
{
    if (!button || !button->GetUI())
        return;
    CloseFirmwareWindow(*button->GetUI());
}

void CloseAboutAction(IControl* button)
{
    if (!button || !button->GetUI())
        return;
    HideAboutPage(*button->GetUI());
}
