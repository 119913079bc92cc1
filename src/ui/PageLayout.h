#pragma once

class IGraphics;
class EditorCommands;
struct EditorStyles;

// The page tab switch (tag 1) and the three pages below it, attached in this order: the GLOBAL
// page ("globalcontrols": RESET ALL, the jack modes and polarities), the JACK 1 and JACK 2 switch
// pages ("switch1controls", "switch2controls"), the JACK 1 and JACK 2 pedal pages
// ("pedal1controls", "pedal2controls"). Every control is visible as attached; the caller hides
// the pages it does not show. The RESET ALL and calibration buttons act through `editor`, which
// must outlive the controls.
// [main thread]
void AttachPages(IGraphics& graphics, const EditorStyles& styles, EditorCommands& editor);
