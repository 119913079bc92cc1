#include "JackMidiEndpoint.h"

namespace e2e
{
namespace
{
template <typename Port>
MidiPortError OpenByName(Port& port, std::string_view name, std::string_view ownPortName)
{
    for (unsigned i = 0; i < port.PortCount(); ++i)
    {
        if (port.PortName(i) == name)
            return port.OpenPort(i, ownPortName);
    }
    return "no port is called \"" + std::string(name) + "\"";
}
} // namespace

JackMidiEndpoint::JackMidiEndpoint(const std::string& clientPrefix)
    : mFactory(MidiSystem::kJack, clientPrefix)
{
}

JackMidiEndpoint::~JackMidiEndpoint()
{
    if (mInput)
    {
        mInput->CancelCallback();
        mInput->ClosePort();
    }
    if (mOutput)
        mOutput->ClosePort();
}

MidiPortError JackMidiEndpoint::ConnectOutputTo(std::string_view portName)
{
    if (!mOutput)
    {
        MidiPortCreation<MidiOutputPort> created = mFactory.CreateOutput();
        if (!created.port)
            return created.error;
        mOutput = std::move(created.port);
    }
    return OpenByName(*mOutput, portName, "out");
}

MidiPortError JackMidiEndpoint::ConnectInputFrom(std::string_view portName)
{
    if (!mInput)
    {
        MidiPortCreation<MidiInputPort> created = mFactory.CreateInput();
        if (!created.port)
            return created.error;
        mInput = std::move(created.port);
        mInput->IgnoreTypes(false, false, false);
        mInput->SetCallback(&JackMidiEndpoint::OnMessage, this);
    }
    return OpenByName(*mInput, portName, "in");
}

void JackMidiEndpoint::Send(std::span<const std::uint8_t> bytes)
{
    if (mOutput)
        mOutput->SendMessage(bytes.data(), bytes.size());
}

std::vector<std::vector<std::uint8_t>> JackMidiEndpoint::Received() const
{
    std::lock_guard lock(mMutex);
    return mReceived;
}

bool JackMidiEndpoint::WaitForReceived(std::size_t count, std::chrono::milliseconds limit) const
{
    std::unique_lock lock(mMutex);
    return mArrived.wait_for(lock, limit, [&] { return mReceived.size() >= count; });
}

void JackMidiEndpoint::OnMessage(const std::uint8_t* bytes, std::size_t size, void* userData)
{
    auto* self = static_cast<JackMidiEndpoint*>(userData);
    std::lock_guard lock(self->mMutex);
    self->mReceived.emplace_back(bytes, bytes + size);
    self->mArrived.notify_all();
}
} // namespace e2e
