#pragma once

// The mouse buttons and modifier keys of a mouse event. On macOS the platform reports the Command
// key as `C`, so the same "fine" gesture works on every system.
struct IMouseMod
{
    bool L = false; // left button
    bool R = false; // right button
    bool S = false; // Shift
    bool C = false; // Ctrl (Command on macOS)
    bool A = false; // Alt (Option on macOS)

    bool operator==(const IMouseMod&) const = default;
};
