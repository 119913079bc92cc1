// stomplet-sim: a virtual ctrlWave Stomplet on real MIDI ports, for trying the editor and the
// command-line tools without the box. See SimUsage() for the options, commands and output.

#include "SimMidiPorts.h"
#include "SimOptions.h"
#include "SimSession.h"
#include "midi/LibraryDiagnostics.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace
{
constexpr int kExitBadArgument = 2;
constexpr int kExitMidiUnavailable = 3;
constexpr int kExitSystemError = 1;

volatile std::sig_atomic_t gStopRequested = 0;
int gWakeWriteFd = -1;

// Async-signal-safe: sets the flag and wakes the poll loop.
extern "C" void OnStopSignal(int)
{
    const int savedErrno = errno;
    gStopRequested = 1;
    const char wake = 's';
    [[maybe_unused]] const ssize_t written = ::write(gWakeWriteFd, &wake, 1);
    errno = savedErrno;
}

bool InstallSignalHandlers()
{
    struct sigaction stop = {};
    stop.sa_handler = &OnStopSignal;
    sigemptyset(&stop.sa_mask);
    struct sigaction ignore = {};
    ignore.sa_handler = SIG_IGN;
    sigemptyset(&ignore.sa_mask);
    // A reader of standard output that goes away must not end the box.
    return ::sigaction(SIGINT, &stop, nullptr) == 0 && ::sigaction(SIGTERM, &stop, nullptr) == 0 &&
           ::sigaction(SIGPIPE, &ignore, nullptr) == 0;
}

void PrintError(const std::string& line)
{
    std::fprintf(stderr, "stomplet-sim: %s\n", line.c_str());
    std::fflush(stderr);
}
} // namespace

int main(int argc, char* argv[])
{
    const auto start = SimMidiPorts::Clock::now();
    // The MIDI libraries' own words only with the trace; the program's own lines always.
    RouteLibraryDiagnostics(std::getenv("STOMPLET_TRACE") != nullptr);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const SimArgumentsResult parsed = ParseSimArguments(args);
    if (!parsed.arguments)
    {
        PrintError(parsed.error);
        return kExitBadArgument;
    }
    if (parsed.arguments->action == SimAction::kHelp)
    {
        std::fputs(SimUsage().c_str(), stdout);
        return 0;
    }
    if (parsed.arguments->action == SimAction::kVersion)
    {
        std::printf("stomplet-sim %s\n", STOMPLET_VERSION);
        return 0;
    }
    const SimOptions& options = parsed.arguments->options;

    int wakePipe[2] = {-1, -1};
    if (::pipe2(wakePipe, O_NONBLOCK | O_CLOEXEC) != 0)
    {
        PrintError(std::string("cannot create a pipe: ") + std::strerror(errno));
        return kExitSystemError;
    }
    gWakeWriteFd = wakePipe[1];
    if (!InstallSignalHandlers())
    {
        PrintError(std::string("cannot install the signal handlers: ") + std::strerror(errno));
        return kExitSystemError;
    }

    int status = 0;
    {
        SimMidiPorts ports(wakePipe[1]);
        if (const std::optional<std::string> error =
                ports.Open(options.midiApi.value_or(DefaultMidiSystem()) == MidiSystem::kJack,
                           options.clientName))
        {
            PrintError(*error);
            status = kExitMidiUnavailable;
        }
        else
        {
            SimSession session(options, ports, wakePipe[0], gStopRequested, start);
            status = session.Run();
        }
    }
    // The ports are closed: no callback writes to the pipe any more. The signal handler may still,
    // so the write end stays open until exit.
    ::close(wakePipe[0]);
    return status;
}
