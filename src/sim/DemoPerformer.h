#pragma once

#include "sim/VirtualStomplet.h"

#include <array>
#include <cstdint>
#include <vector>

// Plays the virtual box's pedals and foot switches for the demo, so that its MIDI shows live on
// the editor's displays. The performance repeats every kCycleMs; each jack has its half of the
// cycle, jack 1 first. A jack set to "Pedal" sweeps its pedal from heel to toe and back over
// kSweepMs, then rests at the heel; a jack set to "Switches" taps switch A, then switch B (each
// held kTapMs). The jack modes are read from the box's settings on every call, so a change made
// in the editor takes effect within the next call.
//
// The performer keeps only what it last did (pedal positions, switches held): each call returns
// the actions that bring the box from that to what the performance asks for at `nowMs`, so it
// may be called at any rate (the demo calls it every 100 ms) and never busy-waits.
// Pure apart from that memory; not thread-safe. [main thread]
class DemoPerformer
{
public:
    static constexpr std::int64_t kCycleMs = 8000;
    static constexpr std::int64_t kSweepMs = 3000;
    static constexpr std::int64_t kTapMs = 400;
    // Where in a jack's half-cycle switch A and switch B go down.
    static constexpr std::int64_t kTapAStartMs = 500;
    static constexpr std::int64_t kTapBStartMs = 2000;

    struct Action
    {
        enum class Kind
        {
            kPedal,
            kPress,
            kRelease,
        };
        Kind kind = Kind::kPedal;
        VirtualStomplet::Jack jack = VirtualStomplet::Jack::k1;
        VirtualStomplet::FootSwitch footSwitch = VirtualStomplet::FootSwitch::kA; // press, release
        int position = 0;                                                         // pedal

        bool operator==(const Action&) const = default;
    };

    // The actions due at `nowMs` (milliseconds since the performance began; never backwards).
    std::vector<Action> Due(std::int64_t nowMs, const VirtualStomplet::Settings& settings);

    // Where the performance puts the pedal of a jack `phaseMs` into its half-cycle: 0 to 127.
    static int PedalPositionAt(std::int64_t phaseMs);

    // Applies the actions to `box`; returns what it sent, in order.
    static std::vector<VirtualStomplet::WireMessage> Perform(VirtualStomplet& box,
                                                             const std::vector<Action>& actions);

private:
    std::array<int, 2> mPedal{}; // by jack 1, 2: the position last sent
    std::array<bool, 4> mDown{}; // A1, B1, A2, B2: held
};
