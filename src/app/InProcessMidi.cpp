#include "app/InProcessMidi.h"

#include <algorithm>
#include <mutex>
#include <vector>

namespace
{
class BusInput;
class BusOutput;

// A port on the bus. Ids are never reused, so a port plugged again under an old name is new.
struct Endpoint
{
    std::uint64_t id;
    std::string name;
    std::shared_ptr<const InProcessMidi::Listener> listener; // output ports only
};

const Endpoint* FindByName(const std::vector<Endpoint>& list, std::string_view name)
{
    for (const Endpoint& endpoint : list)
    {
        if (endpoint.name == name)
            return &endpoint;
    }
    return nullptr;
}

const Endpoint* FindById(const std::vector<Endpoint>& list, std::uint64_t id)
{
    for (const Endpoint& endpoint : list)
    {
        if (endpoint.id == id)
            return &endpoint;
    }
    return nullptr;
}
} // namespace

struct InProcessMidi::State
{
    mutable std::mutex mutex;
    std::vector<Endpoint> inputs;  // plug order
    std::vector<Endpoint> outputs; // plug order
    std::vector<BusInput*> inputObjects;
    std::vector<BusOutput*> outputObjects;
    std::uint64_t nextId = 1;
};

namespace
{
using State = InProcessMidi::State;

std::string PortNameAt(const std::vector<Endpoint>& list, unsigned index)
{
    return index < list.size() ? list[index].name : std::string();
}

// What both directions share: the connection, guarded by the bus lock.
struct Connection
{
    bool open = false;
    std::uint64_t endpointId = 0; // 0 while closed
};

MidiPortError Open(Connection& connection, const std::vector<Endpoint>& list, unsigned index,
                   const char* direction)
{
    if (connection.open)
        return std::string("a MIDI ") + direction + " port is already open on this object";
    if (index >= list.size())
        return std::string("no MIDI ") + direction + " port number " + std::to_string(index);
    connection.open = true;
    connection.endpointId = list[index].id;
    return std::nullopt;
}

class BusInput final : public MidiInputPort
{
public:
    explicit BusInput(std::shared_ptr<State> state) : mState(std::move(state))
    {
        std::lock_guard lock(mState->mutex);
        mState->inputObjects.push_back(this);
    }

    ~BusInput() override
    {
        std::lock_guard lock(mState->mutex);
        auto& objects = mState->inputObjects;
        objects.erase(std::remove(objects.begin(), objects.end(), this), objects.end());
    }

    unsigned PortCount() override
    {
        std::lock_guard lock(mState->mutex);
        return static_cast<unsigned>(mState->inputs.size());
    }

    std::string PortName(unsigned index) override
    {
        std::lock_guard lock(mState->mutex);
        return PortNameAt(mState->inputs, index);
    }

    MidiPortError OpenPort(unsigned index, std::string_view) override
    {
        std::lock_guard lock(mState->mutex);
        return Open(mConnection, mState->inputs, index, "input");
    }

    void ClosePort() override
    {
        std::lock_guard lock(mState->mutex);
        mConnection = {};
    }

    bool IsPortOpen() const override
    {
        std::lock_guard lock(mState->mutex);
        return mConnection.open;
    }

    void SetCallback(Callback callback, void* userData) override
    {
        std::lock_guard lock(mState->mutex);
        mCallback = callback;
        mUserData = userData;
    }

    void CancelCallback() override { SetCallback(nullptr, nullptr); }

    void IgnoreTypes(bool sysEx, bool timing, bool activeSensing) override
    {
        std::lock_guard lock(mState->mutex);
        mIgnoreSysEx = sysEx;
        mIgnoreTiming = timing;
        mIgnoreActiveSensing = activeSensing;
    }

    // Called with the bus locked. True when the message reached the callback.
    bool DeliverLocked(std::uint64_t endpointId, const std::uint8_t* bytes, std::size_t size)
    {
        if (!mConnection.open || mConnection.endpointId != endpointId || !mCallback)
            return false;
        if (size > 0)
        {
            const std::uint8_t first = bytes[0];
            if (mIgnoreSysEx && first == 0xF0)
                return false;
            if (mIgnoreTiming && (first == 0xF1 || first == 0xF8 || first == 0xF9))
                return false;
            if (mIgnoreActiveSensing && first == 0xFE)
                return false;
        }
        mCallback(bytes, size, mUserData);
        return true;
    }

    bool ConnectedToLocked(std::uint64_t endpointId) const
    {
        return mConnection.open && mConnection.endpointId == endpointId;
    }

private:
    std::shared_ptr<State> mState;
    Connection mConnection;
    Callback mCallback = nullptr;
    void* mUserData = nullptr;
    bool mIgnoreSysEx = true;
    bool mIgnoreTiming = true;
    bool mIgnoreActiveSensing = true;
};

class BusOutput final : public MidiOutputPort
{
public:
    explicit BusOutput(std::shared_ptr<State> state) : mState(std::move(state))
    {
        std::lock_guard lock(mState->mutex);
        mState->outputObjects.push_back(this);
    }

