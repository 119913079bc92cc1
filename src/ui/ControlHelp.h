#pragma once

class IGraphics;

// Names, tooltips and greyed-out reasons for the controls of the editor screen, in a musician's
// words: what a screen reader calls each control (the caption the screen shows beside it), what
// hovering over it says it does, and why it may be greyed out (the setting that governs it, or
// the firmware window). Controls whose label names them keep an empty name; the label is their
// name. Run once, after the layout has attached every control.
// [main thread]
void DescribeEditorControls(IGraphics& graphics);
