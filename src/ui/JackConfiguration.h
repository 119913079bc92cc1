#pragma once

class IEditorDelegate;
class IGraphics;

// What the screen shows and lets the user operate for the box's current configuration: the jack
// LCD groups and the polarity controls follow the jack modes, a pedal's controller is greyed out
// unless its mode is "Control", a switch's channel and controller are greyed out while its
// function is "Start" or "Stop", and a jack's special-control bounds are operable only while one of
// its switches has the function "Special Control".
//
// These functions only show, hide, enable and disable controls of `graphics`, reading the current
// values of the editor's settings (indices as in ParamTable.h, values truncated to integers). They
// refresh no summary and record no edit: the editor's change handling does both around them.
// [main thread]

// Applies the rule that depends on setting `paramIdx`: a jack mode (0, 2), a pedal mode (5, 22)
// or a switch function (13, 17, 30, 34). Any other index changes nothing.
void ApplyJackConfiguration(IGraphics& graphics, const IEditorDelegate& editor, int paramIdx);

// Applies every rule to the current values, as if each of those settings had just changed, in
// index order. The result depends only on the values, not on what the screen showed before.
void ApplyJackConfiguration(IGraphics& graphics, const IEditorDelegate& editor);

// Disables (greys out, passes over with the mouse) or enables every control bound to setting
// `paramIdx`, with their child controls.
void SetParamControlsDisabled(IGraphics& graphics, int paramIdx, bool disabled);
