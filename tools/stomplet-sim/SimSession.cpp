#include "SimSession.h"

#include "SimCommand.h"
#include "core/AtomicFile.h"
#include "device/FormatText.h"

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <unistd.h>
#include <utility>

namespace
{
constexpr std::size_t kReadChunk = 65536;
} // namespace

SimSession::SimSession(const SimOptions& options, SimMidiPorts& ports, int wakeFd,
                       const volatile std::sig_atomic_t& stopRequested,
                       SimMidiPorts::Clock::time_point start)
    : mOptions(options), mPorts(ports), mWakeFd(wakeFd), mStopRequested(stopRequested),
      mStart(start)
{
    mBox.SetStandalone(options.standalone);
    mBox.SetFirmwareVersion(options.versionByte);
}

int SimSession::Run()
{
    bool reading = mOptions.readStdin;
    while (mStopRequested == 0)
    {
        pollfd fds[2] = {{mWakeFd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const nfds_t count = reading ? 2 : 1;
        if (::poll(fds, count, -1) < 0)
        {
            if (errno == EINTR)
                continue;
            Diagnose(std::string("waiting for input failed: ") + std::strerror(errno));
            break;
        }
        if (fds[0].revents != 0)
        {
            char drained[64];
            while (::read(mWakeFd, drained, sizeof drained) > 0)
            {
            }
        }
        TakeMessages();
        if (reading && fds[1].revents != 0 && !TakeStandardInput())
            break;
    }
    TakeMessages();
    return 0;
}

bool SimSession::TakeStandardInput()
{
    char chunk[kReadChunk];
    const ssize_t got = ::read(STDIN_FILENO, chunk, sizeof chunk);
    if (got < 0)
    {
        if (errno == EINTR || errno == EAGAIN)
            return true;
        Diagnose(std::string("reading standard input failed: ") + std::strerror(errno));
        return false;
    }
    if (got == 0)
    {
        // The end of input: a last line without a line end still counts.
        if (const std::optional<LineSplitter::Line> last = mInput.Finish())
            RunLine(*last);
        return false;
    }
    for (const LineSplitter::Line& line :
         mInput.Take(std::string_view(chunk, static_cast<std::size_t>(got))))
        if (!RunLine(line))
            return false;
    return true;
}

bool SimSession::RunLine(const LineSplitter::Line& line)
{
    if (line.tooLong)
    {
        Diagnose("a line of " + std::to_string(line.length) +
                 " bytes ignored (a command has at most " + std::to_string(kMaxCommandLineBytes) +
                 "): \"" + PrintableText(line.text, line.text.size()) + "...\"");
        return true;
    }
    const SimCommandResult parsed = ParseSimCommand(line.text);
    if (!parsed.command)
    {
        Diagnose(parsed.error);
        return true;
    }
    if (parsed.command->kind == SimCommand::Kind::kQuit)
        return false;
    RunCommand(*parsed.command);
    return true;
}

void SimSession::RunCommand(const SimCommand& command)
{
    switch (command.kind)
    {
    case SimCommand::Kind::kPedal:
        SendAll(mBox.SetPedalPosition(command.jack, command.position));
        break;
    case SimCommand::Kind::kPress:
        SendAll(mBox.PressSwitch(command.jack, command.footSwitch));
        break;
    case SimCommand::Kind::kRelease:
        SendAll(mBox.ReleaseSwitch(command.jack, command.footSwitch));
        break;
    case SimCommand::Kind::kNothing:
    case SimCommand::Kind::kQuit:
        break;
    }
}

void SimSession::TakeMessages()
{
    for (const SimMidiPorts::Received& message : mPorts.TakeReceived())
        Receive(message);
}

void SimSession::Receive(const SimMidiPorts::Received& message)
{
    Print(TrafficDirection::kIn, message.bytes);
    // The box acts on SysEx only; everything else is printed and ignored.
    if (message.bytes.front() != 0xF0)
        return;
    const bool transferWasOpen = mBox.Firmware().open;
    SendAll(mBox.ReceiveSysEx(message.bytes, MillisecondsSinceStart(message.arrival)));
    const VirtualStomplet::FirmwareTransfer& firmware = mBox.Firmware();
    if (transferWasOpen && !firmware.open && firmware.blocksReceived == firmware.blocksExpected)
        FirmwareCompleted();
}

void SimSession::SendAll(const std::vector<VirtualStomplet::WireMessage>& messages)
{
    for (const VirtualStomplet::WireMessage& message : messages)
    {
        if (const std::optional<std::string> error = mPorts.Send(message))
            Diagnose("cannot send: " + *error);
        else
            Print(TrafficDirection::kOut, message);
    }
}

void SimSession::FirmwareCompleted()
{
    const VirtualStomplet::FirmwareTransfer& firmware = mBox.Firmware();
    std::string line = "firmware transfer complete: " + std::to_string(firmware.pages) +
                       " pages, " + std::to_string(firmware.image.size()) + " bytes, " +
                       std::to_string(firmware.checksumFailures) + " blocks with a bad checksum";
    if (mOptions.firmwareOut)
    {
        const std::string_view image(reinterpret_cast<const char*>(firmware.image.data()),
                                     firmware.image.size());
        if (const std::optional<AtomicWriteError> error =
                WriteFileAtomically(*mOptions.firmwareOut, image))
            line += "; image not written: " + error->Describe();
        else
            line += "; image written to " + *mOptions.firmwareOut;
    }
    Diagnose(line);
}

void SimSession::Print(TrafficDirection direction, std::span<const std::uint8_t> bytes)
{
    const auto sinceStart =
        std::chrono::duration_cast<std::chrono::microseconds>(SimMidiPorts::Clock::now() - mStart);
    const std::string line = FormatTrafficLine(sinceStart, direction, bytes);
    std::fprintf(stdout, "%s\n", line.c_str());
    std::fflush(stdout);
}

void SimSession::Diagnose(const std::string& line)
{
    std::fprintf(stderr, "stomplet-sim: %s\n", line.c_str());
    std::fflush(stderr);
}

std::int64_t SimSession::MillisecondsSinceStart(SimMidiPorts::Clock::time_point at) const
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(at - mStart).count();
}
