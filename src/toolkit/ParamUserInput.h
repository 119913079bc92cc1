#pragma once

#include "toolkit/PlatformUi.h"

#include <optional>
#include <string_view>
#include <vector>

class IParam;

// How a parameter is offered to the user for input, and how the user's answer maps back to a
// value. Pure functions of the parameter's set-up and the given value.

// True when the parameter is chosen from a menu: an enumerated parameter, or a Boolean one that has
// display texts. Other parameters are typed into a text entry.
bool ParamUsesMenu(const IParam& param);

// Menu entries for a parameter whose current value is `currentValue`: one per display text when
// it has any, else one per step from its minimum to its maximum (at most kMaxParamMenuItems),
// showing the display text; the entry whose value equals `currentValue` carries the check mark.
inline constexpr int kMaxParamMenuItems = 1024;
std::vector<PopupMenuItem> ParamMenuItems(const IParam& param, double currentValue);

// The value (in the parameter's units) of menu entry `itemIdx` of ParamMenuItems; nullopt for an
// index outside the menu.
std::optional<double> ParamMenuItemValue(const IParam& param, int itemIdx);

// The value typed as `text`: a display text of the parameter (exact match), or a finite decimal
// number, leading and trailing blanks ignored. nullopt for anything else; the caller then changes
// nothing. The value is not constrained here.
std::optional<double> ParseParamText(const IParam& param, std::string_view text);
