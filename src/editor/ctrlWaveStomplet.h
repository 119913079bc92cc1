#pragma once

#include "core/IPlugAPP.h"
#include "core/MidiRecords.h"
#include "core/Timer.h"
#include "device/AssignmentSlots.h"
#include "device/ModeDecision.h"
#include "device/ParamTable.h"
#include "device/SettingBytes.h"
#include "device/SysExMessages.h"
#include "editor/AssignmentSummary.h"
#include "editor/EditHistory.h"
#include "editor/FirmwareUpdate.h"
#include "editor/PresetSession.h"
#include "ui/EditorCommands.h"
#include "ui/ScreenText.h"
#include "ui/UserManual.h"

#include <array>
#include <atomic>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <utility>

// The editor: the application object that holds the editable image of the box's 38 settings
// (indices and meanings in ParamTable.h) and the state the editor's features share. It keeps the
// screen in line with the settings, sends the user's edits to the box, finds the box and tells its
// modes apart, takes the settings the box reports, and shows the MIDI the box sends.
//
// Threads: every member runs on the main thread, except HandleMidiMessage (pump thread). Incoming
// MIDI and SysEx reach the editor's display and device work on the main thread through the view
// queues emptied on the 20 ms tick (OnMidiForView, OnSysExForView), in arrival order.
class ctrlWaveStomplet : public IPlugAPP,
                         public EditorCommands,
                         private PresetSession::Editor,
                         private FirmwareUpdate::Editor
{
public:
    static constexpr std::uint32_t kDeviceTimerPeriodMs = 100;
    // An edit is sent once it has stayed the latest edit for this many 20 ms ticks.
    static constexpr std::int32_t kSendDebounceTicks = 20;
    // Device timer ticks that may pass after the confirming Status Request before Standalone
    // Mode is concluded on the next one.
    static constexpr std::int32_t kConfirmWindowTicks = 2;

    // [main thread] Declares the 38 settings, each at 0, installs the editor screen's layout as the
    // view's builder, and starts the device timer unless one already runs.
    ctrlWaveStomplet();
    // [main thread] Stops and releases the device timer, whichever editor started it.
    ~ctrlWaveStomplet() override;

    // [main thread] The process-wide device timer, or nullptr while none exists.
    static const Timer* DeviceTimer() { return sDeviceTimer.get(); }

    // [main thread] Setting `paramIdx` has its new value: adapts the screen (jack groups, greyed
    // controls, summaries while ready) and, while ready, records the edit for sending, except for
    // the four calibration settings. An edit of another setting than the one still pending sends
    // the pending one at once.
    using IPlugAPP::OnParamChange;
    void OnParamChange(int paramIdx) override;
    // [main thread] A number box's drag begins and ends: its changes make one undoable step.
    void BeginParamEditFromView(int paramIdx) override;
    void EndParamEditFromView(int paramIdx) override;

    // [main thread] Edit > Undo and Redo. Each user gesture on a setting (other than the
    // calibrations) and each preset load is one step; a Status Reply that replaces the settings
    // (a new box, RESET ALL, a calibration) forgets them all. Undoing a setting's step sends its
    // old value through the same debounced Single Setting path as an edit; undoing a preset load
    // restores the settings before it and sends them as one All Settings message. Nothing can be
    // undone or redone while the editor is not ready or a firmware transfer runs.
    std::string UndoName() const override;
    std::string RedoName() const override;
    void OnUndoRequested() override;
    void OnRedoRequested() override;

    // [main thread] Every 20 ms: sends the pending edit once it has rested for kSendDebounceTicks
    // ticks, then shows a deferred message box without waiting for it to close, and shows the mark
    // beside the preset name exactly while the settings differ from the preset.
    void OnIdleTick() override;

    // [pump thread] Passes the message on to the output port while auditioning and no firmware
    // transfer runs, with the length its status byte gives it.
    void HandleMidiMessage(const MidiMessage& msg) override;
    // [main thread] The display work for one incoming message: slot displays, transport texts and
    // the activity light.
    void OnMidiForView(const MidiMessage& msg) override;
    // [main thread] One incoming SysEx message: flashes the light; a Status Reply confirms the
    // box's Interface Mode or, as a first reply, is checked and applied and a confirming Status
    // Request goes out.
    void OnSysExForView(const SysExMessage& msg) override;

    // [main thread] The output port now in use, or "off": line 1 names it, lines 2 and 3 and the
    // standalone notice are cleared, an awaited confirmation ends, and a port of the box is asked
    // for its status.
    void OnMidiOutputPortSelected(std::string_view portName) override;

    // [main thread] The last step of building the screen: the jack-dependent visibility and greying
    // follow the settings' current values (nothing is recorded as an edit), the editor becomes
    // ready, the status lines take over from now on, and the box is asked for its status.
    void OnLayoutComplete() override;
    // [main thread] What status line 1 shows when the screen is built: "DEVICE: <port>".
    const std::string& GetDeviceText() const override { return mDeviceText; }

    // [main thread] The RESET ALL button: the box returns to its factory settings and is asked for
    // them. The button's splash is the caller's. Ignored during a firmware transfer.
    void OnResetAll() override;
    // [main thread] A calibration button: the box takes the pedal's present position as the
    // calibration end whose setting index is `address` (09, 0A, 1A or 1B; anything else sends
    // nothing) and is asked for the result. The button's splash is the caller's. Ignored during a
    // firmware transfer.
    void OnCalibrate(int address) override;
    // [main thread] The AUDITION toggle.
    void SetAudition(bool on) override { mAudition.store(on, std::memory_order_release); }

    // [main thread] Help > About: shows the About page over the screen; false without a screen.
    bool OnAboutRequested() override;
    // [main thread] Help > Read Manual: writes the carried manual into its folder when the file
    // there is missing or of another size, and opens it with the system's viewer; a message box
    // names the file's path when that fails. False without a screen (nothing can be shown).
    bool OnManualRequested() override;
    // [main thread] File > Firmware Update passes kFirmwareWindowRequest: opens the firmware
    // window and disables the header bar until it closes. Other values, or no screen: nothing
    // happens and false is returned.
    bool OnFirmwareUpdateRequested(int request) override;
    static constexpr int kFirmwareWindowRequest = 1;
    // [main thread] Where Read Manual writes the manual and how it reads the carried one. Without
    // a source nothing is carried and only an existing file can be opened.
    void SetUserManual(UserManualSource source) { mUserManual = std::move(source); }

    // [main thread] True once the box's mode has been concluded ("STATE: Interface Mode" or
    // "STATE: Standalone Mode" on status line 3); false again when a port is announced.
    bool DeviceModeKnown() const { return mDeviceMode != DeviceMode::kUnknown; }
    // [main thread] Nothing more will change the screen by itself: the box's mode is known, the
    // box's firmware version was refused, or no output port is open (nothing can answer).
    bool StartupSettled() const override
    {
        return DeviceModeKnown() || mVersionRefused || mOutputPortName == kNoOutputPort;
    }

    // [main thread] Composes the summary of slot `slot` (0 to 5; others do nothing) from the
    // current settings, updates the slot records and, while the view exists, its three lines.
    void RebuildSlotSummary(int slot);

    // [main thread] LOAD and SAVE hand the chosen preset path here (empty: cancelled); see
    // PresetSession.
    void LoadPreset(const std::string& path) override { mPresets.Load(path); }
    void SavePreset(const std::string& path) override { mPresets.Save(path); }
    // [main thread] The firmware window's button hands the chosen image path here (empty:
    // cancelled); see FirmwareUpdate.
    void LoadFirmware(const std::string& path) override { mFirmware.Load(path); }
    // [main thread] The settings differ from the last preset loaded or saved (the mark beside the
    // preset's name shows it).
    bool PresetModified() const { return mPresets.Modified(); }
    // [main thread] A firmware transfer runs: nothing else is sent to the box until it ends (a
    // Status Request or settings due meanwhile go out then), the firmware window's buttons stay
    // disabled, and quitting asks first.
    bool FirmwareTransferRunning() const { return mFirmware.Running(); }
    // [main thread] The question to ask before quitting during a firmware transfer; empty
    // otherwise.
    std::string QuitQuestion() const override;

protected:
    // [main thread] The preset files and the preset last loaded or saved.
    const PresetSession& Presets() const { return mPresets; }

    // [main thread] Forgets an edit not yet sent, so that nothing older follows settings written
    // all at once (a preset, the box's reply) to the box.
    void DropPendingEdit();

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
    SlotRecords mSlotMsgs{};

    // [any thread] Incoming MIDI is passed on to the output port while true; the pump thread reads
    // it, the main thread writes it.
    std::atomic<bool> mAudition{false};

    // Device status. Until the screen is built a port announcement only records mDeviceText
    // ("DEVICE: <port>", at most 255 characters). mModeCheck awaits the reply that confirms
    // Interface Mode once a first Status Reply has been applied; its clock counts device timer
    // ticks (mDeviceTicks).
    bool mStatusTextsReady = false;
    std::string mDeviceText;
    ModeDecision mModeCheck{kConfirmWindowTicks};
    // The undo history; mSettled holds the settings as the last step left them (or as the box
    // reported them), mGesture is true during a number box's drag, and mApplyingStep while undo
    // or redo writes settings (those writes record no step).
    EditHistory mHistory;
    SettingBytes mSettled{};
    bool mGesture = false;
    bool mApplyingStep = false;
    std::int64_t mDeviceTicks = 0;

private:
    enum class DeviceMode
    {
        kUnknown,
        kInterface,
        kStandalone,
    };

    // [main thread] Every 100 ms: drives the device-state timeout and the pacing of a firmware
    // transfer.
    void OnDeviceTimer();

    // What the preset session and the firmware update use.
    IGraphics* Screen() const override { return GetUI(); }
    SettingBytes SettingsBytes() const override { return SettingsToBytes(*this); }
    void TakeSettings(const PresetValues& values) override;
    void ShowMessageLater(std::string_view text) override;
    void SendToBox(const SysExMessage& msg) override { SendSysExMessage(msg); }

    // Undo and redo: what may be done now, and the settings taken back or set again.
    bool HistoryUsable() const { return mUIReady && !FirmwareTransferRunning(); }
    void RecordStep(std::string name, bool wholeSet);
    void ApplyStep(const SettingBytes& bytes, bool wholeSet);

    // Setting `paramIdx` takes the value `byte` (clamped to its range), and its controls follow.
    void SetSettingByte(int paramIdx, std::uint8_t byte);
    // Every setting takes its byte from `bytes` (clamped to its range) at once: none of it counts
    // as an edit, an edit still waiting is dropped, the calibration buttons and the summaries of
    // the jacks' modes follow, and the editor is ready for edits afterwards.
    void ApplySettingBytes(std::span<const std::uint8_t, kNumParams> bytes);
    ParamValues CurrentValues() const;
    void RecordEdit(int paramIdx, int value);
    void SendPendingEdit();
    void SendCommand(const CommandMessage& msg);
    void SendStatusRequest();
    void ApplyStatusReply(const StatusReply& reply);
    void ShowDeviceMode(DeviceMode mode);
    void ShowDeferredMessage();
    void ShowPresetModifiedMark();
    // The current settings to the box as one All Settings message.
    void SendAllSettings();
    // A firmware transfer starts or has ended. At its end what was held back goes out when
    // `sendHeldBack`: the current settings as one All Settings message when settings were due,
    // then a Status Request when one was due. Otherwise (the port changed under the transfer) it
    // is dropped, so that it never reaches a device it was not meant for.
    void OnFirmwareTransferStarted() override;
    void OnFirmwareTransferEnded(bool sendHeldBack) override;
    void SetControlText(int tag, std::string_view text) { ::SetControlText(GetUI(), tag, text); }

    DeviceMode mDeviceMode = DeviceMode::kUnknown;
    // The output port last announced; "off" for none.
    static constexpr std::string_view kNoOutputPort = "off";
    std::string mOutputPortName{kNoOutputPort};
    // The box on the current port reported a firmware version the editor does not work with.
    bool mVersionRefused = false;

    PresetSession mPresets{*this};
    FirmwareUpdate mFirmware{*this};
    // [any thread] Mirrors FirmwareTransferRunning() for the pump thread's audition pass-through.
    std::atomic<bool> mFirmwareBusy{false};
    // Held back during a firmware transfer: settings (an edit or a loaded preset) and a Status
    // Request.
    bool mSettingsOwed = false;
    bool mStatusRequestOwed = false;
    UserManualSource mUserManual;

    // Shared by every editor in the process; only the main thread touches it.
    static inline std::unique_ptr<Timer> sDeviceTimer;
};
