#pragma once

class IGraphics;
struct EditorStyles;

// The two faux-LCD jack displays in the middle of the window: the titles "JACK 1" and "JACK 2",
// the header, two summary lines and a live value line for the pedal, switch A and switch B of each
// jack (tags 16 to 41 but 20 and 33, in the jack LCD groups), then the two polarity pictures (tags
// 42 and 43, bound to the polarity settings). Jack 1 fills the 150 pixels left of the window's
// middle, jack 2 the 150 pixels right of it. Attached in that order, pair by pair; all visible.
// [main thread]
void AttachJackDisplays(IGraphics& graphics, const EditorStyles& styles);
