#pragma once

#include "device/ParamTable.h"

#include <vector>

// The assignment summaries a change of one setting rebuilds while the editor is ready, in rebuild
// order: a jack mode rebuilds the slots that mode shows (pedal, or switches A then B); a pedal's
// channel, mode or controller its pedal slot while the jack holds a pedal; a switch's channel,
// function or controller its slot while the jack holds switches. Other settings, and indices
// outside 0 to 37, rebuild nothing. Pure. [any thread]
std::vector<int> SlotsRefreshedByChange(int paramIdx, const ParamValues& values);
