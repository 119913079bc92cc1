#include "core/IPlugAPIBase.h"

#include <cassert>

IPlugAPIBase::IPlugAPIBase(int nParams)
    : IPluginBase(nParams), mMainThread(std::this_thread::get_id()),
      mParamToViewQueue(std::make_unique<ParamToViewQueue>()),
      mMidiToViewQueue(std::make_unique<MidiToViewQueue>()),
      mSysExToViewQueue(std::make_unique<SysExToViewQueue>())
{
}

void IPlugAPIBase::SendParamFromView(int paramIdx, double normalized)
{
    SetParamNormalized(paramIdx, normalized);
    GetParam(paramIdx)->SetNormalized(normalized);
    OnParamChangeForView(paramIdx, ParamSource::kUI);
}

void IPlugAPIBase::SetParamNormalized(int paramIdx, double normalized)
{
    GetParam(paramIdx)->SetNormalized(normalized);
    OnParamChange(paramIdx, ParamSource::kUI, -1);
}

void IPlugAPIBase::QueueParamForView(int paramIdx, double value, bool normalized)
{
    assert(OnMainThread() && "ParamToViewQueue has one producer, the main thread");
    if (normalized)
        value = GetParam(paramIdx)->FromNormalized(value);
    mParamToViewQueue->Push({paramIdx, value});
}

void IPlugAPIBase::OnTimerTick()
{
    ParamChange change;
    while (mParamToViewQueue->Pop(change))
        SendParamToView(change.idx, change.value, false);

    MidiMessage msg;
    while (mMidiToViewQueue->Pop(msg))
        SendMidiToView(msg);

    // Handled in place: a block is 520 bytes, so it is not copied out of the ring.
    while (const SysExBlock* block = mSysExToViewQueue->Peek())
    {
        SendSysExToView(block->Message());
        mSysExToViewQueue->Discard();
    }

    OnIdleTick();
}
