#pragma once

#include "toolkit/IKeyPress.h"

class IControl;
class IVTabSwitchControl;

// The controls the screen's own keys press. Not owned; they live as long as their context.
struct EditorKeyTargets
{
    IVTabSwitchControl* pageTabs = nullptr;
    IControl* load = nullptr;
    IControl* save = nullptr;
    IControl* firmwareClose = nullptr; // the firmware window's "X"
    IControl* aboutCloser = nullptr;
};

// The keys no focused control takes. Each clicks, as the mouse does (IControl::ClickAt), the
// control a mouse user would click, so it sends exactly what that click sends, and only while that
// control is shown and enabled:
// - Escape: the About closer while the About page is shown, else the firmware window's "X"
//   (greyed out, so not pressed, while a firmware transfer runs);
// - Ctrl+1, Ctrl+2, Ctrl+3: the GLOBAL, JACK 1 and JACK 2 tab, which then takes the keyboard
//   focus (so that Tab goes on into the new page);
// - Ctrl+O: LOAD; Ctrl+S: SAVE.
// True when the key is one of these and its control was pressed.
// [main thread]
bool OnEditorKey(const EditorKeyTargets& targets, const IKeyPress& key);
