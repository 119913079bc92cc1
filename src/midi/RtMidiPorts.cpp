#include "midi/RtMidiPorts.h"

#include "midi/JackPortNotices.h"
#include "midi/LibraryDiagnostics.h"

#include <alsa/asoundlib.h>
#include <chrono>
#include <filesystem>
#include <jack/jack.h>
#include <rtmidi/RtMidi.h>
#include <utility>
#include <vector>

namespace
{
RtMidi::Api ToRtMidiApi(MidiSystem api)
{
    return api == MidiSystem::kAlsa ? RtMidi::LINUX_ALSA : RtMidi::UNIX_JACK;
}

// Collects the library's error reports instead of letting it throw or print. Warnings (for
// example a port name asked for an index that has just gone) are not errors here.
struct ErrorCollector
{
    std::string lastError;
    std::size_t warnings = 0; // reported so far; the library warns when the system is not running

    static void Callback(RtMidiError::Type type, const std::string& text, void* userData)
    {
        auto* self = static_cast<ErrorCollector*>(userData);
        if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING)
        {
            ++self->warnings;
            return;
        }
        self->lastError = text;
    }

    // The error reported since the last call, if any.
    MidiPortError Take()
    {
        if (lastError.empty())
            return std::nullopt;
        return std::exchange(lastError, std::string());
    }
};

// One RtMidi port object (`RtPort`, RtMidiIn or RtMidiOut) behind the host's interface of the same
// direction (`Interface`): what both directions share. Closes the port when it goes.
template <typename Interface, typename RtPort>
class RtMidiPort : public Interface
{
public:
    explicit RtMidiPort(std::unique_ptr<RtPort> port) : mPort(std::move(port))
    {
        mPort->setErrorCallback(&ErrorCollector::Callback, &mErrors);
    }
    ~RtMidiPort() override { mPort->closePort(); }

    RtMidiPort(const RtMidiPort&) = delete;
    RtMidiPort& operator=(const RtMidiPort&) = delete;

    // A count is also the library's attempt to reach the MIDI system; one that is not running (a
    // stopped JACK server) costs a new client and its threads on every attempt, which the probe
    // would make 50 times a second. After a failed attempt the count stays 0 for a while.
    unsigned PortCount() override
    {
        const Clock::time_point now = Clock::now();
        if (now < mRetryAt)
            return 0;
        const std::size_t warningsBefore = mErrors.warnings;
        const unsigned count = mPort->getPortCount();
        const bool unreachable = count == 0 && mErrors.warnings != warningsBefore;
        mRetryAt = unreachable ? now + kReconnectInterval : Clock::time_point{};
        return count;
    }

    std::string PortName(unsigned index) override
    {
        try
        {
            return mPort->getPortName(index);
        }
        catch (const RtMidiError&)
        {
            return {};
        }
    }

    MidiPortError OpenPort(unsigned index, std::string_view clientPortName) override
    {
        if (mPort->isPortOpen())
            return std::string("a port is already open");
        try
        {
            mPort->openPort(index, std::string(clientPortName));
        }
        catch (const RtMidiError& error)
        {
            return error.getMessage();
        }
        if (MidiPortError error = mErrors.Take())
            return error;
        if (!mPort->isPortOpen())
            return std::string("the port could not be opened");
        return std::nullopt;
    }

    void ClosePort() override { mPort->closePort(); }
    bool IsPortOpen() const override { return mPort->isPortOpen(); }

protected:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kReconnectInterval{1000};

    // Declared first so that the port, which may still report while it closes, goes before it.
    ErrorCollector mErrors;
    Clock::time_point mRetryAt{};
    std::unique_ptr<RtPort> mPort;
};

class RtMidiInputPort final : public RtMidiPort<MidiInputPort, RtMidiIn>
{
public:
    using RtMidiPort::RtMidiPort;
    // The callback is silenced before the base closes the port.
    ~RtMidiInputPort() override { mPort->cancelCallback(); }

    void SetCallback(Callback callback, void* userData) override
    {
        mPort->cancelCallback();
        mCallback = callback;
        mUserData = userData;
        mPort->setCallback(&RtMidiInputPort::Deliver, this);
    }
    void CancelCallback() override
    {
        mPort->cancelCallback();
        mCallback = nullptr;
        mUserData = nullptr;
    }
    void IgnoreTypes(bool sysEx, bool timing, bool activeSensing) override
    {
        mPort->ignoreTypes(sysEx, timing, activeSensing);
    }

private:
    // [MIDI input thread]
    static void Deliver(double, std::vector<unsigned char>* message, void* userData)
    {
        auto* self = static_cast<RtMidiInputPort*>(userData);
        if (self->mCallback && message)
            self->mCallback(message->data(), message->size(), self->mUserData);
    }

    Callback mCallback = nullptr;
    void* mUserData = nullptr;
};

class RtMidiOutputPort final : public RtMidiPort<MidiOutputPort, RtMidiOut>
{
public:
    using RtMidiPort::RtMidiPort;

    void SendMessage(const std::uint8_t* bytes, std::size_t size) override
    {
        if (!mPort->isPortOpen())
            return;
        try
        {
            mPort->sendMessage(bytes, size);
        }
        catch (const RtMidiError&)
        {
            // A send is fire-and-forget; a port that has just gone loses the message.
        }
        mErrors.Take();
    }
};

// A port object of type `Port` on a new RtMidi object of type `RtPort` whose client is called
// `clientName`, or the library's reason why there is none.
template <typename Port, typename RtPort, typename Interface>
MidiPortCreation<Interface> CreateRtMidiPort(MidiSystem api, const std::string& clientName)
{
    try
    {
        // The library warns on standard error when the system is not running.
        const LibraryOutputCapture capture;
        return {std::make_unique<Port>(std::make_unique<RtPort>(ToRtMidiApi(api), clientName)), {}};
    }
    catch (const RtMidiError& error)
    {
        return {nullptr, error.getMessage()};
    }
}
} // namespace

RtMidiPortFactory::RtMidiPortFactory(MidiSystem api, std::string clientNamePrefix)
    : mApi(api), mClientNamePrefix(std::move(clientNamePrefix))
{
}

MidiPortCreation<MidiInputPort> RtMidiPortFactory::CreateInput()
{
    return CreateRtMidiPort<RtMidiInputPort, RtMidiIn, MidiInputPort>(mApi, mClientNamePrefix +
                                                                                " Input Client");
}

MidiPortCreation<MidiOutputPort> RtMidiPortFactory::CreateOutput()
{
    return CreateRtMidiPort<RtMidiOutputPort, RtMidiOut, MidiOutputPort>(
        mApi, mClientNamePrefix + " Output Client");
}

std::string RtMidiPortFactory::SystemName() const
{
    return mApi == MidiSystem::kAlsa ? "the ALSA sequencer" : "the JACK server";
}

bool RtMidiPortFactory::SystemRunning() const
{
    if (mApi == MidiSystem::kAlsa)
    {
        snd_seq_t* sequencer = nullptr;
        if (snd_seq_open(&sequencer, "default", SND_SEQ_OPEN_DUPLEX, 0) < 0)
            return false;
        snd_seq_close(sequencer);
        return true;
    }
    jack_client_t* client =
        jack_client_open((mClientNamePrefix + " Check").c_str(), JackNoStartServer, nullptr);
    if (!client)
        return false;
    jack_client_close(client);
    return true;
}

std::unique_ptr<MidiPortNotices> RtMidiPortFactory::CreateNotices()
{
    if (mApi != MidiSystem::kJack)
        return nullptr;
    return std::make_unique<JackPortNotices>(mClientNamePrefix + " Port Watch");
}
