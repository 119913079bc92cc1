#include "app/RtMidiPorts.h"

#include <filesystem>
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

    static void Callback(RtMidiError::Type type, const std::string& text, void* userData)
    {
        if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING)
            return;
        static_cast<ErrorCollector*>(userData)->lastError = text;
    }

    // The error reported since the last call, if any.
    MidiPortError Take()
    {
        if (lastError.empty())
            return std::nullopt;
        return std::exchange(lastError, std::string());
    }
};

template <typename RtPort>
MidiPortError OpenRtPort(RtPort& port, ErrorCollector& errors, unsigned index,
                         std::string_view clientPortName)
{
    if (port.isPortOpen())
        return std::string("a port is already open");
    try
    {
        port.openPort(index, std::string(clientPortName));
    }
    catch (const RtMidiError& error)
    {
        return error.getMessage();
    }
    if (MidiPortError error = errors.Take())
        return error;
    if (!port.isPortOpen())
        return std::string("the port could not be opened");
    return std::nullopt;
}

template <typename RtPort>
std::string RtPortName(RtPort& port, unsigned index)
{
    try
    {
        return port.getPortName(index);
    }
    catch (const RtMidiError&)
    {
        return {};
    }
}

class RtMidiInputPort final : public MidiInputPort
{
public:
    explicit RtMidiInputPort(std::unique_ptr<RtMidiIn> port) : mPort(std::move(port))
    {
        mPort->setErrorCallback(&ErrorCollector::Callback, &mErrors);
    }
    ~RtMidiInputPort() override
    {
        mPort->cancelCallback();
        mPort->closePort();
    }

    unsigned PortCount() override { return mPort->getPortCount(); }
    std::string PortName(unsigned index) override { return RtPortName(*mPort, index); }
    MidiPortError OpenPort(unsigned index, std::string_view clientPortName) override
    {
        return OpenRtPort(*mPort, mErrors, index, clientPortName);
    }
    void ClosePort() override { mPort->closePort(); }
    bool IsPortOpen() const override { return mPort->isPortOpen(); }

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

    std::unique_ptr<RtMidiIn> mPort;
    ErrorCollector mErrors;
    Callback mCallback = nullptr;
    void* mUserData = nullptr;
};

class RtMidiOutputPort final : public MidiOutputPort
{
public:
    explicit RtMidiOutputPort(std::unique_ptr<RtMidiOut> port) : mPort(std::move(port))
    {
        mPort->setErrorCallback(&ErrorCollector::Callback, &mErrors);
    }
    ~RtMidiOutputPort() override { mPort->closePort(); }

    unsigned PortCount() override { return mPort->getPortCount(); }
    std::string PortName(unsigned index) override { return RtPortName(*mPort, index); }
    MidiPortError OpenPort(unsigned index, std::string_view clientPortName) override
    {
        return OpenRtPort(*mPort, mErrors, index, clientPortName);
    }
    void ClosePort() override { mPort->closePort(); }
    bool IsPortOpen() const override { return mPort->isPortOpen(); }

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

private:
    std::unique_ptr<RtMidiOut> mPort;
    ErrorCollector mErrors;
};
} // namespace

MidiSystem DefaultMidiSystem()
{
    std::error_code error;
    return std::filesystem::exists("/dev/snd/seq", error) ? MidiSystem::kAlsa : MidiSystem::kJack;
}

const char* MidiSystemName(MidiSystem api)
{
    return api == MidiSystem::kAlsa ? "alsa" : "jack";
}

RtMidiPortFactory::RtMidiPortFactory(MidiSystem api, std::string clientNamePrefix)
    : mApi(api), mClientNamePrefix(std::move(clientNamePrefix))
{
}

MidiPortCreation<MidiInputPort> RtMidiPortFactory::CreateInput()
{
    try
    {
        auto port =
            std::make_unique<RtMidiIn>(ToRtMidiApi(mApi), mClientNamePrefix + " Input Client");
        return {std::make_unique<RtMidiInputPort>(std::move(port)), {}};
    }
    catch (const RtMidiError& error)
    {
        return {nullptr, error.getMessage()};
    }
}

MidiPortCreation<MidiOutputPort> RtMidiPortFactory::CreateOutput()
{
    try
    {
        auto port =
            std::make_unique<RtMidiOut>(ToRtMidiApi(mApi), mClientNamePrefix + " Output Client");
        return {std::make_unique<RtMidiOutputPort>(std::move(port)), {}};
    }
    catch (const RtMidiError& error)
    {
        return {nullptr, error.getMessage()};
    }
}
