#include "editor/ctrlWaveStomplet.h"

#include "device/DeviceStatus.h"
#include "device/SettingsExchange.h"
#include "editor/MidiMonitor.h"
#include "editor/SummaryRefresh.h"
#include "toolkit/IGraphics.h"
#include "toolkit/ITextControl.h"
#include "toolkit/IVectorBase.h"
#include "ui/ControlTags.h"
#include "ui/EditorLayout.h"
#include "ui/ILEDControl.h"
#include "ui/JackConfiguration.h"
#include "ui/PageOverlays.h"

#include <cstddef>
#include <utility>

ctrlWaveStomplet::ctrlWaveStomplet() : IPlugAPP(kNumParams)
{
    for (int idx = 0; idx < kNumParams; ++idx)
    {
        const ParamDefinition& definition = kParamDefinitions[static_cast<std::size_t>(idx)];
        IParam* param = GetParam(idx);
        if (definition.IsEnumerated())
        {
            const int count = static_cast<int>(definition.labels.size());
            param->InitEnumerated(definition.name, 0, count);
            for (int value = 0; value < count; ++value)
                param->SetDisplayText(value, definition.labels[static_cast<std::size_t>(value)]);
        }
        else
        {
            param->InitInteger(definition.name, 0, 0, kIntegerParamMax, "", IParam::kFlagStepped);
        }
    }

    SetLayoutFunc([this](IGraphics& graphics) { BuildEditorLayout(*this, graphics); });

    if (!sDeviceTimer)
        sDeviceTimer = Timer::Create([this](Timer&) { OnDeviceTimer(); }, kDeviceTimerPeriodMs);
}

ctrlWaveStomplet::~ctrlWaveStomplet()
{
    if (sDeviceTimer)
    {
        sDeviceTimer->Stop();
        sDeviceTimer.reset();
    }
}

// ---- Settings and the screen ----------------------------------------------------------------

void ctrlWaveStomplet::OnParamChange(int paramIdx)
{
    if (paramIdx < 0 || paramIdx >= kNumParams)
        return;

    const ParamValues values = CurrentValues();
    if (IGraphics* ui = GetUI())
    {
        if (mUIReady)
            for (int slot : SlotsRefreshedByChange(paramIdx, values))
                RebuildSlotSummary(slot);
        ApplyJackConfiguration(*ui, *this, paramIdx);
    }

    if (mUIReady && !IsCalibrationParam(paramIdx))
    {
        RecordEdit(paramIdx, values[static_cast<std::size_t>(paramIdx)]);
        if (!mGesture && !mApplyingStep)
            RecordStep(std::string(GetParam(paramIdx)->GetName()), false);
    }
}

// ---- Undo and redo ----------------------------------------------------------------------------

void ctrlWaveStomplet::BeginParamEditFromView(int)
{
    mGesture = true;
}

void ctrlWaveStomplet::EndParamEditFromView(int paramIdx)
{
    mGesture = false;
    if (mUIReady && paramIdx >= 0 && paramIdx < kNumParams && !IsCalibrationParam(paramIdx))
        RecordStep(std::string(GetParam(paramIdx)->GetName()), false);
}

void ctrlWaveStomplet::RecordStep(std::string name, bool wholeSet)
{
    const SettingBytes now = SettingsBytes();
    if (now == mSettled)
        return;
    mHistory.Record({std::move(name), mSettled, now, wholeSet});
    mSettled = now;
    NotifyEditHistory();
}

std::string ctrlWaveStomplet::UndoName() const
{
    const EditStep* step = mHistory.NextUndo();
    return step && HistoryUsable() ? step->name : std::string();
}

std::string ctrlWaveStomplet::RedoName() const
{
    const EditStep* step = mHistory.NextRedo();
    return step && HistoryUsable() ? step->name : std::string();
}

void ctrlWaveStomplet::OnUndoRequested()
{
    if (!HistoryUsable())
        return;
    if (const std::optional<EditStep> step = mHistory.TakeUndo())
        ApplyStep(step->before, step->wholeSet);
}

void ctrlWaveStomplet::OnRedoRequested()
{
    if (!HistoryUsable())
        return;
    if (const std::optional<EditStep> step = mHistory.TakeRedo())
        ApplyStep(step->after, step->wholeSet);
}

