#pragma once

#include <string>

class IGraphics;

// The tooltip text to show for the mouse at (x, y), design pixels; empty for none.
//
// The corner resizer answers first; then the controls from the top down. A shown control hit at
// the point answers with its GetTooltipText() (a part of a control, such as a number box's
// button, with its outermost parent's), greyed out or not; a shown control without a tooltip that
// takes the mouse ends the search with none, as it hides what lies below it from the mouse.
// Controls that ignore the mouse and have no tooltip are passed over.
// [main thread]
std::string TooltipAt(const IGraphics& graphics, float x, float y);
