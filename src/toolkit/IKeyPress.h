#pragma once

#include "toolkit/IMouseMod.h"

#include <optional>

// The keys the view acts on. Letters and digits arrive as kCharacter with their lower-case
// character; every other key is kNone and goes unused.
enum class EKey
{
    kNone,
    kTab,
    kLeft,
    kRight,
    kUp,
    kDown,
    kPageUp,
    kPageDown,
    kHome,
    kEnd,
    kSpace,
    kEnter,
    kEscape,
    kCharacter,
};

// One key press as the platform reports it. Shift+Tab arrives as kTab with `mod.S`; the mouse
// buttons in `mod` are always false.
struct IKeyPress
{
    EKey key = EKey::kNone;
    char character = 0; // 'a'-'z' or '0'-'9' for kCharacter, else 0
    IMouseMod mod;

    bool operator==(const IKeyPress&) const = default;
};

// How Up and Down read: a number rises with Up (a spin box); a list moves on to its next entry
// with Down (a combo box). Right always moves on, Left back.
enum class EKeyOrder
{
    kNumber,
    kList,
};

// Where a value key moves a choice among `count` entries (0 .. count - 1) from `current`: the
// arrows one entry, Page Up and Page Down `largeStep` entries (in the direction Up and Down take
// for `order`), Home the first entry, End the last; clamped, never wrapping. nullopt for any other
// key or an empty choice. Pure.
std::optional<int> KeyStepTarget(const IKeyPress& key, int current, int count, int largeStep,
                                 EKeyOrder order);
