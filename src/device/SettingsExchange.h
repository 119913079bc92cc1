#pragma once

#include "device/ParamTable.h"

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The pure parts of bringing the editor's settings and the box into step: the calibration
// settings' texts, which summaries a received set of settings selects, and whether it counts as
// unsaved. [any thread]

// The label of that button for the received byte: "Calibration Low End: %.1f%%" or
// "Calibration High End: %.1f%%" with byte / 127 * 100 rounded to single precision, so 64 gives
// 50.4 and a byte above 127 more than 100. Empty for a setting that is not a calibration setting.
std::optional<std::string> CalibrationLabel(int paramIdx, std::uint8_t valueByte);

// The slots whose summaries a received set of settings shows, in rebuild order: jack 1 switches
// (2, 3) or its pedal (0), then jack 2 switches (4, 5) or its pedal (1). A mode other than 0
// counts as switches.
std::vector<int> SlotsSelectedByJackModes(int jack1Mode, int jack2Mode);

// True when any received byte other than the four calibration settings differs from the value of
// the last preset loaded or saved; the bytes are compared as received, before the settings clamp
// them.
bool DiffersFromPreset(std::span<const std::uint8_t, kNumParams> received,
                       std::span<const std::int32_t, kNumParams> presetValues);
