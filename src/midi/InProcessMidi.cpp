#include "midi/InProcessMidi.h"

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

namespace
{
class BusInputSide;
class BusOutputSide;

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
    std::vector<Endpoint> inputs;              // plug order
    std::vector<Endpoint> outputs;             // plug order
    std::vector<BusInputSide*> inputObjects;   // every live input object
    std::vector<BusOutputSide*> outputObjects; // every live output object
    std::uint64_t nextId = 1;
    std::uint64_t changes = 0; // counts every plug and unplug, for the port notices
};

namespace
{
using State = InProcessMidi::State;

// A port object's hold on the bus: the shared state, and the connection to one port, which the
// bus lock guards.
class BusLink
{
public:
    // Called with the bus locked.
    bool ConnectedToLocked(std::uint64_t endpointId) const
    {
        return mOpen && mEndpointId == endpointId;
    }

protected:
    explicit BusLink(std::shared_ptr<State> state) : mState(std::move(state)) {}

    std::shared_ptr<State> mState;
    bool mOpen = false;
    std::uint64_t mEndpointId = 0; // 0 while closed
};

// What only an input object does: the callback and the ignore flags.
class BusInputSide : public MidiInputPort, public BusLink
{
public:
    static constexpr const char* kDirection = "input";
    static std::vector<Endpoint>& Ports(State& state) { return state.inputs; }
    static std::vector<BusInputSide*>& Objects(State& state) { return state.inputObjects; }

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
        if (!ConnectedToLocked(endpointId) || !mCallback)
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

protected:
    explicit BusInputSide(std::shared_ptr<State> state) : BusLink(std::move(state)) {}

private:
    Callback mCallback = nullptr;
    void* mUserData = nullptr;
    bool mIgnoreSysEx = true;
    bool mIgnoreTiming = true;
    bool mIgnoreActiveSensing = true;
};

// What only an output object does: hand each message to its port's listener.
class BusOutputSide : public MidiOutputPort, public BusLink
{
public:
    static constexpr const char* kDirection = "output";
    static std::vector<Endpoint>& Ports(State& state) { return state.outputs; }
    static std::vector<BusOutputSide*>& Objects(State& state) { return state.outputObjects; }

    void SendMessage(const std::uint8_t* bytes, std::size_t size) override
    {
        std::shared_ptr<const InProcessMidi::Listener> listener;
        {
            std::lock_guard lock(mState->mutex);
            if (!mOpen)
                return;
            if (const Endpoint* endpoint = FindById(mState->outputs, mEndpointId))
                listener = endpoint->listener;
        }
        if (listener && *listener)
            (*listener)(bytes, size);
    }

protected:
    explicit BusOutputSide(std::shared_ptr<State> state) : BusLink(std::move(state)) {}
};

// A port object of either direction: its `Side` (BusInputSide or BusOutputSide) and what both
// share, the port list of its direction, the connection to one of its ports, and its entry in the
// bus's list of live objects. The entry is made once the object is whole and removed before it
// is taken apart, so the bus never reaches a half-built object.
template <typename Side>
class BusPort final : public Side
{
public:
    explicit BusPort(std::shared_ptr<State> state) : Side(std::move(state))
    {
        std::lock_guard lock(this->mState->mutex);
        Side::Objects(*this->mState).push_back(this);
    }

    ~BusPort() override
    {
        std::lock_guard lock(this->mState->mutex);
        std::vector<Side*>& objects = Side::Objects(*this->mState);
        objects.erase(std::remove(objects.begin(), objects.end(), static_cast<Side*>(this)),
                      objects.end());
    }

    BusPort(const BusPort&) = delete;
    BusPort& operator=(const BusPort&) = delete;

    unsigned PortCount() override
    {
        std::lock_guard lock(this->mState->mutex);
        return static_cast<unsigned>(Side::Ports(*this->mState).size());
    }

    std::string PortName(unsigned index) override
    {
        std::lock_guard lock(this->mState->mutex);
        const std::vector<Endpoint>& ports = Side::Ports(*this->mState);
        return index < ports.size() ? ports[index].name : std::string();
    }

    MidiPortError OpenPort(unsigned index, std::string_view) override
    {
        std::lock_guard lock(this->mState->mutex);
        const std::vector<Endpoint>& ports = Side::Ports(*this->mState);
        if (this->mOpen)
            return std::string("a MIDI ") + Side::kDirection +
                   " port is already open on this object";
        if (index >= ports.size())
            return std::string("no MIDI ") + Side::kDirection + " port number " +
                   std::to_string(index);
        this->mOpen = true;
        this->mEndpointId = ports[index].id;
        return std::nullopt;
    }

    void ClosePort() override
    {
        std::lock_guard lock(this->mState->mutex);
        this->mOpen = false;
        this->mEndpointId = 0;
    }

    bool IsPortOpen() const override
    {
        std::lock_guard lock(this->mState->mutex);
        return this->mOpen;
    }
};

using BusInput = BusPort<BusInputSide>;
using BusOutput = BusPort<BusOutputSide>;

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

namespace
{
// The bus says when its ports changed, so the host reads the lists only then (the first Take
// always says so).
class BusNotices final : public MidiPortNotices
{
public:
    explicit BusNotices(std::shared_ptr<State> state) : mState(std::move(state)) {}

    MidiPortNotice Take() override
    {
        std::lock_guard lock(mState->mutex);
        if (mSeen && *mSeen == mState->changes)
            return MidiPortNotice::kNone;
        mSeen = mState->changes;
        return MidiPortNotice::kPortsChanged;
    }

private:
    std::shared_ptr<State> mState;
    std::optional<std::uint64_t> mSeen;
};
} // namespace

std::unique_ptr<MidiPortNotices> InProcessMidi::CreateNotices()
{
    return std::make_unique<BusNotices>(mState);
}

bool InProcessMidi::PlugInputPort(std::string_view name)
{
    std::lock_guard lock(mState->mutex);
    if (FindByName(mState->inputs, name))
        return false;
    mState->inputs.push_back({mState->nextId++, std::string(name), nullptr});
    ++mState->changes;
    return true;
}

bool InProcessMidi::PlugOutputPort(std::string_view name, Listener listener)
{
    auto shared = std::make_shared<const Listener>(std::move(listener));
    std::lock_guard lock(mState->mutex);
    if (FindByName(mState->outputs, name))
        return false;
    mState->outputs.push_back({mState->nextId++, std::string(name), std::move(shared)});
    ++mState->changes;
    return true;
}

bool InProcessMidi::UnplugInputPort(std::string_view name)
{
    std::lock_guard lock(mState->mutex);
    const bool unplugged = Unplug(mState->inputs, name);
    mState->changes += unplugged ? 1 : 0;
    return unplugged;
}

bool InProcessMidi::UnplugOutputPort(std::string_view name)
{
    std::lock_guard lock(mState->mutex);
    const bool unplugged = Unplug(mState->outputs, name);
    mState->changes += unplugged ? 1 : 0;
    return unplugged;
}

int InProcessMidi::FeedInputPort(std::string_view name, const std::uint8_t* bytes, std::size_t size)
{
    std::lock_guard lock(mState->mutex);
    const Endpoint* endpoint = FindByName(mState->inputs, name);
    if (!endpoint)
        return 0;
    int delivered = 0;
    for (BusInputSide* object : mState->inputObjects)
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
