#pragma once

#include "core/IPlugAPP.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <vector>

namespace hosttest
{
// An application object that records what reaches its hooks. Safe to use from the pump thread and
// the main thread at once.
class PortTestApp final : public IPlugAPP
{
public:
    PortTestApp() : IPlugAPP(0) {}

    // One pump step of 64 frames, as the pump's driver runs it.
    void Pump()
    {
        double left[64];
        double right[64];
        double* outputs[2] = {left, right};
        ProcessPump(nullptr, outputs, 64);
    }

    void HandleMidiMessage(const MidiMessage& msg) override
    {
        std::lock_guard lock(mMutex);
        mMidi.push_back(msg);
        mChanged.notify_all();
    }

    void HandleSysEx(const SysExMessage& msg) override
    {
        std::lock_guard lock(mMutex);
        mSysEx.emplace_back(msg.data, msg.data + msg.size);
        mChanged.notify_all();
    }

    void OnMidiOutputPortSelected(std::string_view name) override
    {
        std::lock_guard lock(mMutex);
        mOutputPortSelections.emplace_back(name);
    }

    std::vector<MidiMessage> Midi() const
    {
        std::lock_guard lock(mMutex);
        return mMidi;
    }

    std::vector<std::vector<std::uint8_t>> SysEx() const
    {
        std::lock_guard lock(mMutex);
        return mSysEx;
    }

    std::vector<std::string> OutputPortSelections() const
    {
        std::lock_guard lock(mMutex);
        return mOutputPortSelections;
    }

    // Waits until at least `count` short messages have been handled; false when they have not
    // after a generous guard time (the test then fails instead of hanging).
    bool WaitForMidi(std::size_t count) const
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::seconds(20),
                                 [&] { return mMidi.size() >= count; });
    }

private:
    mutable std::mutex mMutex;
    mutable std::condition_variable mChanged;
    std::vector<MidiMessage> mMidi;
    std::vector<std::vector<std::uint8_t>> mSysEx;
    std::vector<std::string> mOutputPortSelections;
};
} // namespace hosttest
