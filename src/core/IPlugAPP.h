#pragma once

#include "core/IPlugAPIBase.h"
#include "core/IPlugProcessor.h"
#include "core/MidiRecords.h"
#include "core/Timer.h"

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

// What the application object needs of the host that owns the ports (AppHost in the application,
// a fake in tests).
class AppHostLink
{
public:
    virtual ~AppHostLink() = default;
    // [any thread] Hands `size` bytes to the output port as one message. False when there is no
    // output port object; true (and nothing sent) when the object exists but no port is open.
    virtual bool SendToOutputPort(const std::uint8_t* bytes, std::size_t size) = 0;
    // [main thread] Rebuilds the port name lists when the ports have changed.
    virtual void ProbeMidiPorts() = 0;
};

// Counts of messages lost because a ring was full or a message could not be queued. Each counter
// is written by one thread and may be read from any.
struct MidiDropCounts
{
    std::atomic<std::uint32_t> fromPortMidi{0};  // MidiFromPortQueue full
    std::atomic<std::uint32_t> fromPortSysEx{0}; // SysExFromPortQueue full, or over 512 bytes
    std::atomic<std::uint32_t> toViewMidi{0};    // MidiToViewQueue full
};

// The standalone application object: the 20 ms application timer, the rings from the MIDI input
// thread to the pump, the pump itself, sending through the host, and the application's hooks.
class IPlugAPP : public IPlugAPIBase, public IPlugProcessor
{
public:
    static constexpr std::uint32_t kTimerPeriodMs = 20;
    static constexpr int kPumpFrames = 64;

    // [main thread] Creates the application timer.
    explicit IPlugAPP(int nParams);
    ~IPlugAPP() override;

    // [main thread] The host that owns the ports; not owned. Set before the ports open and the pump
    // starts; cleared before the host goes away.
    void SetHostLink(AppHostLink* link) { mHostLink.store(link, std::memory_order_release); }

    // [MIDI input thread] Queues one incoming message: 1 to 3 bytes as a MidiMessage (absent data
    // bytes 0), 4 to 512 bytes as SysEx; an empty or longer message, or one meeting a full ring,
    // is dropped.
    void EnqueueMidiFromPort(const std::uint8_t* bytes, std::size_t size) noexcept;

    // The pump's idle wait, for a driver without audio. Every enqueued message and every
    // WakePump() counts as one wake.
    // [any thread] The number of wakes so far.
    std::uint32_t PumpWakes() const noexcept { return mPumpWakes.load(std::memory_order_acquire); }
    // [pump thread] True while a message waits in an input ring.
    bool HasPumpInput() const noexcept;
    // [pump thread] Sleeps while the wake count is still `seen` (taken before HasPumpInput() was
    // found false), so that a message enqueued in between is never slept through.
    void WaitForPumpWake(std::uint32_t seen) const noexcept { mPumpWakes.wait(seen); }
    // [any thread] Ends a WaitForPumpWake in progress.
    void WakePump() noexcept;

    // [pump thread] One processing step: every queued short message to HandleMidiMessage and on to
    // the view, every queued SysEx to HandleSysEx and on to the view, then ProcessAudioBlock.
    void ProcessPump(double** inputs, double** outputs, int nFrames = kPumpFrames);

    // [any thread] A short message goes out with the length its status byte gives it.
    bool SendMidiMessage(const MidiMessage& msg) override;
    bool SendSysExMessage(const SysExMessage& msg) override;

    // [main thread] The base tick, then the port check.
    void OnTimerTick() override;

    // [main thread] Application hooks; false means not handled (the shell then shows its own box).
    virtual bool OnAboutRequested() { return false; }
    virtual bool OnManualRequested() { return false; }
    virtual bool OnFirmwareUpdateRequested(int) { return false; }
    // [main thread] The output port now in use, or "off".
    virtual void OnMidiOutputPortSelected(std::string_view) {}
    // [main thread] False while the first screen may still change by itself, for example while an
    // answer of the device is being confirmed; a screenshot of the start waits for true.
    virtual bool StartupSettled() const { return true; }
    // [main thread] Empty when the application may quit at once; otherwise the question (ending in
    // "Quit anyway?") put to the user before quitting, which goes ahead only on Yes.
    virtual std::string QuitQuestion() const { return {}; }
    // [main thread] Edit > Undo and Redo: the name of what they would undo or redo ("JACK 1
    // Mode"), or empty when there is nothing to undo or redo, or it cannot be done now.
    virtual std::string UndoName() const { return {}; }
    virtual std::string RedoName() const { return {}; }
    virtual void OnUndoRequested() {}
    virtual void OnRedoRequested() {}
    // [main thread] `listener` runs whenever UndoName or RedoName may have changed; empty: none.
    void SetEditHistoryListener(std::function<void()> listener)
    {
        mEditHistoryListener = std::move(listener);
    }

    const MidiDropCounts& DropCounts() const { return mDrops; }

protected:
    // [main thread] Tells the listener that UndoName or RedoName may have changed.
    void NotifyEditHistory() const
    {
        if (mEditHistoryListener)
            mEditHistoryListener();
    }

private:
    std::function<void()> mEditHistoryListener;
    std::atomic<AppHostLink*> mHostLink{nullptr};
    std::unique_ptr<MidiFromPortQueue> mMidiFromPortQueue;
    std::unique_ptr<SysExFromPortQueue> mSysExFromPortQueue;
    MidiDropCounts mDrops;
    std::atomic<std::uint32_t> mPumpWakes{0};
    std::unique_ptr<Timer> mTimer;
};