    ~BusOutput() override
    {
        std::lock_guard lock(mState->mutex);
        auto& objects = mState->outputObjects;
        objects.erase(std::remove(objects.begin(), objects.end(), this), objects.end());
    }

    unsigned PortCount() override
    {
        std::lock_guard lock(mState->mutex);
        return static_cast<unsigned>(mState->outputs.size());
    }

    std::string PortName(unsigned index) override
    {
        std::lock_guard lock(mState->mutex);
        return PortNameAt(mState->outputs, index);
    }

    MidiPortError OpenPort(unsigned index, std::string_view) override
    {
        std::lock_guard lock(mState->mutex);
        return Open(mConnection, mState->outputs, index, "output");
    }

    void ClosePort() override
    {
        std::lock_guard lock(mState->mutex);
        mConnection = {};
    }

    bool IsPortOpen() const override
    {
        std::lock_guard lock(mState->mutex);
        return mConnection.open;
    }

    void SendMessage(const std::uint8_t* bytes, std::size_t size) override
    {
        std::shared_ptr<const InProcessMidi::Listener> listener;
        {
            std::lock_guard lock(mState->mutex);
            if (!mConnection.open)
                return;
            if (const Endpoint* endpoint = FindById(mState->outputs, mConnection.endpointId))
                listener = endpoint->listener;
        }
        if (listener && *listener)
            (*listener)(bytes, size);
    }

    bool ConnectedToLocked(std::uint64_t endpointId) const
    {
        return mConnection.open && mConnection.endpointId == endpointId;
    }

private:
    std::shared_ptr<State> mState;
    Connection mConnection;
};

bool Unplug(std::vector<Endpoint>& list, std::string_view name)
{
    const auto it =
        std::find_if(list.begin(), list.end(),
                     [name](const Endpoint& endpoint) { return endpoint.name == name; });
    if (it == list.end())
        return false;
    list.erase(it);
    return true;
}

template <typename Object>
int CountConnections(const std::vector<Object*>& objects, const std::vector<Endpoint>& list,
                     std::string_view name)
{
    const Endpoint* endpoint = FindByName(list, name);
    if (!endpoint)
        return 0;
    return static_cast<int>(std::count_if(objects.begin(), objects.end(),
                                          [endpoint](const Object* object)
                                          { return object->ConnectedToLocked(endpoint->id); }));
}
} // namespace

InProcessMidi::InProcessMidi() : mState(std::make_shared<State>()) {}

InProcessMidi::~InProcessMidi() = default;

bool InProcessMidi::PlugInputPort(std::string_view name)
{
    std::lock_guard lock(mState->mutex);
    if (FindByName(mState->inputs, name))
        return false;
    mState->inputs.push_back({mState->nextId++, std::string(name), nullptr});
    return true;
}

bool InProcessMidi::PlugOutputPort(std::string_view name, Listener listener)
{
    auto shared = std::make_shared<const Listener>(std::move(listener));
    std::lock_guard lock(mState->mutex);
    if (FindByName(mState->outputs, name))
        return false;
    mState->outputs.push_back({mState->nextId++, std::string(name), std::move(shared)});
    return true;
}

bool InProcessMidi::UnplugInputPort(std::string_view name)
{
    std::lock_guard lock(mState->mutex);
    return Unplug(mState->inputs, name);
}

bool InProcessMidi::UnplugOutputPort(std::string_view name)
{
    std::lock_guard lock(mState->mutex);
    return Unplug(mState->outputs, name);
}

int InProcessMidi::FeedInputPort(std::string_view name, const std::uint8_t* bytes, std::size_t size)
{
    std::lock_guard lock(mState->mutex);
    const Endpoint* endpoint = FindByName(mState->inputs, name);
    if (!endpoint)
        return 0;
    int delivered = 0;
    for (BusInput* object : mState->inputObjects)
    {
        if (object->DeliverLocked(endpoint->id, bytes, size))
            ++delivered;
    }
    return delivered;
}

int InProcessMidi::InputConnections(std::string_view name) const
{
    std::lock_guard lock(mState->mutex);
    return CountConnections(mState->inputObjects, mState->inputs, name);
}

int InProcessMidi::OutputConnections(std::string_view name) const
{
    std::lock_guard lock(mState->mutex);
    return CountConnections(mState->outputObjects, mState->outputs, name);
}

MidiPortCreation<MidiInputPort> InProcessMidi::CreateInput()
{
    return {std::make_unique<BusInput>(mState), {}};
}

MidiPortCreation<MidiOutputPort> InProcessMidi::CreateOutput()
{
    return {std::make_unique<BusOutput>(mState), {}};
}
