#pragma once

#include <optional>
#include <string_view>

class IControl;
class EditorCommands;

// The actions the editor screen's buttons, toggle and tab switch run. Each takes the control that
// was clicked. Those that need more than the control take it as their first argument; the layout
// binds them.
// [main thread]

// Page tab switch: starts the splash, then shows the page its value selects (0 GLOBAL, 0.5 JACK 1,
// 1 JACK 2). A jack page shows the switch page while the jack's mode caption (tags 2 and 3) is
// above 0 and the pedal page otherwise; the jack kind is read at each click.
void PageSwitchAction(IControl* tabSwitch);

// The page groups shown for `page` (0 GLOBAL, 1 JACK 1, 2 JACK 2), the others hidden. The mode
// controls are looked up in the tab switch's context. Any other page changes nothing.
void ShowPage(IControl& tabSwitch, int page);

// AUDITION toggle: starts the splash, then turns the editor's audition on or off as the toggle is.
void AuditionAction(EditorCommands& editor, IControl* toggle);

// Asked before RESET ALL wipes the box's settings.
inline constexpr std::string_view kResetAllQuestion =
    "Reset every setting of the box to its factory value?";

// "RESET ALL": starts the splash and asks kResetAllQuestion (Yes/No); on Yes the editor resets
// the box and asks for its settings, on No (or no answer) nothing is sent. The answer may come
// later from the event loop.
void ResetAllAction(EditorCommands& editor, IControl* button);

// Calibration buttons (tags 12 to 15): starts the splash, then the editor asks the box to
// calibrate the pedal end the button's tag names and to report the result. A control with another
// tag sends nothing.
void CalibrateAction(EditorCommands& editor, IControl* button);

// The calibration address (a setting index: 1A, 1B, 09, 0A) of calibration button tag `tag`,
// or nullopt for another tag. Pure.
std::optional<int> CalibrationAddressForTag(int tag);

// End-of-animation actions of the file buttons: each prompts for a file and hands the chosen full
// path, or the empty text when the prompt was cancelled, to the editor. The answer may arrive later
// from the event loop; the editor must outlive the button's graphics context.
// "LOAD": a "csx" file to open, for the preset load.
void LoadPresetAction(EditorCommands& editor, IControl* button);
// "SAVE": a "csx" file to save to, for the preset save.
void SavePresetAction(EditorCommands& editor, IControl* button);
// Firmware window "FIRMWARE UPDATE": a "bin" file to open, for the firmware update.
void FirmwareFileAction(EditorCommands& editor, IControl* button);

// End-of-animation actions of the overlays' closers.
// Firmware window "X": hides the window and its buttons, and enables the header bar again.
void CloseFirmwareWindowAction(IControl* button);
// About closer: hides the About page.
void CloseAboutAction(IControl* button);
