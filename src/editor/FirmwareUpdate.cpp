#include "editor/FirmwareUpdate.h"

#include "core/Timer.h"
#include "device/FirmwareImage.h"
#include "toolkit/IGraphics.h"
#include "ui/ControlTags.h"
#include "ui/PageOverlays.h"
#include "ui/ScreenText.h"

#include <variant>

namespace
{
// The output port name that means none is open.
constexpr std::string_view kNoPort = "off";
} // namespace

void FirmwareUpdate::Load(const std::string& path)
{
    // A running transfer keeps its store and count whatever is chosen now: a mixture of two
    // images, or blocks cleared under it, would corrupt the box's firmware.
    if (Running() || path.empty())
        return;

    if (mOutputPort.empty() || mOutputPort == kNoPort)
    {
        ShowMessage(kFirmwareNoOutputText);
        return;
    }

    const FirmwareImageResult read = ReadFirmwareFile(path);
    if (const FirmwareImageError* error = std::get_if<FirmwareImageError>(&read))
    {
        if (*error == FirmwareImageError::kEmpty)
            ShowMessage(kEmptyFirmwareText);
        return;
    }

    const std::optional<FirmwareStartMessage> start =
        mTransfer.Begin(std::get<FirmwareImage>(read), TimerClockNowMs());
    if (!start)
        return;
    mTransferPort = mOutputPort;
    mEditor.OnFirmwareTransferStarted();
    mEditor.SendToBox(start->Message());

    if (IGraphics* ui = mEditor.Screen())
    {
        ui->HideGroup(kGroupFirmware, false);
        ui->DisableGroup(kGroupFirmwareUpdate, true);
    }
}

void FirmwareUpdate::OnDeviceTick()
{
    if (!Running())
        return;

    const FirmwareTransfer::Step step = mTransfer.Tick(TimerClockNowMs());
    switch (step.kind)
    {
    case FirmwareTransfer::Step::Kind::kNothing:
        return;
    case FirmwareTransfer::Step::Kind::kBlock:
        mEditor.SendToBox(step.block.Message());
        SetControlText(mEditor.Screen(), kCtrlTagFirmwareProgress,
                       FirmwareProgressText(step.blocksSent, step.blockCount));
        return;
    case FirmwareTransfer::Step::Kind::kFinished:
        End(kFirmwareFinishedText, true);
        return;
    }
}

void FirmwareUpdate::OnOutputPortSelected(std::string_view portName)
{
    mOutputPort = portName;
    if (!Running() || portName == mTransferPort)
        return;
    mTransfer.Abort();
    // What was held back was meant for the box on the old port; the new port gets its own
    // status check.
    End(kFirmwareFailedText, false);
}

void FirmwareUpdate::End(std::string_view text, bool sendHeldBack)
{
    mEditor.OnFirmwareTransferEnded(sendHeldBack);
    // The box opens without blocking the tick; its dismissal, whatever the button, closes the
    // overlays. Without a screen there is nothing to show or to close.
    if (IGraphics* ui = mEditor.Screen())
        ui->ShowMessageBox(text, "", EMsgBoxType::kOk,
                           [ui](EMsgBoxResult) { CloseFirmwareOverlays(*ui); });
}

void FirmwareUpdate::ShowMessage(std::string_view text)
{
    if (IGraphics* ui = mEditor.Screen())
        ui->ShowMessageBox(text, "", EMsgBoxType::kOk, nullptr);
}
