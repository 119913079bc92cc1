#include "device/SettingsExchange.h"

#include "device/AssignmentSlots.h"
#include "device/FormatText.h"
#include "device/SysExMessages.h"

#include <array>
#include <cstddef>

std::optional<std::string> CalibrationLabel(int paramIdx, std::uint8_t valueByte)
{
    if (!IsCalibrationParam(paramIdx))
        return std::nullopt;
    const double normalized = valueByte / static_cast<double>(ParamMaxValue(paramIdx));
    const double percent = static_cast<double>(static_cast<float>(normalized * 100.0));
    const bool low = paramIdx == kPedal1CalibrationLow || paramIdx == kPedal2CalibrationLow;
    return low ? FormatText("Calibration Low End: %.1f%%", percent)
               : FormatText("Calibration High End: %.1f%%", percent);
}

std::vector<int> SlotsSelectedByJackModes(int jack1Mode, int jack2Mode)
{
    std::vector<int> slots;
    slots.reserve(4); // also spares GCC 12 a false -Wstringop-overflow on the growing insert
    if (jack1Mode != 0)
        slots.insert(slots.end(), {kSlotSwitchA1, kSlotSwitchB1});
    else
        slots.push_back(kSlotPedal1);
    if (jack2Mode != 0)
        slots.insert(slots.end(), {kSlotSwitchA2, kSlotSwitchB2});
    else
        slots.push_back(kSlotPedal2);
    return slots;
}

bool DiffersFromPreset(std::span<const std::uint8_t, kNumParams> received,
                       std::span<const std::int32_t, kNumParams> presetValues)
{
    for (std::size_t i = 0; i < received.size(); ++i)
    {
        if (IsCalibrationParam(static_cast<int>(i)))
            continue;
        if (static_cast<std::int32_t>(received[i]) != presetValues[i])
            return true;
    }
    return false;
}
