#pragma once

#include "core/MidiRecords.h"
#include "device/ParamTable.h"
#include "editor/AssignmentSummary.h"

#include <string>
#include <vector>

// What the assignment displays show when MIDI arrives from the box: the live value of a pedal or
// controller, ON and OFF of note switches, START and STOP of transport switches. Pure transform.
// [any thread] (allocates)

// One display line to rewrite: the control tag and its new text.
struct MonitorText
{
    int tag = -1;
    std::string text;

    bool operator==(const MonitorText&) const = default;
};

// The texts that `msg` writes, in the order they are to be set: first each matching slot 0 to 5
// (several may match), then the transport texts of the switches A 1, A 2, B 1, B 2. `records` are
// the slots' configured messages, `values` the current settings (switch functions and operations
// are read). Texts are not cut, so a long controller name is shown in full.
//
// A control change whose controller is the number of a switch with the function "Pedal" is shown
// on the pedal display of the other jack, but only while that switch's function is "Pedal": a
// record that merely holds zeros does not claim every controller 0.
std::vector<MonitorText> MonitorTexts(const MidiMessage& msg, const SlotRecords& records,
                                      const ParamValues& values);

// True for Note On (any channel, any velocity), the one kind that flashes the activity light while
// the editor is not ready.
constexpr bool IsNoteOn(const MidiMessage& msg)
{
    return (msg.status >> 4) == 0x9;
}
