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
    made->mFactory = &factory;
    made->mInputs.push_back(
        std::make_unique<Listener>(Listener{made.get(), 0, std::move(input.port)}));
    made->mOutput = std::move(output.port);
    link = std::move(made);
    return std::nullopt;
}

BoxLink::~BoxLink()
{
    for (const std::unique_ptr<Listener>& listener : mInputs)
    {
        listener->port->CancelCallback();
        listener->port->ClosePort();
    }
    if (mOutput)
        mOutput->ClosePort();
}

BoxLink::PortLists BoxLink::ListPorts()
{
    return {Names(*mOutput), Names(*mInputs.front()->port)};
}

std::variant<std::pair<unsigned, unsigned>, std::string>
BoxLink::Choose(const PortLists& lists, const PortChoice& choice) const
{
    const auto pick = [&choice](const std::vector<std::string>& names, const std::string& exact,
                                const char* direction) -> std::variant<unsigned, std::string>
    {
        if (!exact.empty())
        {
            const auto found = std::find(names.begin(), names.end(), exact);
            if (found == names.end())
                return std::string("no MIDI ") + direction + " port is called \"" + exact +
                       "\" (see stomplet ports)";
            return static_cast<unsigned>(found - names.begin());
        }
        if (const std::optional<unsigned> first = FirstWithPrefix(names, choice.prefix))
            return *first;
        return std::string("no MIDI ") + direction + " port begins with \"" + choice.prefix +
               "\" (see stomplet ports)";
    };
    const std::variant<unsigned, std::string> output =
        choice.inputOnly ? std::variant<unsigned, std::string>(0u)
                         : pick(lists.outputs, choice.outputName, "output");
    if (const std::string* error = std::get_if<std::string>(&output))
        return *error;
    const std::variant<unsigned, std::string> input = pick(lists.inputs, choice.inputName, "input");
    if (const std::string* error = std::get_if<std::string>(&input))
        return *error;
    return std::pair{std::get<unsigned>(output), std::get<unsigned>(input)};
}

std::optional<std::string> BoxLink::OpenInput(Listener& listener, unsigned index,
                                              const std::string& name)
{
    listener.port->IgnoreTypes(false, false, false);
    listener.port->SetCallback(&BoxLink::OnMessage, &listener);
    if (MidiPortError error = listener.port->OpenPort(index, kClientPortName))
        return "cannot open the input port \"" + name + "\": " + *error;
    return std::nullopt;
}

std::optional<std::string> BoxLink::Open(const PortChoice& choice)
{
    const PortLists lists = ListPorts();
    const auto chosen = Choose(lists, choice);
    if (const std::string* error = std::get_if<std::string>(&chosen))
        return *error;
    const auto [output, input] = std::get<std::pair<unsigned, unsigned>>(chosen);
    if (std::optional<std::string> error = OpenInput(*mInputs.front(), input, lists.inputs[input]))
        return error;
    mInputName = lists.inputs[input];
    if (choice.inputOnly)
        return std::nullopt;
    if (MidiPortError error = mOutput->OpenPort(output, kClientPortName))
        return "cannot open the output port \"" + lists.outputs[output] + "\": " + *error;
    mOutputName = lists.outputs[output];
    return std::nullopt;
}

void BoxLink::Send(std::span<const std::uint8_t> bytes)
{
    mOutput->SendMessage(bytes.data(), bytes.size());
}

std::optional<BoxLink::Bytes> BoxLink::Receive(Clock::time_point deadline,
                                               const volatile std::sig_atomic_t* stop)
{
    std::optional<Received> received = ReceiveFrom(deadline, stop);
    if (!received)
        return std::nullopt;
    return std::move(received->bytes);
}

std::optional<BoxLink::Received> BoxLink::ReceiveFrom(Clock::time_point deadline,
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
    Received message = std::move(mReceived.front());
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
        while (const std::optional<Received> message = ReceiveFrom(repeat))
            if (std::optional<StatusReply> reply = RecogniseStatusReply(message->bytes))
            {
                mReplySource = message->source;
                return reply;
            }
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
        const std::optional<Received> message = ReceiveFrom(deadline);
        if (message && message->source == mReplySource && RecogniseStatusReply(message->bytes))
            return decision.Confirm();
    }
    return false;
}

std::variant<std::vector<BoxLink::FoundBox>, std::string>
BoxLink::FindBoxes(std::chrono::milliseconds timeout, PortFilter leftAlone)
{
    // Ports are opened by name: the indices shift as this program's own ports come.
    const PortLists lists = ListPorts();
    const auto indexOf = [](MidiPort& port, const std::string& name) -> std::optional<unsigned>
    {
        const std::vector<std::string> names = Names(port);
        const auto found = std::find(names.begin(), names.end(), name);
        if (found == names.end())
            return std::nullopt;
        return static_cast<unsigned>(found - names.begin());
    };
    std::vector<std::string> inputNames; // the port of each listener
    for (const std::string& name : lists.inputs)
    {
        const std::optional<unsigned> index = indexOf(*mInputs.front()->port, name);
        if (leftAlone(name) || !index)
            continue;
        if (!inputNames.empty())
        {
            MidiPortCreation<MidiInputPort> made = mFactory->CreateInput();
            if (!made.port)
                return "cannot listen on another input port: " + made.error;
            mInputs.push_back(
                std::make_unique<Listener>(Listener{this, mInputs.size(), std::move(made.port)}));
        }
        if (std::optional<std::string> error = OpenInput(*mInputs.back(), *index, name))
            return *error;
        inputNames.push_back(name);
    }
    std::vector<FoundBox> found;
    if (inputNames.empty())
        return found;
    for (const std::string& name : lists.outputs)
    {
        const std::optional<unsigned> index = indexOf(*mOutput, name);
        if (leftAlone(name) || !index)
            continue;
        if (MidiPortError error = mOutput->OpenPort(*index, kClientPortName))
            return "cannot open the output port \"" + name + "\": " + *error;
        Discard();
        if (const std::optional<StatusReply> reply = RequestStatus(timeout))
            found.push_back(
                {name, inputNames[mReplySource], reply->version, ConfirmInterfaceMode()});
        mOutput->ClosePort();
    }
    return found;
}

void BoxLink::OnMessage(const std::uint8_t* bytes, std::size_t size, void* userData)
{
    const auto* listener = static_cast<const Listener*>(userData);
    BoxLink* self = listener->link;
    {
        std::lock_guard lock(self->mMutex);
        self->mReceived.push_back({listener->source, Bytes(bytes, bytes + size)});
    }
    self->mArrived.notify_one();
}