void ctrlWaveStomplet::ApplyStep(const SettingBytes& bytes, bool wholeSet)
{
    if (wholeSet)
    {
        ApplySettingBytes(bytes);
        SendAllSettings();
    }
    else
    {
        // As the user's own edits: each changed setting goes to the box once it rests.
        mApplyingStep = true;
        const SettingBytes now = SettingsBytes();
        for (int idx = 0; idx < kNumParams; ++idx)
        {
            const auto at = static_cast<std::size_t>(idx);
            if (bytes[at] == now[at])
                continue;
            SetSettingByte(idx, bytes[at]);
        }
        mApplyingStep = false;
    }
    mSettled = SettingsBytes();
    mPresets.NoteReceived(mSettled);
    NotifyEditHistory();
}

void ctrlWaveStomplet::RebuildSlotSummary(int slot)
{
    const std::optional<SlotSummary> summary = ComposeSlotSummary(slot, CurrentValues(), mSlotMsgs);
    if (!summary)
        return;
    const SlotLineTags tags = SlotLineTagsOf(slot);
    SetControlText(tags.line1, summary->line1);
    SetControlText(tags.line2, summary->line2);
    SetControlText(tags.line3, summary->line3);
}

ParamValues ctrlWaveStomplet::CurrentValues() const
{
    ParamValues values{};
    for (int idx = 0; idx < kNumParams; ++idx)
        values[static_cast<std::size_t>(idx)] = GetParam(idx)->Int();
    return values;
}

// ---- Sending edits ----------------------------------------------------------------------------

void ctrlWaveStomplet::RecordEdit(int paramIdx, int value)
{
    // One pending slot: an edit of another setting must not silently replace the one waiting, so
    // that one goes out now and the new edit starts a window of its own.
    if (mPendingParam != -1 && mPendingParam != paramIdx)
        SendPendingEdit();
    if (mPendingParam == -1)
        mIdleTicks = 0;

    mPendingParam = paramIdx;
    mPendingValue = value;
    mPresets.NoteEdit();
}

void ctrlWaveStomplet::SendPendingEdit()
{
    if (FirmwareTransferRunning())
    {
        // Goes out with every other setting once the transfer has ended.
        mSettingsOwed = true;
        mPendingParam = -1;
        return;
    }
    if (const std::optional<CommandMessage> msg = BuildSingleSetting(mPendingParam, mPendingValue))
        SendCommand(*msg);
    mPendingParam = -1;
}

void ctrlWaveStomplet::DropPendingEdit()
{
    mPendingParam = -1;
    mIdleTicks = 0;
}

void ctrlWaveStomplet::OnIdleTick()
{
    if (mUIReady)
    {
        if (mIdleTicks < 1 && mPendingParam != -1)
        {
            mCheckParam = mPendingParam;
            mCheckValue = mPendingValue;
        }
        if (++mIdleTicks >= kSendDebounceTicks)
        {
            mIdleTicks = 0;
            if (mPendingParam != -1 && mPendingParam == mCheckParam && mPendingValue == mCheckValue)
                SendPendingEdit();
        }
    }
    ShowDeferredMessage();
    ShowPresetModifiedMark();
}

void ctrlWaveStomplet::ShowPresetModifiedMark()
{
    IGraphics* ui = GetUI();
    IControl* mark = ui ? ui->GetControlWithTag(kCtrlTagPresetModified) : nullptr;
    if (mark && mark->IsHidden() == PresetModified())
        mark->Hide(!PresetModified());
}

void ctrlWaveStomplet::ShowMessageLater(std::string_view text)
{
    mDeferredMessage = text;
    mShowDeferredMessage = true;
}

void ctrlWaveStomplet::ShowDeferredMessage()
{
    if (!mShowDeferredMessage)
        return;
    mShowDeferredMessage = false;
    // The box opens and the tick goes on; the result does not matter.
    if (IGraphics* ui = GetUI())
        ui->ShowMessageBox(mDeferredMessage, "", EMsgBoxType::kOk, nullptr);
}

void ctrlWaveStomplet::SendCommand(const CommandMessage& msg)
{
    SendSysExMessage(msg.Message());
}

void ctrlWaveStomplet::SendStatusRequest()
{
    if (FirmwareTransferRunning())
    {
        mStatusRequestOwed = true;
        return;
    }
    SendCommand(BuildStatusRequest());
}

