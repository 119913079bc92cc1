#pragma once

class IControl;
class IGraphics;
class EditorCommands;
struct EditorStyles;

// The overlays, attached after the pages so that they lie on top and take the mouse first. Each
// function attaches its controls visible; the caller hides them.
// [main thread]

// The firmware progress display over the LCD area ("firmwarecontrols"): the olive backdrop,
// "FIRMWARE UPDATE" and the progress text "0 %" (tag 45).
void AttachFirmwareProgress(IGraphics& graphics, const EditorStyles& styles);

// The standalone notice (tag 49, "maincontrols"): a button over the page area that only splashes,
// so that nothing below it can be edited.
void AttachStandaloneNotice(IGraphics& graphics, const EditorStyles& styles);

// The firmware update window: its picture (tag 50, "fwbgcontrols") and its buttons
// ("fwupdatecontrols"): "FIRMWARE UPDATE", which prompts for an image file for the editor's
// firmware update when its splash ends, and "X", which closes the window. Returns "X".
IControl* AttachFirmwareWindow(IGraphics& graphics, const EditorStyles& styles,
                               EditorCommands& editor);

// The About page ("aboutcontrols"): its picture, the version text and a closer over the whole
// window that hides the page. Returns the closer.
IControl* AttachAboutPage(IGraphics& graphics, const EditorStyles& styles);

// The version number the About page shows as "v%.1f".
inline constexpr double kEditorVersion = 1.0;
