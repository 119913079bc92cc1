#pragma once

#include <string_view>

class IGraphics;

// Sets the text of the text control with `tag` on `screen`; nothing without a screen or such a
// control. [main thread]
void SetControlText(IGraphics* screen, int tag, std::string_view text);
