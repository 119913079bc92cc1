#include "sim/DemoPerformer.h"

#include "device/ParamTable.h"

#include <cstddef>

namespace
{
using Jack = VirtualStomplet::Jack;
using FootSwitch = VirtualStomplet::FootSwitch;

constexpr std::int64_t kHalfCycleMs = DemoPerformer::kCycleMs / 2;

bool Held(std::int64_t phaseMs, std::int64_t startMs)
{
    return phaseMs >= startMs && phaseMs < startMs + DemoPerformer::kTapMs;
}
} // namespace

int DemoPerformer::PedalPositionAt(std::int64_t phaseMs)
{
    if (phaseMs < 0 || phaseMs >= kSweepMs)
        return 0;
    const std::int64_t half = kSweepMs / 2;
    const std::int64_t rising = phaseMs < half ? phaseMs : kSweepMs - phaseMs;
    return static_cast<int>((rising * 127 + half / 2) / half);
}

std::vector<DemoPerformer::Action> DemoPerformer::Due(std::int64_t nowMs,
                                                      const VirtualStomplet::Settings& settings)
{
    std::vector<Action> actions;
    const std::int64_t cycleMs = ((nowMs % kCycleMs) + kCycleMs) % kCycleMs;
    for (const Jack jack : {Jack::k1, Jack::k2})
    {
        const std::size_t j = jack == Jack::k1 ? 0 : 1;
        const bool switches =
            settings[static_cast<std::size_t>(jack == Jack::k1 ? kJack1Mode : kJack2Mode)] != 0;
        const std::int64_t phase = cycleMs - static_cast<std::int64_t>(j) * kHalfCycleMs;
        const bool active = phase >= 0 && phase < kHalfCycleMs;

        const int position = !switches && active ? PedalPositionAt(phase) : 0;
        if (!switches && position != mPedal[j])
        {
            actions.push_back({Action::Kind::kPedal, jack, FootSwitch::kA, position});
            mPedal[j] = position;
        }
        for (const FootSwitch footSwitch : {FootSwitch::kA, FootSwitch::kB})
        {
            const std::size_t s = j * 2 + (footSwitch == FootSwitch::kA ? 0 : 1);
            const bool down =
                switches && active &&
                Held(phase, footSwitch == FootSwitch::kA ? kTapAStartMs : kTapBStartMs);
            if (down != mDown[s])
            {
                actions.push_back(
                    {down ? Action::Kind::kPress : Action::Kind::kRelease, jack, footSwitch, 0});
                mDown[s] = down;
            }
        }
    }
    return actions;
}

std::vector<VirtualStomplet::WireMessage> DemoPerformer::Perform(VirtualStomplet& box,
                                                                 const std::vector<Action>& actions)
{
    std::vector<VirtualStomplet::WireMessage> sent;
    for (const Action& action : actions)
    {
        std::vector<VirtualStomplet::WireMessage> messages;
        switch (action.kind)
        {
        case Action::Kind::kPedal:
            messages = box.SetPedalPosition(action.jack, action.position);
            break;
        case Action::Kind::kPress:
            messages = box.PressSwitch(action.jack, action.footSwitch);
            break;
        case Action::Kind::kRelease:
            messages = box.ReleaseSwitch(action.jack, action.footSwitch);
            break;
        }
        sent.insert(sent.end(), messages.begin(), messages.end());
    }
    return sent;
}
