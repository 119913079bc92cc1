#pragma once

#include "device/ParamTable.h"

#include <array>
#include <cstdint>
#include <optional>

class IEditorDelegate;

// The byte of each setting in index order: its value truncated toward zero. This is the value block
// of an All Settings message and of a preset file.
// Empty when the delegate does not hold exactly 38 parameters or a value lies outside 0 to 127
// (neither happens with the editor's own settings, which constrain their values).
// [any thread] (reads parameter values only)
std::optional<std::array<std::uint8_t, kNumParams>> ParameterBytes(const IEditorDelegate& delegate);
