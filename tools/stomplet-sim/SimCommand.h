#pragma once

#include "sim/VirtualStomplet.h"

#include <optional>
#include <string>
#include <string_view>

// One line of stomplet-sim's standard input, read into a value. Words are separated by spaces or
// tabs; commands and switch names are lower case:
//   pedal J P     J 1 or 2, P 0 to 127
//   press S       S one of a1, b1, a2, b2 (switch A or B of jack 1 or 2)
//   release S
//   quit
// A blank line or one whose first word starts with '#' is nothing to do.
struct SimCommand
{
    enum class Kind
    {
        kNothing,
        kPedal,
        kPress,
        kRelease,
        kQuit,
    };

    Kind kind = Kind::kNothing;
    VirtualStomplet::Jack jack = VirtualStomplet::Jack::k1; // pedal, press, release
    VirtualStomplet::FootSwitch footSwitch = VirtualStomplet::FootSwitch::kA; // press, release
    int position = 0;                                                         // pedal
};

// Either the command or one line saying what is wrong with the line (no newline).
struct SimCommandResult
{
    std::optional<SimCommand> command;
    std::string error;
};

// A pure transform of one line (without its line end; a trailing '\r' is ignored).
SimCommandResult ParseSimCommand(std::string_view line);