void ctrlWaveStomplet::SendAllSettings()
{
    if (FirmwareTransferRunning())
    {
        mSettingsOwed = true;
        return;
    }
    if (const std::optional<AllSettingsMessage> msg = BuildAllSettings(SettingsBytes()))
        SendSysExMessage(msg->Message());
}

// ---- Firmware transfer ------------------------------------------------------------------------

void ctrlWaveStomplet::OnFirmwareTransferStarted()
{
    mFirmwareBusy.store(true, std::memory_order_release);
    NotifyEditHistory();
}

void ctrlWaveStomplet::OnFirmwareTransferEnded(bool sendHeldBack)
{
    mFirmwareBusy.store(false, std::memory_order_release);
    NotifyEditHistory();
    const bool settingsOwed = std::exchange(mSettingsOwed, false);
    const bool statusRequestOwed = std::exchange(mStatusRequestOwed, false);
    if (!sendHeldBack)
    {
        DropPendingEdit();
        return;
    }
    if (settingsOwed)
    {
        DropPendingEdit();
        SendAllSettings();
    }
    if (statusRequestOwed)
        SendStatusRequest();
}

std::string ctrlWaveStomplet::QuitQuestion() const
{
    return FirmwareTransferRunning() ? std::string(kFirmwareQuitQuestion) : std::string();
}

// ---- The box: status, mode and settings -------------------------------------------------------

void ctrlWaveStomplet::OnMidiOutputPortSelected(std::string_view portName)
{
    mFirmware.OnOutputPortSelected(portName);
    mOutputPortName = portName;
    mVersionRefused = false;
    mDeviceText = DeviceText(portName);
    // A new port, or none, never inherits the exchange or the mode of the previous one.
    mModeCheck.Cancel();
    mDeviceMode = DeviceMode::kUnknown;
    if (!mStatusTextsReady)
        return;

    SetControlText(kCtrlTagDeviceText1, mDeviceText);
    SetControlText(kCtrlTagDeviceText2, "");
    SetControlText(kCtrlTagDeviceText3, "");
    if (IGraphics* ui = GetUI())
        ui->HideControl(kCtrlTagStandaloneNotice, true);

    if (IsStompletPortName(portName))
        SendStatusRequest();
}

void ctrlWaveStomplet::OnLayoutComplete()
{
    // The settings were announced before the view existed: bring the screen in step with them.
    if (IGraphics* ui = GetUI())
        ApplyJackConfiguration(*ui, *this);
    mUIReady = true;
    mStatusTextsReady = true;
    mSettled = SettingsBytes();
    NotifyEditHistory();
    SendStatusRequest();
}

void ctrlWaveStomplet::OnSysExForView(const SysExMessage& msg)
{
    if (IGraphics* ui = GetUI())
        FlashActivityLight(*ui);

    const std::optional<StatusReply> reply = RecogniseStatusReply(msg);
    if (!reply)
        return;

    if (mModeCheck.Confirm())
    {
        ShowDeviceMode(DeviceMode::kInterface);
        return;
    }

    mUIReady = false;
    SetControlText(kCtrlTagDeviceText1, kDeviceRepliedText);
    SetControlText(kCtrlTagDeviceText2, VersionText(reply->version));

    const VersionVerdict verdict = CheckFirmwareVersion(reply->version);
    if (verdict != VersionVerdict::kAccepted)
    {
        mVersionRefused = true;
        ShowMessageLater(VersionMessage(verdict));
        return;
    }

    ApplyStatusReply(*reply);

    mModeCheck.Await(mDeviceTicks);
    SendStatusRequest();
}

void ctrlWaveStomplet::ApplyStatusReply(const StatusReply& reply)
{
    ApplySettingBytes(reply.values);
    mPresets.NoteReceived(reply.values);
    // The box's settings replace the editor's: nothing before them can be undone.
    mHistory.Clear();
    mSettled = SettingsBytes();
    NotifyEditHistory();
}

void ctrlWaveStomplet::TakeSettings(const PresetValues& values)
{
    ApplySettingBytes(values);
    SendAllSettings();
    RecordStep("Load Preset", true);
}

void ctrlWaveStomplet::SetSettingByte(int paramIdx, std::uint8_t byte)
{
    const double normalized = byte / static_cast<double>(ParamMaxValue(paramIdx));
    SetParamNormalized(paramIdx, normalized);
    QueueParamForView(paramIdx, normalized, true);
}

