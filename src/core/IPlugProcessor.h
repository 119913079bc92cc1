#pragma once

#include "core/MidiRecords.h"

// The processing side of the application object: the audio block, the hooks that receive
// incoming messages on the pump thread, and the senders.
class IPlugProcessor
{
public:
    static constexpr int kNumInputChannels = 0;
    static constexpr int kNumOutputChannels = 2;

    virtual ~IPlugProcessor() = default;

    // [main thread] Set before the stream that drives the pump starts.
    void SetSampleRate(double sampleRate) { mSampleRate = sampleRate; }
    void SetBlockSize(int blockSize) { mBlockSize = blockSize; }
    double GetSampleRate() const { return mSampleRate; }
    int GetBlockSize() const { return mBlockSize; }

    // [pump thread] Fills `nFrames` frames of each output channel; the default writes silence.
    virtual void ProcessAudioBlock(double** inputs, double** outputs, int nFrames);
    // [pump thread] One incoming short message. Must not block, allocate or touch the view.
    virtual void HandleMidiMessage(const MidiMessage&) {}
    // [pump thread] One incoming SysEx message; `msg.data` is valid during the call only.
    virtual void HandleSysEx(const SysExMessage&) {}

    // [any thread] Put a message on the output port; false when there is no output port object.
    virtual bool SendMidiMessage(const MidiMessage& msg) = 0;
    // [any thread] `msg.size` must be above 0.
    virtual bool SendSysExMessage(const SysExMessage& msg) = 0;

private:
    double mSampleRate = 44100.0;
    int mBlockSize = 64;
};
