// stomplet: the ctrlWave Stomplet from the command line, for scripts and rigs without a screen.
// See CliUsage() for the commands, options and exit statuses.

#include "BoxLink.h"
#include "CliArguments.h"
#include "CliCommands.h"
#include "midi/InProcessMidi.h"
#include "midi/LibraryDiagnostics.h"
#include "midi/RtMidiPorts.h"
#include "sim/DemoStomplet.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <string_view>
#include <unistd.h>
#include <vector>

namespace
{
volatile std::sig_atomic_t gStopRequested = 0;

extern "C" void OnStopSignal(int)
{
    gStopRequested = 1;
}

void InstallSignalHandlers()
{
    struct sigaction stop = {};
    stop.sa_handler = &OnStopSignal;
    sigemptyset(&stop.sa_mask);
    ::sigaction(SIGINT, &stop, nullptr);
    ::sigaction(SIGTERM, &stop, nullptr);
}

int Fail(int status, const std::string& line)
{
    std::fprintf(stderr, "stomplet: %s\n", line.c_str());
    return status;
}
} // namespace

int main(int argc, char* argv[])
{
    // The MIDI libraries' own words only with the trace; the program's own lines always.
    RouteLibraryDiagnostics(std::getenv("STOMPLET_TRACE") != nullptr);
    const std::vector<std::string_view> args(argv + 1, argv + argc);
    const CliArgumentsResult parsed = ParseCliArguments(args);
    if (!parsed.arguments)
        return Fail(kExitBadInput, parsed.error);
    const CliArguments& arguments = *parsed.arguments;
    if (arguments.help)
    {
        std::fputs((arguments.command ? CommandUsage(*arguments.command) : CliUsage()).c_str(),
                   stdout);
        return kExitSuccess;
    }
    if (arguments.version)
    {
        std::printf("stomplet %s\n", STOMPLET_VERSION);
        return kExitSuccess;
    }
    const PrepareResult prepared = PrepareCommand(arguments);
    if (const std::string* error = std::get_if<std::string>(&prepared))
        return Fail(kExitBadInput, *error);
    InstallSignalHandlers();

    const CliOptions& options = arguments.options;
    InProcessMidi bus;
    std::unique_ptr<DemoStomplet> demo;
    std::unique_ptr<RtMidiPortFactory> factory;
    if (options.demo)
        demo = std::make_unique<DemoStomplet>(bus);
    else
        factory = std::make_unique<RtMidiPortFactory>(options.midiApi.value_or(DefaultMidiSystem()),
                                                      "stomplet");

    int status = kExitSuccess;
    {
        std::unique_ptr<BoxLink> link;
        if (std::optional<std::string> error =
                BoxLink::Create(options.demo ? static_cast<MidiPortFactory&>(bus) : *factory, link))
            return Fail(kExitMidiMissing, *error);
        // The monitor only listens: it needs no output port.
        const BoxLink::PortChoice choice{options.portPrefix, options.inputName, options.outputName,
                                         arguments.command == CliCommand::kMonitor};
        if (arguments.command == CliCommand::kPorts)
        {
            PrintPorts(*link, choice, stdout);
            return kExitSuccess;
        }
        CommandOutput output;
        output.terminal = ::isatty(STDOUT_FILENO) == 1;
        output.stop = &gStopRequested;
        if (demo)
            output.idle = [&demo] { demo->Perform(); };
        if (arguments.command == CliCommand::kDetect)
            return RunCommand(std::get<PreparedCommand>(prepared), options, *link, output);
        if (std::optional<std::string> error = link->Open(choice))
        {
            // No port of that name, perhaps because the system itself does not run.
            if (factory && !factory->SystemRunning())
                return Fail(kExitMidiMissing,
                            "no MIDI: " + factory->SystemName() + " is not running");
            return Fail(kExitMidiMissing, *error);
        }
        status = RunCommand(std::get<PreparedCommand>(prepared), options, *link, output);
    }
    return status;
}
