#pragma once

class IGraphics;
class EditorCommands;

// Builds the editor screen on `graphics`, once per context: a context that already holds a control
// is left as it is. In order: mouse-over tracking, the corner resizer, the grey background panel,
// the background picture, the fonts, then every control with its rectangle, tag, group, binding
// and style (the activity light, the jack displays, the pages, the header bar, the overlays),
// hiding what the first screen does not show. The screen's own keys (OnEditorKey) take the keys
// no focused control uses. Last, the editor is told the screen is complete (OnLayoutComplete).
//
// The first screen shows the background, the header bar, the device status lines, both jack
// displays with their pedal lines and polarity pictures, the tab switch on GLOBAL and the GLOBAL
// page; the switch and pedal pages, the firmware progress, the standalone notice, the firmware
// window and the About page are hidden.
//
// `editor` must outlive the controls (their actions refer to it). The editor installs this as its
// layout function.
// [main thread]
void BuildEditorLayout(EditorCommands& editor, IGraphics& graphics);
