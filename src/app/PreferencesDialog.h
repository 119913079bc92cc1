#pragma once

#include <QDialog>

class AppHost;
class QComboBox;

// File > Preferences: the MIDI input and output port lists. A pick takes effect at once; Apply
// restarts audio; OK keeps the picks, announces the output port to the editor and writes the
// settings; Cancel (also Escape and the close box) restores the settings and ports from before.
// [main thread]
class PreferencesDialog final : public QDialog
{
public:
    PreferencesDialog(AppHost& host, QWidget* parent = nullptr);

    QComboBox* InputList() const { return mInput; }
    QComboBox* OutputList() const { return mOutput; }

    void done(int result) override;

    // Runs the dialog modally. Returns true when it ended with OK.
    static bool Run(AppHost& host, QWidget* parent);

private:
    void Fill();

    AppHost& mHost;
    QComboBox* mInput;
    QComboBox* mOutput;
};
