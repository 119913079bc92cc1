#pragma once

#include "core/MidiRecords.h"

#include <optional>

// How the virtual box turns its pedals and foot switches into MIDI, as pure functions of the
// settings involved. Setting values are those of the box's settings (channel 0 to 15 is MIDI
// channel 1 to 16; numbers and bounds 0 to 127).
//
// Pedals. The box reads a pedal as a position from 0 (heel) to 127 (toe).
// - Scaling: the calibration ends say which readings are the ends of the travel. The position is
//   taken as a fraction of the way from the low end to the high end, clamped to 0..1 (the high end
//   may lie below the low end: a reversed pedal), and the output is
//   outMin + fraction * (outMax - outMin), rounded half away from zero. Out Maximum may lie below
//   Out Minimum (an inverted range). With both calibration ends equal, a position at or above
//   that end gives outMax and any other outMin.
// - Message by pedal mode: "Control" sends control change (Bn, controller, value); "Aftertouch"
//   sends channel pressure (Dn, value); "Bend" sends pitch bend (En, LSB, MSB) of the 14-bit value
//   PitchBendFromValue(value), so 0 bends fully down, 64 not at all and 127 fully up.
//
// Switches. A switch is "on" or "off"; how a press and a release change that depends on the
// operation: "Momentary" is on while held (a press turns it on, a release off); "Latching" turns
// on at one press and off at the next, and a release does nothing. Messages by function:
// - "Control": on sends Bn number 7F, off sends Bn number 00.
// - "Note On/Off": on sends 9n number 7F, off sends 8n number 00.
// - "Special Control": on sends Bn number upper, off sends Bn number lower (the jack's bounds).
// - "Start", "Stop", "Program Change": every press sends FA, FC or Cn number, whatever the
//   operation; a release sends nothing.
// - "Pedal": the switch itself sends nothing. While it is on, the pedal on the other jack sends
//   control change of this switch's number on this switch's channel instead of its own message.
//
// Polarity. A jack's polarity says how the box reads the plug's contacts; the simulated positions
// and presses stand for what the box reads after that, so polarity changes no message.
//
// [any thread]

// The output value 0 to 127 for a pedal position 0 to 127 (values outside are clamped first).
int ScalePedalPosition(int position, int calLow, int calHigh, int outMin, int outMax);

// The 14-bit pitch bend for a 7-bit value: 0 -> 0, 64 -> 8192, 127 -> 16383; linear on each side
// of the centre, rounded half away from zero.
int PitchBendFromValue(int value);

// The message a pedal sends for an output `value` in `pedalMode` (0 Control, 1 Aftertouch, 2 Bend;
// a larger mode is taken as Bend). `controller` matters in Control mode only.
MidiMessage PedalMessage(int pedalMode, int channel, int controller, int value);

// True for the functions that act on each press and ignore the operation: Start, Stop and
// Program Change.
bool IsPressOnlyFunction(int switchFunction);

// The message a switch sends when it turns on (`on` true) or off, or, for a press-only function,
// when it is pressed (`on` true). Empty when the function sends nothing at that moment.
std::optional<MidiMessage> SwitchMessage(int switchFunction, int channel, int number, int lower,
                                         int upper, bool on);
