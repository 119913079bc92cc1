#include "SimMidiPorts.h"

#include "midi/LibraryDiagnostics.h"

#include <rtmidi/RtMidi.h>
#include <unistd.h>
#include <utility>

namespace
{
// Keeps the library's last error instead of letting it throw or print; warnings are dropped
// unless an error follows (a JACK server that is not running shows first as a warning).
void CollectError(RtMidiError::Type type, const std::string& text, void* userData)
{
    auto& last = *static_cast<std::string*>(userData);
    if (type == RtMidiError::DEBUG_WARNING)
        return;
    if (type == RtMidiError::WARNING)
    {
        if (last.empty())
            last = text;
        return;
    }
    last = text;
}
} // namespace

SimMidiPorts::SimMidiPorts(int wakeFd) : mWakeFd(wakeFd) {}

SimMidiPorts::~SimMidiPorts()
{
    Close();
}

void SimMidiPorts::Close()
{
    if (mInput)
    {
        mInput->cancelCallback();
        mInput->closePort();
    }
    if (mOutput)
        mOutput->closePort();
    mOutput.reset();
    mInput.reset();
}

std::optional<std::string> SimMidiPorts::Open(bool jack, std::string_view clientName)
{
    const RtMidi::Api api = jack ? RtMidi::UNIX_JACK : RtMidi::LINUX_ALSA;
    const std::string client(clientName);
    mLastError.clear();
    try
    {
        // The library prints its warnings on standard error; they are the trace's.
        const LibraryOutputCapture capture;
        mInput = std::make_unique<RtMidiIn>(api, client);
        mInput->setErrorCallback(&CollectError, &mLastError);
        mInput->ignoreTypes(false, false, false);
        mInput->setCallback(&SimMidiPorts::OnMessage, this);
        mInput->openVirtualPort(std::string(kInputPortName));
        if (mLastError.empty())
        {
            mOutput = std::make_unique<RtMidiOut>(api, client);
            mOutput->setErrorCallback(&CollectError, &mLastError);
            mOutput->openVirtualPort(std::string(kOutputPortName));
        }
    }
    catch (const RtMidiError& error)
    {
        mLastError = error.getMessage();
    }
    if (mLastError.empty())
        return std::nullopt;
    Close();
    return std::string("no MIDI: ") + (jack ? "the JACK server" : "the ALSA sequencer") +
           " cannot be reached, so the box's ports cannot be opened" +
           (LibraryDiagnosticsShown() ? " (" + mLastError + ")" : std::string());
}

std::optional<std::string> SimMidiPorts::Send(std::span<const std::uint8_t> bytes)
{
    if (!mOutput)
        return std::string("the output port is not open");
    mLastError.clear();
    try
    {
        mOutput->sendMessage(bytes.data(), bytes.size());
    }
    catch (const RtMidiError& error)
    {
        mLastError = error.getMessage();
    }
    if (mLastError.empty())
        return std::nullopt;
    return std::exchange(mLastError, std::string());
}

std::vector<SimMidiPorts::Received> SimMidiPorts::TakeReceived()
{
    std::lock_guard lock(mReceivedMutex);
    std::vector<Received> taken(std::make_move_iterator(mReceived.begin()),
                                std::make_move_iterator(mReceived.end()));
    mReceived.clear();
    return taken;
}

void SimMidiPorts::OnMessage(double, std::vector<unsigned char>* message, void* userData)
{
    if (!message || message->empty())
        return;
    auto* self = static_cast<SimMidiPorts*>(userData);
    {
        std::lock_guard lock(self->mReceivedMutex);
        self->mReceived.push_back({{message->begin(), message->end()}, Clock::now()});
    }
    // A full pipe already holds a wake-up; the loop takes every queued message on each one.
    const char wake = 'm';
    [[maybe_unused]] const ssize_t written = ::write(self->mWakeFd, &wake, 1);
}
