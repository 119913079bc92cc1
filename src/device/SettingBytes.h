#pragma once

#include "device/ParamTable.h"

#include <array>
#include <cstdint>

class IEditorDelegate;

// One byte per setting, in index order: the value block of an All Settings message, of a Status
// Reply and of a preset file.
using SettingBytes = std::array<std::uint8_t, kNumParams>;

// The settings of `settings` as bytes: each value truncated toward zero and kept within 0 to 127
// (the editor's own settings always are). A setting the delegate does not hold reads 0.
// [any thread] (reads parameter values only)
SettingBytes SettingsToBytes(const IEditorDelegate& settings);
