#pragma once

#include "core/IPlugAPP.h"

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace e2e
{
// An application object for the host that records, in order, what reaches its hooks: SysEx on the
// pump thread, SysEx on the view side and the output port announcements.
class RecordingApp final : public IPlugAPP
{
public:
    enum class Hook
    {
        kHandleSysEx,    // [pump thread]
        kOnSysExForView, // [main thread]
    };

    struct SysExEvent
    {
        Hook hook;
        std::vector<std::uint8_t> bytes;
    };

    RecordingApp() : IPlugAPP(0) {}

    void HandleSysEx(const SysExMessage& msg) override { Record(Hook::kHandleSysEx, msg); }
    void OnSysExForView(const SysExMessage& msg) override { Record(Hook::kOnSysExForView, msg); }
    void OnMidiOutputPortSelected(std::string_view name) override
    {
        std::lock_guard lock(mMutex);
        mOutputPorts.emplace_back(name);
    }

    // [any thread]
    std::vector<SysExEvent> SysExEvents() const
    {
        std::lock_guard lock(mMutex);
        return mSysEx;
    }
    std::vector<std::string> OutputPortAnnouncements() const
    {
        std::lock_guard lock(mMutex);
        return mOutputPorts;
    }

private:
    void Record(Hook hook, const SysExMessage& msg)
    {
        std::lock_guard lock(mMutex);
        mSysEx.push_back({hook, std::vector<std::uint8_t>(msg.data, msg.data + msg.size)});
    }

    mutable std::mutex mMutex;
    std::vector<SysExEvent> mSysEx;
    std::vector<std::string> mOutputPorts;
};
} // namespace e2e