void ctrlWaveStomplet::ApplySettingBytes(std::span<const std::uint8_t, kNumParams> bytes)
{
    // Written all at once: nothing of it is an edit, and nothing older may follow it to the box.
    mUIReady = false;
    DropPendingEdit();

    IGraphics* ui = GetUI();
    for (int idx = 0; idx < kNumParams; ++idx)
    {
        // The setting clamps a value beyond its range; its button shows the value it took.
        const std::uint8_t byte = ClampPresetValue(idx, bytes[static_cast<std::size_t>(idx)]);
        SetSettingByte(idx, byte);

        if (!ui)
            continue;
        if (const std::optional<std::string> label = CalibrationLabel(idx, byte))
            if (auto* button =
                    dynamic_cast<IVectorBase*>(ui->GetControlWithTag(CalibrationButtonTagOf(idx))))
                button->SetLabelStr(*label);
    }

    if (ui)
        for (int slot :
             SlotsSelectedByJackModes(GetParam(kJack1Mode)->Int(), GetParam(kJack2Mode)->Int()))
            RebuildSlotSummary(slot);
    // The screen and the box now hold these settings, whatever state came before (a box whose
    // firmware version was refused included): the user's next edits are taken and sent.
    mUIReady = true;
}

void ctrlWaveStomplet::OnDeviceTimer()
{
    if (mModeCheck.Expired(++mDeviceTicks))
        ShowDeviceMode(DeviceMode::kStandalone);
    mFirmware.OnDeviceTick();
}

void ctrlWaveStomplet::ShowDeviceMode(DeviceMode mode)
{
    mDeviceMode = mode;
    const bool standalone = mode == DeviceMode::kStandalone;
    SetControlText(kCtrlTagDeviceText3, standalone ? kStandaloneModeText : kInterfaceModeText);
    if (IGraphics* ui = GetUI())
        ui->HideControl(kCtrlTagStandaloneNotice, !standalone);
}

void ctrlWaveStomplet::OnResetAll()
{
    if (FirmwareTransferRunning())
        return;
    // The reply to the following request carries the new settings: it must be applied, not taken
    // as the confirmation of an earlier exchange.
    mModeCheck.Cancel();
    SendCommand(BuildResetAllRequest());
    SendStatusRequest();
}

void ctrlWaveStomplet::OnCalibrate(int address)
{
    const std::optional<CommandMessage> request = BuildCalibrationRequest(address);
    if (!request || FirmwareTransferRunning())
        return;
    mModeCheck.Cancel();
    SendCommand(*request);
    SendStatusRequest();
}

// ---- Menu requests: About page, manual, firmware window ---------------------------------------

bool ctrlWaveStomplet::OnAboutRequested()
{
    IGraphics* ui = GetUI();
    if (!ui)
        return false;
    ShowAboutPage(*ui);
    return true;
}

bool ctrlWaveStomplet::OnManualRequested()
{
    IGraphics* ui = GetUI();
    PlatformUi* platform = ui ? ui->GetPlatformUi() : nullptr;
    if (!platform)
        return false;
    OpenUserManual(mUserManual, *platform);
    return true;
}

bool ctrlWaveStomplet::OnFirmwareUpdateRequested(int request)
{
    IGraphics* ui = GetUI();
    if (request != kFirmwareWindowRequest || !ui)
        return false;
    // During a transfer its buttons stay disabled: a second image must not start.
    OpenFirmwareWindow(*ui, !FirmwareTransferRunning());
    return true;
}

// ---- Incoming MIDI ----------------------------------------------------------------------------

void ctrlWaveStomplet::HandleMidiMessage(const MidiMessage& msg)
{
    if (mAudition.load(std::memory_order_acquire) && !mFirmwareBusy.load(std::memory_order_acquire))
        SendMidiMessage(msg);
}

void ctrlWaveStomplet::OnMidiForView(const MidiMessage& msg)
{
    IGraphics* ui = GetUI();
    if (!ui)
        return;
    for (const MonitorText& text : MonitorTexts(msg, mSlotMsgs, CurrentValues()))
        SetControlText(text.tag, text.text);
    if (mUIReady || IsNoteOn(msg))
        FlashActivityLight(*ui);
}
