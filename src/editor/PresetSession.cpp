#include "editor/PresetSession.h"

#include "device/SettingsExchange.h"
#include "editor/ctrlWaveStomplet.h"
#include "toolkit/IGraphics.h"
#include "ui/ControlTags.h"

#include <variant>

void PresetSession::Load(const std::string& path)
{
    if (path.empty())
        return;

    const PresetReadResult read = ReadPresetFile(path);
    if (const PresetFileError* error = std::get_if<PresetFileError>(&read))
    {
        switch (*error)
        {
        case PresetFileError::kCannotOpen:
        case PresetFileError::kTooLarge:
            return;
        case PresetFileError::kUnknownFormat:
            mEditor.mDeferredMessage = kUnknownFileFormatText;
            mEditor.mShowDeferredMessage = true;
            return;
        case PresetFileError::kUnsupportedVersion:
            if (IGraphics* ui = mEditor.GetUI())
                ui->ShowMessageBox(kUnsupportedFileVersionText, "", EMsgBoxType::kOk, nullptr);
            return;
        }
        return;
    }

    const PresetValues values = std::get<PresetFileContent>(read).values;
    IGraphics* ui = mEditor.GetUI();
    if (!mEditor.mPresetDirty || !ui)
    {
        Apply(values, path);
        return;
    }
    // The answer may come later from the event loop; the editor outlives the screen, which never
    // runs a completion once it is gone.
    ui->ShowMessageBox(kUnsavedPresetQuestion, "", EMsgBoxType::kOkCancel,
                       [this, values, path](EMsgBoxResult result)
                       {
                           if (result != EMsgBoxResult::kCancel)
                               Apply(values, path);
                       });
}

void PresetSession::Apply(const PresetValues& values, std::string_view path)
{
    // The file's values are written quietly: they go to the box as one message below, not as 38
    // edits.
    mEditor.mUIReady = false;
    for (int idx = 0; idx < kNumParams; ++idx)
    {
        const auto at = static_cast<std::size_t>(idx);
        // The setting clamps a value beyond its range; the number as read is remembered.
        const double normalized = values[at] / static_cast<double>(ParamMaxValue(idx));
        mEditor.SetParamNormalized(idx, normalized);
        mEditor.QueueParamForView(idx, normalized, true);
        mEditor.mPresetValues[at] = values[at];
    }
    // The screen and the box now hold the file's settings, whatever state came before (a box
    // whose firmware version was refused included): the user's next edits are taken and sent.
    mEditor.mUIReady = true;
    // Nothing older may follow the preset to the box.
    mEditor.DropPendingEdit();

    if (mEditor.GetUI())
    {
        for (int slot : SlotsSelectedByJackModes(mEditor.GetParam(kJack1Mode)->Int(),
                                                 mEditor.GetParam(kJack2Mode)->Int()))
            mEditor.RebuildSlotSummary(slot);
        mEditor.SetControlText(kCtrlTagPresetName, PresetDisplayName(path));
    }
    mEditor.mPresetDirty = false;
    mEditor.SendAllSettings();
}

void PresetSession::Save(const std::string& path)
{
    if (path.empty())
        return;

    PresetValues values{};
    for (int idx = 0; idx < kNumParams; ++idx)
        values[static_cast<std::size_t>(idx)] =
            static_cast<std::uint8_t>(mEditor.GetParam(idx)->Int());

    if (const std::optional<AtomicWriteError> error = WritePresetFile(path, values))
    {
        if (IGraphics* ui = mEditor.GetUI())
            ui->ShowMessageBox(std::string(kPresetNotSavedText) + "\n" + error->Describe(), "",
                               EMsgBoxType::kOk, nullptr);
        return;
    }

    for (int idx = 0; idx < kNumParams; ++idx)
        mEditor.mPresetValues[static_cast<std::size_t>(idx)] =
            values[static_cast<std::size_t>(idx)];
    mEditor.SetControlText(kCtrlTagPresetName, PresetDisplayName(path));
    mEditor.mPresetDirty = false;
}
