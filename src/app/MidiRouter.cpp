#include "app/MidiRouter.h"

#include "app/MidiPortNames.h"
#include "core/Trace.h"

#include <algorithm>
#include <utility>

namespace
{
template <typename Port>
std::vector<std::string> ListNames(Port& port)
{
    std::vector<std::string> names;
    const unsigned count = port.PortCount();
    names.reserve(count);
    for (unsigned i = 0; i < count; ++i)
        names.push_back(port.PortName(i));
    return names;
}

// Opens the port listed as `name` at `index`. The system's ports may have changed since they were
// listed, so the index is checked against the name first and, if they no longer agree, the port
// is looked for again by its exact name.
template <typename Port>
MidiPortError OpenListedPort(Port& port, unsigned index, const std::string& name,
                             std::string_view clientPortName)
{
    if (port.PortName(index) != name)
    {
        const std::vector<std::string> names = ListNames(port);
        const auto found = std::find(names.begin(), names.end(), name);
        if (found == names.end())
            return std::string("the port has gone");
        index = static_cast<unsigned>(found - names.begin());
    }
    return port.OpenPort(index, clientPortName);
}

bool Contains(const std::vector<std::string>& names, const std::string& name)
{
    return std::find(names.begin(), names.end(), name) != names.end();
}
} // namespace

MidiRouter::MidiRouter(IPlugAPP& app, AppSettings& settings, DiagnosticSink sink)
    : mApp(app), mSettings(settings), mSink(std::move(sink))
{
    mApp.SetHostLink(this);
}

MidiRouter::~MidiRouter()
{
    mApp.SetHostLink(nullptr);
    ReleasePorts();
}

bool MidiRouter::CreateMidiPorts(MidiPortFactory& factory)
{
    mNotices.reset();
    mFactory = &factory;
    if (!MakePortObjects(factory))
        return false;
    mNotices = factory.CreateNotices();
    return true;
}

bool MidiRouter::MakePortObjects(MidiPortFactory& factory)
{
    DestroyPortObjects();

    auto input = factory.CreateInput();
    if (!input.port)
    {
        ReportNoSystem(factory, input.error);
        return false;
    }
    mInput = std::move(input.port);

    auto output = factory.CreateOutput();
    if (!output.port)
    {
        ReportNoSystem(factory, output.error);
        return false;
    }
    {
        std::lock_guard lock(mOutputMutex);
        mOutput = std::move(output.port);
    }

    mInput->SetCallback(&MidiRouter::MidiInputCallback, this);
    mInput->IgnoreTypes(false, true, false);
    return true;
}

std::vector<std::string> MidiRouter::ReadInputNames()
{
    return ListNames(*mInput);
}

std::vector<std::string> MidiRouter::ReadOutputNames()
{
    std::lock_guard lock(mOutputMutex);
    return ListNames(*mOutput);
}

std::string& MidiRouter::Setting(MidiRoute route)
{
    return route == MidiRoute::kInput ? mSettings.midiInputPort : mSettings.midiOutputPort;
}

bool MidiRouter::HasPortObject(MidiRoute route) const
{
    // mOutput changes only on this (the main) thread, so reading it here needs no lock.
    return route == MidiRoute::kInput ? mInput != nullptr : mOutput != nullptr;
}

bool MidiRouter::Rebuild(std::vector<std::string>& list, const std::vector<std::string>& names)
{
    const bool current = list.size() == names.size() + 1 && list.front() == kMidiPortOff &&
                         std::equal(names.begin(), names.end(), list.begin() + 1);
    if (current)
        return false;
    list.clear();
    list.reserve(names.size() + 1);
    list.emplace_back(kMidiPortOff);
    list.insert(list.end(), names.begin(), names.end());
    return true;
}

bool MidiRouter::RefreshPortLists()
{
    if (!HasPortObjects())
        return false;

    bool rebuilt = false;
    for (const MidiRoute route : {MidiRoute::kInput, MidiRoute::kOutput})
    {
        const std::vector<std::string> names =
            route == MidiRoute::kInput ? ReadInputNames() : ReadOutputNames();
        if (!Rebuild(route == MidiRoute::kInput ? mInputNames : mOutputNames, names))
            continue;
        rebuilt = true;
        const std::optional<std::string>& open = OpenPortName(route);
        if (open && !Contains(names, *open))
            DropSelection(route);
        else if (!open && mRemembered[Index(route)] && FindMidiPort(names, Setting(route)))
            Reconnect(route);
    }
    if (rebuilt && mListsChanged)
        mListsChanged();
    return rebuilt;
}

void MidiRouter::Reconnect(MidiRoute route)
{
    Trace("MIDI %s port \"%s\" is back: reopening it\n",
          route == MidiRoute::kInput ? "input" : "output", Setting(route).c_str());
    SelectMidiPort(route, Setting(route));
    if (route == MidiRoute::kOutput && mOpenOutput)
        mApp.OnMidiOutputPortSelected(*mOpenOutput);
}

