#include "ui/JackConfiguration.h"

#include "core/IEditorDelegate.h"
#include "device/ParamTable.h"
#include "toolkit/IGraphics.h"
#include "ui/ControlTags.h"

#include <array>

namespace
{
// The settings one switch's function governs.
struct SwitchRule
{
    int functionParam;
    int channelParam;
    int controllerParam;
    int otherFunctionParam; // the other switch of the same jack
    int lowerParam;         // the jack's special-control bounds
    int upperParam;
};

constexpr std::array<SwitchRule, 4> kSwitchRules{{
    {kSwitchA2Function, kSwitchA2Channel, kSwitchA2Controller, kSwitchB2Function,
     kSwitch2SpecialLower, kSwitch2SpecialUpper},
    {kSwitchB2Function, kSwitchB2Channel, kSwitchB2Controller, kSwitchA2Function,
     kSwitch2SpecialLower, kSwitch2SpecialUpper},
    {kSwitchA1Function, kSwitchA1Channel, kSwitchA1Controller, kSwitchB1Function,
     kSwitch1SpecialLower, kSwitch1SpecialUpper},
    {kSwitchB1Function, kSwitchB1Channel, kSwitchB1Controller, kSwitchA1Function,
     kSwitch1SpecialLower, kSwitch1SpecialUpper},
}};

int ValueOf(const IEditorDelegate& editor, int paramIdx)
{
    return editor.GetParam(paramIdx)->Int();
}

void ApplyJackMode(IGraphics& graphics, int mode, const char* pedalGroup, const char* switchGroup,
                   int polarityParam)
{
    const bool pedal = mode < kJackModeSwitches;
    if (pedal)
    {
        graphics.HideGroup(switchGroup, true);
        graphics.HideGroup(pedalGroup, false);
    }
    else
    {
        graphics.HideGroup(switchGroup, false);
        graphics.HideGroup(pedalGroup, true);
    }
    SetParamControlsDisabled(graphics, polarityParam, !pedal);
}

void ApplySwitchFunction(IGraphics& graphics, const IEditorDelegate& editor, const SwitchRule& rule)
{
    const int function = ValueOf(editor, rule.functionParam);
    SetParamControlsDisabled(graphics, rule.channelParam, false);
    SetParamControlsDisabled(graphics, rule.controllerParam, false);
    if (function == kSwitchFunctionSpecialControl)
    {
        SetParamControlsDisabled(graphics, rule.lowerParam, false);
        SetParamControlsDisabled(graphics, rule.upperParam, false);
        return;
    }
    // The bounds stay operable while the other switch of the jack still uses them.
    if (ValueOf(editor, rule.otherFunctionParam) != kSwitchFunctionSpecialControl)
    {
        SetParamControlsDisabled(graphics, rule.lowerParam, true);
        SetParamControlsDisabled(graphics, rule.upperParam, true);
    }
    if (function == kSwitchFunctionStart || function == kSwitchFunctionStop)
    {
        SetParamControlsDisabled(graphics, rule.channelParam, true);
        SetParamControlsDisabled(graphics, rule.controllerParam, true);
    }
}
} // namespace

void ApplyJackConfiguration(IGraphics& graphics, const IEditorDelegate& editor, int paramIdx)
{
    if (paramIdx < 0 || paramIdx >= kNumParams || paramIdx >= editor.NParams())
        return;
    switch (paramIdx)
    {
    case kJack2Mode:
        ApplyJackMode(graphics, ValueOf(editor, kJack2Mode), kGroupJack2Pedal, kGroupJack2Switch,
                      kJack2Polarity);
        return;
    case kJack1Mode:
        ApplyJackMode(graphics, ValueOf(editor, kJack1Mode), kGroupJack1Pedal, kGroupJack1Switch,
                      kJack1Polarity);
        return;
    case kPedal2Mode:
        SetParamControlsDisabled(graphics, kPedal2Controller,
                                 ValueOf(editor, kPedal2Mode) >= kPedalModeAftertouch);
        return;
    case kPedal1Mode:
        SetParamControlsDisabled(graphics, kPedal1Controller,
                                 ValueOf(editor, kPedal1Mode) >= kPedalModeAftertouch);
        return;
    default:
        break;
    }
    for (const SwitchRule& rule : kSwitchRules)
    {
        if (rule.functionParam == paramIdx)
            ApplySwitchFunction(graphics, editor, rule);
    }
}

void ApplyJackConfiguration(IGraphics& graphics, const IEditorDelegate& editor)
{
    for (int paramIdx = 0; paramIdx < kNumParams; ++paramIdx)
        ApplyJackConfiguration(graphics, editor, paramIdx);
}

void SetParamControlsDisabled(IGraphics& graphics, int paramIdx, bool disabled)
{
    graphics.ForAllControls(
        [paramIdx, disabled](IControl& control)
        {
            if (control.LinkedToParam(paramIdx) != kNoValIdx)
                control.SetDisabled(disabled);
        });
}
