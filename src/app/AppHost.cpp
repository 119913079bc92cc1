#include "app/AppHost.h"

#include "core/IPlugAPP.h"
#include "core/Trace.h"
#include "device/DeviceStatus.h"

#include <algorithm>

namespace
{
// The version handed to the host identity: 1.0.0 as major << 16 | minor << 8 | patch.
constexpr int kAppVersion = 0x10000;
} // namespace

AppHost::AppHost(std::unique_ptr<IPlugAPP> app, MidiPortFactory& ports,
                 const std::filesystem::path& settingsFolder, DiagnosticSink sink)
    : mSink(std::move(sink)), mApp(std::move(app)), mStore(settingsFolder), mAudio(*mApp),
      mRouter(*mApp, mSettings, [this](std::string_view line) { Report(line); }), mPorts(ports)
{
}

AppHost::~AppHost()
{
    mRouter.SetExiting();
    mAudio.Stop();
    mRouter.ReleasePorts();
}

AppHost::StartResult AppHost::Start()
{
    mApp->SetHost("standalone", kAppVersion);

    for (const SettingsError& error : mStore.LoadSettings(mSettings))
        Report(error.message);
    mPortsNeverChosen = mStore.MidiPortsNeverChosen();

    mAudio.CreateAudio(mSettings.audioDriver);

    if (mRouter.CreateMidiPorts(mPorts))
    {
        mRouter.RefreshPortLists();
        mRouter.SelectMidiPort(MidiRoute::kInput, mSettings.midiInputPort);
        mRouter.SelectMidiPort(MidiRoute::kOutput, mSettings.midiOutputPort);
        FindBoxOnFirstStart();
        mRouter.SetListsChangedFunction([this] { FindBoxOnFirstStart(); });
    }

    mApp->AnnounceAllParams(ParamSource::kReset);
    mApp->OnMidiOutputPortSelected(OpenOutputName());

    return ApplyAudioSettings();
}

void AppHost::FindBoxOnFirstStart()
{
    if (!mPortsNeverChosen || mRouter.OpenPortName(MidiRoute::kInput) ||
        mRouter.OpenPortName(MidiRoute::kOutput))
        return;
    const auto onlyBox = [this](MidiRoute route) -> std::optional<std::string>
    {
        std::optional<std::string> found;
        for (const std::string& name : mRouter.PortNameList(route))
        {
            if (!IsStompletPortName(name))
                continue;
            if (found)
                return std::nullopt; // two boxes: the user chooses
            found = name;
        }
        return found;
    };
    const std::optional<std::string> input = onlyBox(MidiRoute::kInput);
    const std::optional<std::string> output = onlyBox(MidiRoute::kOutput);
    if (!input || !output)
        return;
    Trace("first start: the box's ports \"%s\" and \"%s\" are chosen\n", input->c_str(),
          output->c_str());
    PickPort(MidiRoute::kInput, *input);
    PickPort(MidiRoute::kOutput, *output);
    SaveSettings();
    mApp->OnMidiOutputPortSelected(OpenOutputName());
}

std::string AppHost::OpenOutputName() const
{
    return mRouter.OpenPortName(MidiRoute::kOutput).value_or(std::string(kMidiPortOff));
}

void AppHost::UseSettingsWithoutFile(const AppSettings& settings)
{
    mSettings = settings;
    mStore.DetachFromFile();
}

AppHost::StartResult AppHost::ApplyAudioSettings()
{
    const AudioHost::ApplyResult result = mAudio.ApplyAudioSettings(mSettings);
    if (result.defaultTaken)
        SaveSettings();
    // The user hears of a failure from the caller; the library's words go to the trace.
    if (!result.error.empty())
        Trace("audio stream: %s\n", result.error.c_str());
    const bool failed = result.deviceMissing || !result.error.empty();
    mAppliedToAudio = failed ? std::nullopt : std::optional<AppSettings>(mSettings);
    return {failed};
}

void AppHost::SaveSettings()
{
    if (auto error = mStore.SaveSettings(mSettings))
        Report(error->message);
}

void AppHost::RenewIdlePortObjects()
{
    if (mRouter.OpenPortName(MidiRoute::kInput) || mRouter.OpenPortName(MidiRoute::kOutput))
        return;
    if (mRouter.CreateMidiPorts(mPorts))
        mRouter.RefreshPortLists();
}

void AppHost::BeginPreferences()
{
    mDialogSnapshot = mSettings;
}

int AppHost::PreferencesSelection(MidiRoute route) const
{
    const std::vector<std::string>& names = mRouter.PortNameList(route);
    const std::string& setting =
        route == MidiRoute::kInput ? mSettings.midiInputPort : mSettings.midiOutputPort;
    const auto listed = std::find(names.begin(), names.end(), setting);
    return listed == names.end() ? 0 : static_cast<int>(listed - names.begin());
}

void AppHost::PickPort(MidiRoute route, std::string_view name)
{
    // A port chosen, "off" included, ends the search for the box of a first start.
    mPortsNeverChosen = false;
    if (route == MidiRoute::kInput)
    {
        mSettings.midiInputPort = std::string(name);
        mSettings.midiInputChannel = 0;
    }
    else
    {
        mSettings.midiOutputPort = std::string(name);
        mSettings.midiOutputChannel = 0;
    }
    mRouter.SelectMidiPort(route, name);
}

AppHost::StartResult AppHost::ApplyPreferences()
{
    return ApplyAudioSettings();
}

AppHost::StartResult AppHost::AcceptPreferences()
{
    StartResult result;
    if (!mAppliedToAudio || !(mSettings == *mAppliedToAudio))
        result = ApplyAudioSettings();
    mApp->OnMidiOutputPortSelected(OpenOutputName());
    SaveSettings();
    return result;
}

AppHost::StartResult AppHost::CancelPreferences()
{
    if (mSettings == mDialogSnapshot)
        return {};
    mSettings = mDialogSnapshot;
    mAudio.CreateAudio(mSettings.audioDriver);
    const StartResult result = ApplyAudioSettings();
    mRouter.SelectMidiPort(MidiRoute::kInput, mSettings.midiInputPort);
    mRouter.SelectMidiPort(MidiRoute::kOutput, mSettings.midiOutputPort);
    return result;
}

void AppHost::Report(std::string_view line) const
{
    if (mSink)
        mSink(line);
}
