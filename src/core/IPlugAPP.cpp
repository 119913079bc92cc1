#include "core/IPlugAPP.h"

IPlugAPP::IPlugAPP(int nParams)
    : IPlugAPIBase(nParams), mMidiFromPortQueue(std::make_unique<MidiFromPortQueue>()),
      mSysExFromPortQueue(std::make_unique<SysExFromPortQueue>())
{
    mTimer = Timer::Create([this](Timer&) { OnTimerTick(); }, kTimerPeriodMs);
}

IPlugAPP::~IPlugAPP()
{
    mTimer.reset();
}

void IPlugAPP::EnqueueMidiFromPort(const std::uint8_t* bytes, std::size_t size) noexcept
{
    if (size == 0)
        return;

    if (size <= 3)
    {
        MidiMessage msg;
        msg.status = bytes[0];
        msg.data1 = size > 1 ? bytes[1] : 0;
        msg.data2 = size > 2 ? bytes[2] : 0;
        if (!mMidiFromPortQueue->Push(msg))
            mDrops.fromPortMidi.fetch_add(1, std::memory_order_relaxed);
        WakePump();
        return;
    }

    SysExBlock block;
    if (!block.Assign(bytes, size) || !mSysExFromPortQueue->Push(block))
        mDrops.fromPortSysEx.fetch_add(1, std::memory_order_relaxed);
    WakePump();
}

bool IPlugAPP::HasPumpInput() const noexcept
{
    return !mMidiFromPortQueue->Empty() || !mSysExFromPortQueue->Empty();
}

void IPlugAPP::WakePump() noexcept
{
    // After the push: a pump that took the count before finding the rings empty sees it change.
    mPumpWakes.fetch_add(1, std::memory_order_release);
    mPumpWakes.notify_one();
}

void IPlugAPP::ProcessPump(double** inputs, double** outputs, int nFrames)
{
    MidiMessage msg;
    while (mMidiFromPortQueue->Pop(msg))
    {
        HandleMidiMessage(msg);
        if (!QueueMidiForView(msg))
            mDrops.toViewMidi.fetch_add(1, std::memory_order_relaxed);
    }

    // SysEx waits in the input ring while the main thread has not made room: a message the pump
    // took in is never lost on its way to the view side.
    while (const SysExBlock* block = mSysExFromPortQueue->Peek())
    {
        if (SysExForViewFull())
            break;
        HandleSysEx(block->Message());
        QueueSysExForView(*block);
        mSysExFromPortQueue->Discard();
    }

    ProcessAudioBlock(inputs, outputs, nFrames);
}

bool IPlugAPP::SendMidiMessage(const MidiMessage& msg)
{
    AppHostLink* link = mHostLink.load(std::memory_order_acquire);
    if (!link)
        return false;
    const std::uint8_t bytes[3] = {msg.status, msg.data1, msg.data2};
    return link->SendToOutputPort(bytes, static_cast<std::size_t>(MidiMessageLength(msg.status)));
}

bool IPlugAPP::SendSysExMessage(const SysExMessage& msg)
{
    AppHostLink* link = mHostLink.load(std::memory_order_acquire);
    if (!link || !msg.data || msg.size <= 0)
        return false;
    return link->SendToOutputPort(msg.data, static_cast<std::size_t>(msg.size));
}

void IPlugAPP::OnTimerTick()
{
    IPlugAPIBase::OnTimerTick();
    if (AppHostLink* link = mHostLink.load(std::memory_order_acquire))
        link->ProbeMidiPorts();
}
