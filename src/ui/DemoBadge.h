#pragma once

class IGraphics;

// The "DEMO" mark in the header bar, beside AUDITION: it tells the musician that the screen talks
// to the built-in virtual box, not to a Stomplet on a MIDI port. Attached only in demo mode,
// after the screen is built; it ignores the mouse. [main thread]
void AttachDemoBadge(IGraphics& graphics);
