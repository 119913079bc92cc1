#include "ui/ControlHelp.h"

#include "device/ParamTable.h"
#include "toolkit/IBitmapControl.h"
#include "toolkit/ICornerResizerControl.h"
#include "toolkit/IGraphics.h"
#include "toolkit/IVToggleControl.h"
#include "toolkit/IVectorBase.h"
#include "ui/ControlTags.h"

#include <string>
#include <string_view>

namespace
{
struct Help
{
    std::string name;
    std::string tooltip;
    std::string disabledReason;
};

const char* const kFirmwareWindowReason =
    "Greyed out while the firmware window is open: close it with X (Escape).";
const char* const kTransferReason = "Greyed out while the firmware is being sent.";

// Settings of one jack, by their distance from the jack's pedal channel (jack 1 mirrors jack 2).
Help JackSettingHelp(int offset, const std::string& jack)
{
    const std::string pedal = "pedal " + jack;
    const bool switchB = offset >= 11 && offset <= 14;
    const std::string letter = switchB ? "B" : "A";
    const std::string sw = "switch " + letter + " of jack " + jack;
    const std::string startStop = "Greyed out: Start and Stop need no ";
    const std::string special = "Greyed out: used only while a switch of jack " + jack +
                                " has the Function Special Control.";
    switch (offset)
    {
    case 0:
        return {"MIDI Channel", "The MIDI channel " + pedal + " sends on.", ""};
    case 1:
        return {"Mode",
                "What " + pedal + " sends: a controller (Control), aftertouch or pitch bend.", ""};
    case 2:
        return {"Controller", "The controller number " + pedal + " sends (11: expression).",
                "Greyed out: Aftertouch and Bend send no controller number."};
    case 3:
        return {"Minimum", "The lowest value " + pedal + " sends.", ""};
    case 4:
        return {"Maximum", "The highest value " + pedal + " sends.", ""};
    case 7:
    case 11:
        return {"MIDI Channel SWITCH " + letter, "The MIDI channel " + sw + " sends on.",
                startStop + "channel."};
    case 8:
    case 12:
        return {"SWITCH " + letter + " Operation",
                "Momentary: on while you hold " + sw +
                    ". Latching: on at one press, off at the next.",
                ""};
    case 9:
    case 13:
        return {"SWITCH " + letter + " Function", "What " + sw + " sends when you press it.", ""};
    case 10:
    case 14:
        return {"SWITCH " + letter + " Controller",
                "The controller, note or program number " + sw + " sends.", startStop + "number."};
    case 15:
        return {"Special Ctrl Lower",
                "The lower value the switches of jack " + jack + " send for Special Control.",
                special};
    case 16:
        return {"Special Ctrl Upper",
                "The upper value the switches of jack " + jack + " send for Special Control.",
                special};
    default:
        return {};
    }
}

Help SettingHelp(int paramIdx)
{
    switch (paramIdx)
    {
    case kJack1Mode:
    case kJack2Mode:
    {
        const std::string jack = paramIdx == kJack1Mode ? "1" : "2";
        return {"JACK " + jack + " Mode",
                "What is plugged into jack " + jack + ": an expression pedal or two foot switches.",
                ""};
    }
    case kJack1Polarity:
    case kJack2Polarity:
    {
        const std::string jack = paramIdx == kJack1Polarity ? "1" : "2";
        return {"JACK " + jack + " Polarity",
                "Which contact of the pedal's plug carries its wiper: Tip or Ring (the LCD shows "
                "the plug).",
                "Greyed out: jack " + jack + " holds switches, and polarity is for a pedal."};
    }
    default:
        break;
    }
    if (paramIdx >= kPedal1Channel && paramIdx <= kSwitch1SpecialUpper)
        return JackSettingHelp(paramIdx - kPedal1Channel, "1");
    if (paramIdx >= kPedal2Channel && paramIdx <= kSwitch2SpecialUpper)
        return JackSettingHelp(paramIdx - kPedal2Channel, "2");
    return {};
}

// The displays and buttons the screen finds by tag.
Help TaggedHelp(int tag)
{
    switch (tag)
    {
    case kCtrlTagMidiLight:
        return {"MIDI IN", "Lights up when MIDI arrives from the box.", ""};
    case kCtrlTagPageTabs:
        return {"Pages", "Choose the page: GLOBAL, JACK 1 or JACK 2 (Ctrl+1, Ctrl+2, Ctrl+3).",
                kFirmwareWindowReason};
    case kCtrlTagPedal1CalibrateLow:
    case kCtrlTagPedal2CalibrateLow:
        return {"", "Put the pedal heel down, then click to store its low end.", ""};
    case kCtrlTagPedal1CalibrateHigh:
    case kCtrlTagPedal2CalibrateHigh:
        return {"", "Put the pedal toe down, then click to store its high end.", ""};
    case kCtrlTagJack1PedalLine1:
    case kCtrlTagJack1PedalLine2:
        return {"", "What pedal 1 is set to send.", ""};
    case kCtrlTagJack2PedalLine1:
    case kCtrlTagJack2PedalLine2:
        return {"", "What pedal 2 is set to send.", ""};
    case kCtrlTagJack1PedalValue:
        return {"", "The value pedal 1 sends now.", ""};
    case kCtrlTagJack2PedalValue:
        return {"", "The value pedal 2 sends now.", ""};
    case kCtrlTagJack1SwitchALine1:
    case kCtrlTagJack1SwitchALine2:
        return {"", "What switch A of jack 1 is set to send.", ""};
    case kCtrlTagJack1SwitchBLine1:
    case kCtrlTagJack1SwitchBLine2:
        return {"", "What switch B of jack 1 is set to send.", ""};
    case kCtrlTagJack2SwitchALine1:
    case kCtrlTagJack2SwitchALine2:
        return {"", "What switch A of jack 2 is set to send.", ""};
    case kCtrlTagJack2SwitchBLine1:
    case kCtrlTagJack2SwitchBLine2:
        return {"", "What switch B of jack 2 is set to send.", ""};
    case kCtrlTagJack1SwitchAValue:
    case kCtrlTagJack1SwitchBValue:
    case kCtrlTagJack2SwitchAValue:
    case kCtrlTagJack2SwitchBValue:
        return {"", "The value the switch sent last.", ""};
    case kCtrlTagPresetName:
        return {"Preset", "The preset file last loaded or saved.", kFirmwareWindowReason};
    case kCtrlTagFirmwareProgress:
        return {"Firmware sent", "How much of the firmware the box has received.", ""};
    case kCtrlTagDeviceText1:
        return {"", "The box the editor talks to.", ""};
    case kCtrlTagDeviceText2:
        return {"", "The box's firmware version.", ""};
    case kCtrlTagDeviceText3:
        return {"", "Interface Mode: the box takes edits. Standalone Mode: it only plays.", ""};
    case kCtrlTagStandaloneNotice:
        return {"", "The box plays on its own; switch it to Interface Mode to edit it.", ""};
    default:
        return {};
    }
}

// The untagged buttons, by the label they show.
Help ButtonHelp(const IControl& control, std::string_view label)
{
    if (label == "LOAD")
        return {"", "Load a preset file (.csx) into the box (Ctrl+O).", kFirmwareWindowReason};
    if (label == "SAVE")
        return {"", "Save the box's settings as a preset file (.csx) (Ctrl+S).",
                kFirmwareWindowReason};
    if (label == "RESET ALL")
        return {"", "Reset every setting of the box to its factory value.", ""};
    if (label == "FIRMWARE UPDATE")
        return {"", "Choose a firmware file (.bin) and send it to the box.", kTransferReason};
    if (label == "X")
        return {"Close", "Close the firmware window (Escape).", kTransferReason};
    if (dynamic_cast<const IVToggleControl*>(&control) && control.GetGroup() == kGroupMain)
        return {"AUDITION",
                "Pass the box's MIDI on to the output port, so you hear your instrument respond.",
                kFirmwareWindowReason};
    if (control.GetGroup() == kGroupAbout)
        return {"Close About", "Click anywhere or press Escape to close.", ""};
    return {};
}

void Apply(IControl& control, const Help& help)
{
    if (!help.name.empty())
        control.SetName(help.name);
    control.SetTooltip(help.tooltip);
    control.SetDisabledReason(help.disabledReason);
}
} // namespace

void DescribeEditorControls(IGraphics& graphics)
{
    graphics.ForAllControls(
        [](IControl& control)
        {
            // The polarity pictures show the setting their caption names.
            if (dynamic_cast<const IBitmapControl*>(&control))
                return;
            if (control.GetParamIdx() != kNoParameter)
                Apply(control, SettingHelp(control.GetParamIdx()));
            else if (control.GetTag() != kNoTag)
                Apply(control, TaggedHelp(control.GetTag()));
            else if (const auto* vector = dynamic_cast<const IVectorBase*>(&control);
                     vector && !control.GetParent())
                Apply(control, ButtonHelp(control, vector->GetLabelStr()));
        });
    if (IControl* resizer = graphics.GetCornerResizer())
        resizer->SetTooltip("Drag to make the window larger or smaller.");
}
