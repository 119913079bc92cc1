#pragma once

#include "toolkit/IKeyPress.h"

class QKeyEvent;

// The toolkit's key for a Qt key press: Tab and Backtab (as Shift+Tab), the arrows, Page Up and
// Page Down, Home, End, Space, Return and Enter, Escape, letters and digits (as kCharacter, lower
// case), with Shift, Ctrl and Alt. Any other key is kNone. Pure.
IKeyPress KeyPressFromQt(const QKeyEvent& event);
