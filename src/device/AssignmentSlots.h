#pragma once

#include "device/ParamTable.h"

#include <array>

// The six things on the box that send MIDI, numbered 0 to 5.
enum EAssignmentSlot : int
{
    kSlotPedal1 = 0,
    kSlotPedal2,
    kSlotSwitchA1,
    kSlotSwitchB1,
    kSlotSwitchA2,
    kSlotSwitchB2,

    kNumAssignmentSlots
};

// The settings that make up one assignment slot, by parameter index. `kindParam` is the pedal mode
// of a pedal slot and the switch function of a switch slot; `numberParam` the controller (or note
// or program) number; `operationParam` is -1 for the pedals, which have none.
struct AssignmentSlot
{
    int jack; // 1 or 2
    int channelParam;
    int kindParam;
    int numberParam;
    int operationParam;

    constexpr bool IsPedal() const { return operationParam < 0; }
};

inline constexpr std::array<AssignmentSlot, kNumAssignmentSlots> kAssignmentSlots{{
    {1, kPedal1Channel, kPedal1Mode, kPedal1Controller, -1},
    {2, kPedal2Channel, kPedal2Mode, kPedal2Controller, -1},
    {1, kSwitchA1Channel, kSwitchA1Function, kSwitchA1Controller, kSwitchA1Operation},
    {1, kSwitchB1Channel, kSwitchB1Function, kSwitchB1Controller, kSwitchB1Operation},
    {2, kSwitchA2Channel, kSwitchA2Function, kSwitchA2Controller, kSwitchA2Operation},
    {2, kSwitchB2Channel, kSwitchB2Function, kSwitchB2Controller, kSwitchB2Operation},
}};