void MidiRouter::ProbeMidiPorts()
{
    switch (mNotices ? mNotices->Take() : MidiPortNotice::kPortsChanged)
    {
    case MidiPortNotice::kNone:
        return;
    case MidiPortNotice::kPortsChanged:
        RefreshPortLists();
        return;
    case MidiPortNotice::kSystemStopped:
        Report(mFactory->SystemName() + " stopped; its ports are closed until it runs again");
        mAbsenceReported = true;
        // The connections went with the system, even if it is already back with ports of the
        // same names: like an unplugged port's, a selection turns "off" and is reopened once its
        // port is listed again.
        MakePortObjects(*mFactory);
        ListNoPorts();
        return;
    case MidiPortNotice::kSystemAbsent:
        if (!std::exchange(mAbsenceReported, true))
            Report("no MIDI: " + mFactory->SystemName() +
                   " is not running; its ports are listed once it runs");
        ListNoPorts();
        return;
    case MidiPortNotice::kSystemStarted:
        mAbsenceReported = false;
        if (MakePortObjects(*mFactory))
            RefreshPortLists();
        return;
    }
}

void MidiRouter::ListNoPorts()
{
    Rebuild(mInputNames, {});
    Rebuild(mOutputNames, {});
    for (const MidiRoute route : {MidiRoute::kInput, MidiRoute::kOutput})
        if (Setting(route) != kMidiPortOff && !mRemembered[Index(route)])
            DropSelection(route);
}

void MidiRouter::DropSelection(MidiRoute route)
{
    mRemembered[Index(route)] = Setting(route) != kMidiPortOff;
    if (HasPortObject(route))
        ClosePort(route);
    if (route == MidiRoute::kOutput)
        mApp.OnMidiOutputPortSelected(kMidiPortOff);
}

bool MidiRouter::SelectMidiPort(MidiRoute route, std::string_view requested)
{
    // A copy: `requested` may be the very setting that is changed below.
    const std::string name(requested);
    std::optional<unsigned> target;
    std::string targetName;
    bool forcedOff = false;

    if (name != kMidiPortOff)
    {
        if (!HasPortObject(route))
            return false;
        const std::vector<std::string> names =
            route == MidiRoute::kInput ? ReadInputNames() : ReadOutputNames();
        if (const auto index = FindMidiPort(names, name))
        {
            target = static_cast<unsigned>(*index);
            targetName = names[*index];
            if (targetName != name)
                Setting(route) = targetName;
        }
        else
        {
            forcedOff = true;
        }
    }

    if (!HasPortObject(route))
        return false;
    // A name that finds no port now is remembered, to be reopened once its port appears.
    mRemembered[Index(route)] = forcedOff;
    ClosePort(route);
    if (target)
        OpenPort(route, *target, targetName);
    if (forcedOff && route == MidiRoute::kOutput)
        mApp.OnMidiOutputPortSelected(kMidiPortOff);
    return true;
}

void MidiRouter::ClosePort(MidiRoute route)
{
    if (route == MidiRoute::kInput)
    {
        mInput->ClosePort();
        mOpenInput.reset();
        return;
    }
    std::lock_guard lock(mOutputMutex);
    mOutput->ClosePort();
    mOpenOutput.reset();
}

void MidiRouter::OpenPort(MidiRoute route, unsigned index, const std::string& name)
{
    MidiPortError error;
    if (route == MidiRoute::kInput)
    {
        error = OpenListedPort(*mInput, index, name, kInputClientPortName);
        if (!error)
            mOpenInput = name;
    }
    else
    {
        std::lock_guard lock(mOutputMutex);
        error = OpenListedPort(*mOutput, index, name, kOutputClientPortName);
        if (!error)
            mOpenOutput = name;
    }
    if (error)
        Report(std::string("cannot open the MIDI ") +
               (route == MidiRoute::kInput ? "input" : "output") + " port \"" + name +
               "\": " + *error);
}

const std::vector<std::string>& MidiRouter::PortNameList(MidiRoute route) const
{
    return route == MidiRoute::kInput ? mInputNames : mOutputNames;
}

const std::optional<std::string>& MidiRouter::OpenPortName(MidiRoute route) const
{
    return route == MidiRoute::kInput ? mOpenInput : mOpenOutput;
}

bool MidiRouter::SendToOutputPort(const std::uint8_t* bytes, std::size_t size)
{
    std::lock_guard lock(mOutputMutex);
    if (!mOutput)
        return false;
    if (bytes && size > 0)
        mOutput->SendMessage(bytes, size);
    return true;
}

void MidiRouter::ReleasePorts()
{
    SetExiting();
    mNotices.reset();
    DestroyPortObjects();
}

void MidiRouter::DestroyPortObjects()
{
    if (mInput)
        mInput->CancelCallback();
    {
        std::lock_guard lock(mOutputMutex);
        if (mOutput)
            mOutput->ClosePort();
        mOutput.reset();
    }
    mInput.reset();
    mInputNames.clear();
    mOutputNames.clear();
    mOpenInput.reset();
    mOpenOutput.reset();
}

void MidiRouter::MidiInputCallback(const std::uint8_t* bytes, std::size_t size,
                                   void* userData) noexcept
{
    auto* router = static_cast<MidiRouter*>(userData);
    if (!router || !bytes || size == 0 || router->Exiting())
        return;
    router->mApp.EnqueueMidiFromPort(bytes, size);
}

void MidiRouter::ReportNoSystem(const MidiPortFactory& factory, const std::string& why) const
{
    Trace("MIDI port object not made: %s\n", why.c_str());
    Report("no MIDI: " + factory.SystemName() + " cannot be reached; MIDI stays off");
}

void MidiRouter::Report(const std::string& line) const
{
    if (mSink)
        mSink(line);
}
