#pragma once

#include "core/MidiRecords.h"
#include "device/AssignmentSlots.h"
#include "device/ParamTable.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>

// The three-line summary of what an assignment slot sends, and the record of the MIDI message it
// is configured to produce, which the monitor matches incoming MIDI against. Pure transforms.
// [any thread]

// Per slot, the message it produces (only status, data1 and data2 are used). A status of 0 means
// the slot produces no channel message that can be matched by status; a "Pedal" switch keeps its
// controller number in data2 with status 0.
using SlotRecords = std::array<MidiMessage, kNumAssignmentSlots>;

// Lines 1 and 2 of a summary are cut to this many characters; line 3 is not cut.
inline constexpr std::size_t kSummaryLineLength = 16;

// The control tags of a slot's three display lines.
struct SlotLineTags
{
    int line1;
    int line2;
    int line3;
};

// Tags of slot `slot` (0 to 5); all -1 for any other number.
SlotLineTags SlotLineTagsOf(int slot);

// The pedal slot of jack `jack` (1 or 2): slot 0 for jack 1, slot 1 for jack 2.
constexpr int PedalSlotOfJack(int jack)
{
    return jack == 1 ? kSlotPedal1 : kSlotPedal2;
}

struct SlotSummary
{
    std::string line1; // channel and message kind
    std::string line2; // controller name, or empty
    std::string line3; // "PEDAL" for a switch with the function "Pedal", else empty
};

// Composes the summary of slot `slot` (0 to 5) from its settings in `values` and updates
// `records`:
// - a pedal slot takes its own record and clears the status byte of both switch records of its
//   jack (their data bytes stay);
// - a switch slot takes its own record; the pedal record of its jack becomes all zeros, except for
//   "Start" and "Stop" (status only cleared) and "Pedal" (unchanged).
// Empty, and `records` unchanged, for any other slot number.
std::optional<SlotSummary> ComposeSlotSummary(int slot, const ParamValues& values,
                                              SlotRecords& records);
