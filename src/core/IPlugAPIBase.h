#pragma once

#include "core/IPluginBase.h"
#include "core/MidiRecords.h"
#include "core/ParamChange.h"

#include <memory>
#include <thread>

// The change flow between controls, parameters and the editor, and the queues that carry values
// and incoming messages to the main thread, emptied on every application tick.
class IPlugAPIBase : public IPluginBase
{
public:
    // Must be constructed on the main thread: it becomes the one producer of ParamToViewQueue.
    explicit IPlugAPIBase(int nParams);

    // [main thread] A control has a new normalized value for a parameter.
    void SendParamFromView(int paramIdx, double normalized) override;
    // [main thread] Sets a parameter and announces it to the editor with the source "UI".
    void SetParamNormalized(int paramIdx, double normalized);
    // [main thread] Schedules a value for the controls on the next tick; dropped when 512 wait.
    void QueueParamForView(int paramIdx, double value, bool normalized);

    // [main thread] One application tick: empties ParamToViewQueue, MidiToViewQueue and
    // SysExToViewQueue into the view side (which works without a view too), in that order and
    // completely, then OnIdleTick().
    virtual void OnTimerTick();
    // [main thread]
    virtual void OnIdleTick() {}

protected:
    // [pump thread] The pump's hand-over to the main thread; false when the ring was full.
    bool QueueMidiForView(const MidiMessage& msg) { return mMidiToViewQueue->Push(msg); }
    bool QueueSysExForView(const SysExBlock& block) { return mSysExToViewQueue->Push(block); }
    bool SysExForViewFull() const { return mSysExToViewQueue->Full(); }

    bool OnMainThread() const { return std::this_thread::get_id() == mMainThread; }

private:
    std::thread::id mMainThread;
    std::unique_ptr<ParamToViewQueue> mParamToViewQueue;
    std::unique_ptr<MidiToViewQueue> mMidiToViewQueue;
    std::unique_ptr<SysExToViewQueue> mSysExToViewQueue;
};
