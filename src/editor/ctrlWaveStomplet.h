#pragma once

#include "core/IPlugAPP.h"
#include "core/MidiRecords.h"
#include "core/Timer.h"
#include "editor/AssignmentSlots.h"
#include "editor/ParamTable.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <string>

// The editor: the application object that holds the editable image of the box's 38 settings
// (indices and meanings in ParamTable.h) and the state the editor's features share.
class ctrlWaveStomplet : public IPlugAPP
{
public:
    static constexpr std::uint32_t kDeviceTimerPeriodMs = 100;

    // [main thread] Declares the 38 settings, each at 0, and starts the device timer unless one
    // already runs.
    ctrlWaveStomplet();
    // [main thread] Stops and releases the device timer, whichever editor started it.
    ~ctrlWaveStomplet() override;

    // [main thread] The process-wide device timer, or nullptr while none exists.
    static const Timer* DeviceTimer() { return sDeviceTimer.get(); }

protected:
    // True while the user interface exists and is consistent. While false, edits are neither
    // recorded nor sent and no display work is done. Cleared while many settings are written at
    // once (preset load, settings received from the box).
    bool mUIReady = false;

    // A message box waiting for the next idle tick, which shows `mDeferredMessage` with an empty
    // caption and an OK button, then clears the flag.
    bool mShowDeferredMessage = false;
    std::string mDeferredMessage;

    // Debounce of Single Setting messages: the change recorded last and the one being checked for
    // stability, counted in idle ticks. mPendingParam is -1 while nothing is pending; the values
    // mean something only once a change has been recorded.
    std::int32_t mIdleTicks = 0;
    std::int32_t mCheckParam = 0;
    std::int32_t mCheckValue = 0;
    std::int32_t mPendingParam = -1;
    std::int32_t mPendingValue = 0;

    // Per assignment slot, the MIDI message the slot is configured to send; matched against the
    // MIDI that arrives from the box. Only status, data1 and data2 are used.
    std::array<MidiMessage, kNumAssignmentSlots> mSlotMsgs{};

    // [any thread] Incoming MIDI is passed on to the output port while true; the pump thread reads
    // it, the main thread writes it.
    std::atomic<bool> mAudition{false};

    // The settings differ from the last preset loaded or saved.
    bool mPresetDirty = false;
    // The setting values of the last preset loaded or saved, in index order.
    std::array<std::int32_t, kNumParams> mPresetValues{};

private:
    // [main thread] Every 100 ms: drives the device-state timeout and the pacing of a firmware
    // transfer.
    void OnDeviceTimer();

    // Shared by every editor in the process; only the main thread touches it.
    static inline std::unique_ptr<Timer> sDeviceTimer;
};
