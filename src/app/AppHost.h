#pragma once

#include "app/AppSettings.h"
#include "app/AudioHost.h"
#include "app/MidiRouter.h"
#include "app/SettingsStore.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

class IPlugAPP;
class MidiPortFactory;

// The host of the application object: its settings, its MIDI ports and the audio side that drives
// its pump. Start-up and shutdown run in a fixed order; the members are declared so that
// destruction takes the ports down before the application object, which goes last.
// [main thread]
class AppHost
{
public:
    using DiagnosticSink = std::function<void(std::string_view line)>;

    struct StartResult
    {
        // No output device, or the stream failed: tell the user to check the soundcard settings.
        // The pump thread then drives MIDI.
        bool audioFailed = false;
    };

    // `ports` makes the MIDI port objects and must outlive the host. `sink` gets one line per
    // problem worth printing (library errors, a settings file that cannot be written).
    AppHost(std::unique_ptr<IPlugAPP> app, MidiPortFactory& ports,
            const std::filesystem::path& settingsFolder, DiagnosticSink sink);
    // Sets the exiting flag, stops the audio side (bounded), removes the input callback, closes
    // and destroys the ports, and destroys the application object last.
    ~AppHost();
    AppHost(const AppHost&) = delete;
    AppHost& operator=(const AppHost&) = delete;

    // The start-up sequence up to the window: host identity, settings, audio devices, MIDI ports
    // and their first probe and selection (or, when no port was ever chosen in the settings
    // folder, the box's ports if exactly one pair is there: see FindBoxOnFirstStart), every
    // parameter announced with "Reset", the output port open (or "off") announced to the
    // application, the audio stream (or the pump thread) started.
    StartResult Start();
    // Before Start: the host runs on `settings` and never reads or writes the settings file
    // (the demo mode; no start-up, probe, port selection or Preferences OK touches it).
    void UseSettingsWithoutFile(const AppSettings& settings);

    IPlugAPP& App() { return *mApp; }
    MidiRouter& Router() { return mRouter; }
    const AppSettings& Settings() const { return mSettings; }
    void SaveSettings();

    // The Preferences dialog's moments.
    // With no port open, replaces the port objects before the lists are filled: objects of a MIDI
    // system that went away (a JACK server stopped) list nothing for good, even once it is back.
    void RenewIdlePortObjects();
    void BeginPreferences();                               // snapshot of the current settings
    void PickPort(MidiRoute route, std::string_view name); // takes effect at once
    // The dialog's port lists: "off" and every port. The index to select in each list: the
    // setting's port, or "off" (0) for a setting that is not listed.
    int PreferencesSelection(MidiRoute route) const;
    StartResult ApplyPreferences();  // Apply: restart audio
    StartResult AcceptPreferences(); // OK: audio if changed or not yet running, port announced,
                                     // file written
    StartResult CancelPreferences(); // Cancel: snapshot restored (audio restarted if it changed),
                                     // ports reopened
    // What start-up found at the settings file; for Preferences to ask before replacing a file it
    // could not read, and to say that a read-only file keeps the choices for this session only.
    SettingsStore::FileState SettingsFileState() const { return mStore.State(); }
    const std::filesystem::path& SettingsFilePath() const { return mStore.FilePath(); }
    void AllowReplacingUnreadableSettings() { mStore.AllowReplacingUnreadableFile(); }
    // True the first time it is asked, false ever after: a notice shown once per session.
    bool FirstReadOnlyNotice() { return !std::exchange(mReadOnlyNoticeGiven, true); }

private:
    StartResult ApplyAudioSettings();
    // While no port has ever been chosen in the settings folder (a first start, or a file without
    // MIDI port keys) and both routes are closed: when exactly one output port and exactly one
    // input port have names that begin with the box's name, both are chosen as if picked in
    // Preferences, written to the file and announced. Runs at start-up and whenever the port
    // lists change, until a port is chosen by this or by the user.
    void FindBoxOnFirstStart();
    // The output port open now, or "off".
    std::string OpenOutputName() const;
    void Report(std::string_view line) const;

    DiagnosticSink mSink;
    std::unique_ptr<IPlugAPP> mApp;
    SettingsStore mStore;
    AppSettings mSettings;       // current
    AppSettings mDialogSnapshot; // taken when Preferences opens
    // The settings the audio side last started with successfully; empty after a failure, so
    // that OK tries again.
    std::optional<AppSettings> mAppliedToAudio;
    AudioHost mAudio;
    MidiRouter mRouter;
    MidiPortFactory& mPorts;
    bool mReadOnlyNoticeGiven = false;
    bool mPortsNeverChosen = false;
};
