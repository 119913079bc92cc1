#include "editor/PresetSession.h"

#include "device/SettingsExchange.h"
#include "toolkit/IGraphics.h"
#include "ui/ControlTags.h"
#include "ui/ScreenText.h"

#include <algorithm>
#include <variant>

void PresetSession::Load(const std::string& path)
{
    if (path.empty())
        return;

    const PresetReadResult read = ReadPresetFile(path);
    if (const PresetFileRefusal* refusal = std::get_if<PresetFileRefusal>(&read))
    {
        switch (refusal->error)
        {
        case PresetFileError::kCannotOpen:
        case PresetFileError::kTooLarge:
            return;
        case PresetFileError::kUnknownFormat:
            mEditor.ShowMessageLater(kUnknownFileFormatText);
            return;
        case PresetFileError::kUnsupportedVersion:
            if (IGraphics* ui = mEditor.Screen())
                ui->ShowMessageBox(kUnsupportedFileVersionText, "", EMsgBoxType::kOk, nullptr);
            return;
        }
        return;
    }

    const PresetValues values = std::get<PresetFileContent>(read).values;
    IGraphics* ui = mEditor.Screen();
    if (!mModified || !ui)
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
    mEditor.TakeSettings(values);
    Remember(values, path);
}

void PresetSession::Save(const std::string& path)
{
    if (path.empty())
        return;

    const PresetValues values = mEditor.SettingsBytes();
    if (const std::optional<AtomicWriteError> error = WritePresetFile(path, values))
    {
        if (IGraphics* ui = mEditor.Screen())
            ui->ShowMessageBox(std::string(kPresetNotSavedText) + "\n" + error->Describe(), "",
                               EMsgBoxType::kOk, nullptr);
        return;
    }
    Remember(values, path);
}

void PresetSession::Remember(const PresetValues& values, std::string_view path)
{
    std::copy(values.begin(), values.end(), mPresetValues.begin());
    mModified = false;
    SetControlText(mEditor.Screen(), kCtrlTagPresetName, PresetDisplayName(path));
}

void PresetSession::NoteReceived(std::span<const std::uint8_t, kNumParams> received)
{
    mModified = DiffersFromPreset(received, mPresetValues);
}
