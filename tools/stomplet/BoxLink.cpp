#include "BoxLink.h"

#include "device/ModeDecision.h"
#include "midi/LibraryDiagnostics.h"

#include <algorithm>

namespace
{
constexpr std::string_view kClientPortName = "stomplet";
constexpr std::chrono::milliseconds kStopCheck{100};

std::vector<std::string> Names(MidiPort& port)
{
    std::vector<std::string> names;
    const unsigned count = port.PortCount();
    for (unsigned i = 0; i < count; ++i)
        names.push_back(port.PortName(i));
    return names;
}

std::optional<unsigned> FirstWithPrefix(const std::vector<std::string>& names,
                                        std::string_view prefix)
{
    const auto found =
        std::find_if(names.begin(), names.end(),
                     [prefix](const std::string& name) { return name.starts_with(prefix); });
    if (found == names.end())
        return std::nullopt;
    return static_cast<unsigned>(found - names.begin());
}
} // namespace

std::optional<std::string> BoxLink::Create(MidiPortFactory& factory, std::unique_ptr<BoxLink>& link)
{
    std::unique_ptr<BoxLink> made(new BoxLink());
    const auto unreachable = [&factory](const std::string& why)
    {
        return "no MIDI: " + factory.SystemName() + " cannot be reached" +
               (LibraryDiagnosticsShown() ? " (" + why + ")" : std::string());
    };
    MidiPortCreation<MidiInputPort> input = factory.CreateInput();
    if (!input.port)
        return unreachable(input.error);
    MidiPortCreation<MidiOutputPort> output = factory.CreateOutput();
    if (!output.port)
        return unreachable(output.error);
    made->mInput = std::move(input.port);
    made->mOutput = std::move(output.port);
    link = std::move(made);
    return std::nullopt;
}

BoxLink::~BoxLink()
{
    if (mInput)
    {
        mInput->CancelCallback();
        mInput->ClosePort();
    }
    if (mOutput)
        mOutput->ClosePort();
}

BoxLink::PortLists BoxLink::ListPorts()
{
    return {Names(*mOutput), Names(*mInput)};
}

std::optional<std::string> BoxLink::Open(std::string_view prefix)
{
    const PortLists lists = ListPorts();
    const std::optional<unsigned> output = FirstWithPrefix(lists.outputs, prefix);
    const std::optional<unsigned> input = FirstWithPrefix(lists.inputs, prefix);
    const std::string quoted = "\"" + std::string(prefix) + "\"";
    if (!output)
        return "no MIDI output port begins with " + quoted + " (see stomplet ports)";
    if (!input)
        return "no MIDI input port begins with " + quoted + " (see stomplet ports)";
    mInput->IgnoreTypes(false, false, false);
    mInput->SetCallback(&BoxLink::OnMessage, this);
    if (MidiPortError error = mInput->OpenPort(*input, kClientPortName))
        return "cannot open the input port \"" + lists.inputs[*input] + "\": " + *error;
    if (MidiPortError error = mOutput->OpenPort(*output, kClientPortName))
        return "cannot open the output port \"" + lists.outputs[*output] + "\": " + *error;
    mOutputName = lists.outputs[*output];
    mInputName = lists.inputs[*input];
    return std::nullopt;
}

void BoxLink::Send(std::span<const std::uint8_t> bytes)
{
    mOutput->SendMessage(bytes.data(), bytes.size());
}

std::optional<BoxLink::Bytes> BoxLink::Receive(Clock::time_point deadline,
                                               const volatile std::sig_atomic_t* stop)
{
    std::unique_lock lock(mMutex);
    while (mReceived.empty())
    {
        if ((stop && *stop) || Clock::now() >= deadline)
            return std::nullopt;
        const Clock::time_point wakeUp =
            stop ? std::min(deadline, Clock::now() + kStopCheck) : deadline;
        mArrived.wait_until(lock, wakeUp);
    }
    Bytes message = std::move(mReceived.front());
    mReceived.pop_front();
    return message;
}

void BoxLink::Discard()
{
    std::lock_guard lock(mMutex);
    mReceived.clear();
}

std::optional<StatusReply> BoxLink::RequestStatus(std::chrono::milliseconds timeout)
{
    const Clock::time_point deadline = Clock::now() + timeout;
    while (Clock::now() < deadline)
    {
        Send(BuildStatusRequest());
        const Clock::time_point repeat = std::min(deadline, Clock::now() + kRequestRepeat);
        while (const std::optional<Bytes> message = Receive(repeat))
            if (std::optional<StatusReply> reply = RecogniseStatusReply(*message))
                return reply;
    }
    return std::nullopt;
}

bool BoxLink::ConfirmInterfaceMode()
{
    const Clock::time_point start = Clock::now();
    const auto elapsedMs = [start]
    { return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count(); };
    ModeDecision decision(kConfirmWindowMs);
    decision.Await(0);
    Send(BuildStatusRequest());
    while (!decision.Expired(elapsedMs()))
    {
        const Clock::time_point deadline = start + std::chrono::milliseconds(kConfirmWindowMs + 1);
        const std::optional<Bytes> message = Receive(deadline);
        if (message && RecogniseStatusReply(*message))
            return decision.Confirm();
    }
    return false;
}

void BoxLink::OnMessage(const std::uint8_t* bytes, std::size_t size, void* userData)
{
    auto* self = static_cast<BoxLink*>(userData);
    {
        std::lock_guard lock(self->mMutex);
        self->mReceived.emplace_back(bytes, bytes + size);
    }
    self->mArrived.notify_one();
}
