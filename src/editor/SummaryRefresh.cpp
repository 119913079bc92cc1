#include "editor/SummaryRefresh.h"

#include "device/AssignmentSlots.h"

#include <cstddef>

namespace
{
int JackModeParam(int jack)
{
    return jack == 1 ? kJack1Mode : kJack2Mode;
}
} // namespace

std::vector<int> SlotsRefreshedByChange(int paramIdx, const ParamValues& values)
{
    const auto value = [&values](int idx) { return values[static_cast<std::size_t>(idx)]; };

    if (paramIdx == kJack1Mode || paramIdx == kJack2Mode)
    {
        const int jack = paramIdx == kJack1Mode ? 1 : 2;
        if (value(paramIdx) < kJackModeSwitches)
            return {jack == 1 ? kSlotPedal1 : kSlotPedal2};
        return jack == 1 ? std::vector<int>{kSlotSwitchA1, kSlotSwitchB1}
                         : std::vector<int>{kSlotSwitchA2, kSlotSwitchB2};
    }

    for (int slot = 0; slot < kNumAssignmentSlots; ++slot)
    {
        const AssignmentSlot& def = kAssignmentSlots[static_cast<std::size_t>(slot)];
        if (paramIdx != def.channelParam && paramIdx != def.kindParam &&
            paramIdx != def.numberParam)
            continue;
        const int mode = value(JackModeParam(def.jack));
        const bool shown = def.IsPedal() ? mode == kJackModePedal : mode > kJackModePedal;
        if (shown)
            return {slot};
        return {};
    }
    return {};
}
