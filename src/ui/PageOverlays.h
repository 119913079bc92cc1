#pragma once

class IGraphics;

// Opening and closing the overlays that lie over the pages: the About page and the firmware
// update window. Each walks the overlay's control groups in attach order; showing, hiding,
// enabling and disabling only mark the controls for redrawing, no action runs.
// [main thread]

// The About page ("aboutcontrols") is shown; it lies above everything else and its closer covers
// the whole window, so the next click anywhere closes it again.
void ShowAboutPage(IGraphics& graphics);
// Hides the About page.
void HideAboutPage(IGraphics& graphics);

// The firmware window: its picture ("fwbgcontrols") and its buttons ("fwupdatecontrols") are
// shown, and the header bar with the page tabs ("maincontrols") is disabled so that nothing else
// can be started while the window is open. The buttons are enabled when `buttonsEnabled` is true
// and stay as they are otherwise (a firmware transfer under way keeps them greyed).
void OpenFirmwareWindow(IGraphics& graphics, bool buttonsEnabled = true);
// Hides the firmware window and its buttons and enables the header bar again. The buttons keep
// their enabled state; the next OpenFirmwareWindow decides it again.
void CloseFirmwareWindow(IGraphics& graphics);

// What dismissing the firmware update's finish (or failure) message does: the progress display,
// the firmware window and its buttons are hidden and the header bar is enabled again. The buttons
// stay disabled until the window is opened anew.
void CloseFirmwareOverlays(IGraphics& graphics);
