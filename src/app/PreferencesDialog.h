#pragma once

#include <QDialog>
#include <functional>

class AppHost;
class QComboBox;

// The message that tells the user the audio stream could not start (no output device, or the
// stream failed); it opens without blocking and closes itself. `parent` may be null.
// [main thread]
void ShowSoundcardMessage(QWidget* parent);

// File > Preferences: the MIDI input and output port lists. A pick takes effect at once; Apply
// restarts audio; OK keeps the picks, announces the output port to the editor and writes the
// settings; Cancel (also Escape and the close box) restores the settings and ports from before.
// Whenever Apply, OK or Cancel starts the audio side and it fails, ShowSoundcardMessage tells the
// user, unless `tellAudioFailures` is false (the demo, which needs no sound card).
// On OK, a settings file that could not be read at start-up is replaced only when the user says
// yes; a read-only one is never written, which the first OK of the session says.
// [main thread]
class PreferencesDialog final : public QDialog
{
public:
    // How the dialog asks and tells; empty members use message boxes over the dialog.
    struct Prompts
    {
        std::function<bool(const QString& question)> ask; // true: yes
        std::function<void(const QString& notice)> tell;
    };

    explicit PreferencesDialog(AppHost& host, QWidget* parent = nullptr,
                               bool tellAudioFailures = true, Prompts prompts = {});

    QComboBox* InputList() const { return mInput; }
    QComboBox* OutputList() const { return mOutput; }

    void done(int result) override;

    // Runs the dialog modally. Returns true when it ended with OK.
    static bool Run(AppHost& host, QWidget* parent, bool tellAudioFailures);

private:
    void Fill();
    // `parent` shows the soundcard message when `audioFailed`.
    void TellAudioResult(bool audioFailed, QWidget* parent) const;

    void ConfirmSettingsFile();

    AppHost& mHost;
    bool mTellAudioFailures;
    Prompts mPrompts;
    QComboBox* mInput;
    QComboBox* mOutput;
};
