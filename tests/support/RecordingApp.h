#pragma once

#include "core/IEditorView.h"
#include "core/IPlugAPP.h"

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <vector>

// An application object with four integer parameters 0..127 that records every hook in order.
// What reaches it from the pump may be read from another thread through the locked accessors.
class RecordingApp final : public IPlugAPP
{
public:
    RecordingApp() : IPlugAPP(4)
    {
        for (int i = 0; i < NParams(); ++i)
            GetParam(i)->InitInteger("P" + std::to_string(i), 0, 0, 127);
    }

    using IPlugAPIBase::OnParamChange;
    void OnParamChange(int paramIdx) override { Log("change " + std::to_string(paramIdx)); }
    void OnParamChangeForView(int paramIdx, ParamSource source) override
    {
        Log("view " + std::to_string(paramIdx) + " " + ParamSourceLabel(source));
    }
    void OnMidiForView(const MidiMessage& msg) override
    {
        Log("midi-view " + std::to_string(msg.status));
    }
    void OnSysExForView(const SysExMessage& msg) override
    {
        Log("sysex-view " + std::to_string(msg.size));
    }
    void OnIdleTick() override { Log("idle"); }
    void HandleMidiMessage(const MidiMessage& msg) override
    {
        std::lock_guard lock(mMutex);
        handledMidi.push_back(msg);
        log.push_back("midi " + std::to_string(msg.status));
        mChanged.notify_all();
    }
    void HandleSysEx(const SysExMessage& msg) override
    {
        std::lock_guard lock(mMutex);
        handledSysEx.emplace_back(msg.data, msg.data + msg.size);
        log.push_back("sysex " + std::to_string(msg.size));
    }
    void ProcessAudioBlock(double** inputs, double** outputs, int nFrames) override
    {
        IPlugAPP::ProcessAudioBlock(inputs, outputs, nFrames);
        Log("audio " + std::to_string(nFrames));
    }
    void OnMidiOutputPortSelected(std::string_view name) override
    {
        outputPortSelections.emplace_back(name);
    }

    // One pump step, as the pump's driver runs it.
    void Pump()
    {
        double left[kPumpFrames];
        double right[kPumpFrames];
        double* outputs[2] = {left, right};
        ProcessPump(nullptr, outputs);
    }

    std::vector<MidiMessage> Midi() const
    {
        std::lock_guard lock(mMutex);
        return handledMidi;
    }
    // Waits until at least `count` short messages have been handled; false when they have not
    // after a generous guard time (the test then fails instead of hanging).
    bool WaitForMidi(std::size_t count) const
    {
        std::unique_lock lock(mMutex);
        return mChanged.wait_for(lock, std::chrono::seconds(20),
                                 [&] { return handledMidi.size() >= count; });
    }

    std::vector<std::string> log;
    std::vector<MidiMessage> handledMidi;
    std::vector<std::vector<std::uint8_t>> handledSysEx;
    std::vector<std::string> outputPortSelections;

private:
    void Log(std::string line)
    {
        std::lock_guard lock(mMutex);
        log.push_back(std::move(line));
    }

    mutable std::mutex mMutex;
    mutable std::condition_variable mChanged;
};

// A view whose controls are one value slot per parameter, plus a MIDI listener.
struct FakeView final : IEditorView
{
    void SetParamFromDelegate(int paramIdx, double normalized) override
    {
        received.push_back({paramIdx, normalized});
    }
    void SendMidiToControls(const MidiMessage& msg) override { midi.push_back(msg); }

    std::vector<ParamChange> received;
    std::vector<MidiMessage> midi;
};
