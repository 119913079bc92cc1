#pragma once

#include "core/IEditorView.h"
#include "core/IPlugAPP.h"

#include <string>
#include <vector>

// An application object with four integer parameters 0..127 that records every hook in order.
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
        handledMidi.push_back(msg);
        Log("midi " + std::to_string(msg.status));
    }
    void HandleSysEx(const SysExMessage& msg) override
    {
        handledSysEx.emplace_back(msg.data, msg.data + msg.size);
        Log("sysex " + std::to_string(msg.size));
    }
    void ProcessAudioBlock(double** inputs, double** outputs, int nFrames) override
    {
        IPlugAPP::ProcessAudioBlock(inputs, outputs, nFrames);
        Log("audio " + std::to_string(nFrames));
    }

    void Log(std::string line) { log.push_back(std::move(line)); }

    std::vector<std::string> log;
    std::vector<MidiMessage> handledMidi;
    std::vector<std::vector<std::uint8_t>> handledSysEx;
};

// A view whose controls are one value slot per parameter, plus a MIDI listener.
class FakeView final : public IEditorView
{
public:
    void SetParamFromDelegate(int paramIdx, double normalized) override
    {
        received.push_back({paramIdx, normalized});
    }
    void SendMidiToControls(const MidiMessage& msg) override { midi.push_back(msg); }

    std::vector<ParamChange> received;
    std::vector<MidiMessage> midi;
};
