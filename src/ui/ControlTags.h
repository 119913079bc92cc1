#pragma once

#include "device/ParamTable.h"

// Tags of the editor screen's controls and the names of its control groups. The layout gives
// these tags and groups to the controls it attaches; every other part of the editor finds a
// control only through its tag, and shows, hides, enables or disables a set of controls only
// through its group name. Tags 20 and 33 are not used; a control without a tag has the
// toolkit's kNoTag.

enum EControlTags : int
{
    kCtrlTagMidiLight = 0,
    kCtrlTagPageTabs = 1,
    kCtrlTagJack1Mode = 2,
    kCtrlTagJack2Mode = 3,

    kCtrlTagSwitchA1Controller = 4,
    kCtrlTagSwitchB1Controller = 5,
    kCtrlTagSwitchA2Controller = 6,
    kCtrlTagSwitchB2Controller = 7,
    kCtrlTagSwitch1SpecialLower = 8,
    kCtrlTagSwitch1SpecialUpper = 9,
    kCtrlTagSwitch2SpecialLower = 10,
    kCtrlTagSwitch2SpecialUpper = 11,

    kCtrlTagPedal1CalibrateLow = 12,
    kCtrlTagPedal1CalibrateHigh = 13,
    kCtrlTagPedal2CalibrateLow = 14,
    kCtrlTagPedal2CalibrateHigh = 15,

    // Jack 1 LCD.
    kCtrlTagJack1PedalHeader = 16,
    kCtrlTagJack1PedalLine1 = 17,
    kCtrlTagJack1PedalLine2 = 18,
    kCtrlTagJack1PedalValue = 19,
    kCtrlTagJack1SwitchAHeader = 21,
    kCtrlTagJack1SwitchALine1 = 22,
    kCtrlTagJack1SwitchALine2 = 23,
    kCtrlTagJack1SwitchAValue = 24,
    kCtrlTagJack1SwitchBHeader = 25,
    kCtrlTagJack1SwitchBLine1 = 26,
    kCtrlTagJack1SwitchBLine2 = 27,
    kCtrlTagJack1SwitchBValue = 28,

    // Jack 2 LCD.
    kCtrlTagJack2PedalHeader = 29,
    kCtrlTagJack2PedalLine1 = 30,
    kCtrlTagJack2PedalLine2 = 31,
    kCtrlTagJack2PedalValue = 32,
    kCtrlTagJack2SwitchAHeader = 34,
    kCtrlTagJack2SwitchALine1 = 35,
    kCtrlTagJack2SwitchALine2 = 36,
    kCtrlTagJack2SwitchAValue = 37,
    kCtrlTagJack2SwitchBHeader = 38,
    kCtrlTagJack2SwitchBLine1 = 39,
    kCtrlTagJack2SwitchBLine2 = 40,
    kCtrlTagJack2SwitchBValue = 41,

    kCtrlTagJack1Polarity = 42,
    kCtrlTagJack2Polarity = 43,

    kCtrlTagPresetName = 44,
    kCtrlTagFirmwareProgress = 45,
    kCtrlTagDeviceText1 = 46,
    kCtrlTagDeviceText2 = 47,
    kCtrlTagDeviceText3 = 48,
    kCtrlTagStandaloneNotice = 49,
    kCtrlTagFirmwareWindow = 50,
    // The mark beside the preset name, shown while the settings differ from the preset.
    kCtrlTagPresetModified = 51,
    kCtrlTagDemoBadge = 52, // only in demo mode

    kNumCtrlTags = 53
};

// Control group names. Names compare as exact strings: "pedal1controls" (the JACK 1 page for a
// pedal) and "jack1pedalcontrols" (the jack 1 LCD lines for a pedal) are different groups.
inline constexpr const char* kGroupBackground = "background";
inline constexpr const char* kGroupMain = "maincontrols";
inline constexpr const char* kGroupGlobal = "globalcontrols";
inline constexpr const char* kGroupSwitch1 = "switch1controls";
inline constexpr const char* kGroupSwitch2 = "switch2controls";
inline constexpr const char* kGroupPedal1 = "pedal1controls";
inline constexpr const char* kGroupPedal2 = "pedal2controls";
inline constexpr const char* kGroupJack1Pedal = "jack1pedalcontrols";
inline constexpr const char* kGroupJack1Switch = "jack1switchcontrols";
inline constexpr const char* kGroupJack2Pedal = "jack2pedalcontrols";
inline constexpr const char* kGroupJack2Switch = "jack2switchcontrols";
inline constexpr const char* kGroupFirmware = "firmwarecontrols";
inline constexpr const char* kGroupDevice = "devicecontrols";
inline constexpr const char* kGroupFirmwareBackground = "fwbgcontrols";
inline constexpr const char* kGroupFirmwareUpdate = "fwupdatecontrols";
inline constexpr const char* kGroupAbout = "aboutcontrols";

// The tag of the button that shows calibration setting `paramIdx` (its setting index), or -1.
constexpr int CalibrationButtonTagOf(int paramIdx)
{
    switch (paramIdx)
    {
    case kPedal1CalibrationLow:
        return kCtrlTagPedal1CalibrateLow;
    case kPedal1CalibrationHigh:
        return kCtrlTagPedal1CalibrateHigh;
    case kPedal2CalibrationLow:
        return kCtrlTagPedal2CalibrateLow;
    case kPedal2CalibrationHigh:
        return kCtrlTagPedal2CalibrateHigh;
    default:
        return -1;
    }
}
