#pragma once

// What the end-to-end tests share: child programs through QProcess, one wait helper that runs Qt's
// event loop (so the editor's timers tick and the children's output is read), a JACK client that
// lists ports, and stomplet-sim as the box, whose traffic lines show what crossed its ports.
//
// The private JACK server runs without real-time scheduling, so it loses the MIDI of a cycle a
// client misses, now and then on a loaded machine: the tests repeat a step whose repetition
// changes nothing until its effect shows, and treat only what did arrive as evidence.

#include "support/TempFolder.h"

#include <QDeadlineTimer>
#include <QProcess>
#include <QtTest/QTest>
#include <algorithm>
#include <csignal>
#include <functional>
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <set>
#include <sstream>
#include <sys/prctl.h>
#include <unistd.h>

namespace e2e
{
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;
inline constexpr int kSendAttempts = 5;

// Runs the event loop in 10 ms slices until `done` holds, at most `limit`; true when it held.
inline bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 20s)
{
    for (QDeadlineTimer deadline(limit); !done(); QTest::qWait(10))
        if (deadline.hasExpired())
            return false;
    return true;
}

// One message in stomplet-sim's traffic ("<ms> in|out F0 ..."): when it crossed, and its bytes.
struct HexLine
{
    double stamp = 0;
    Bytes bytes;
};

// A program started by a test, killed and reaped when this goes; it also dies with the test
// process. Its standard input is a pipe.
class Child
{
public:
    explicit Child(const std::vector<std::string>& argv)
    {
        QStringList arguments;
        for (std::size_t i = 1; i < argv.size(); ++i)
            arguments << QString::fromStdString(argv[i]);
        mProcess.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
        mProcess.start(QString::fromStdString(argv[0]), arguments);
        EXPECT_TRUE(mProcess.waitForStarted(10000)) << argv[0] << " did not start";
    }
    ~Child()
    {
        mProcess.kill();
        mProcess.waitForFinished(10000);
    }
    bool Running() const { return mProcess.state() != QProcess::NotRunning; }
    // The exit status once it has ended within `limit`, 128 when a signal ended it, or -1.
    int WaitForExit(std::chrono::milliseconds limit = 20s)
    {
        if (!WaitUntil([&] { return !Running(); }, limit))
            return -1;
        return mProcess.exitStatus() == QProcess::CrashExit ? 128 : mProcess.exitCode();
    }
    void Kill() { mProcess.kill(); }
    void Write(const std::string& text) { mProcess.write(text.data(), qint64(text.size())); }
    void CloseInput() { mProcess.closeWriteChannel(); }

    // What it printed so far on standard output (or error), up to its last whole line.
    std::string Text(bool err = false)
    {
        std::string& text = err ? mErr : mOut;
        text += (err ? mProcess.readAllStandardError() : mProcess.readAllStandardOutput())
                    .toStdString();
        return text.substr(0, text.rfind('\n') + 1);
    }
    std::string Transcript() { return "\nstdout:\n" + Text() + "stderr:\n" + Text(true); }
    // Its standard output read as stomplet-sim's traffic: what the box received ("in") or sent
    // ("out").
    std::vector<HexLine> Traffic(std::string_view direction)
    {
        std::vector<HexLine> lines;
        std::istringstream stream(Text());
        for (std::string text; std::getline(stream, text);)
        {
            std::istringstream words(text);
            HexLine line;
            std::string word;
            words >> line.stamp >> word;
            for (unsigned byte = 0; words >> std::hex >> byte;)
                line.bytes.push_back(static_cast<std::uint8_t>(byte));
            if (word == direction)
                lines.push_back(std::move(line));
        }
        return lines;
    }

private:
    QProcess mProcess;
    std::string mOut, mErr;
};

// The server's ports, through one long-lived client of the test process (short-lived clients such
// as jack_lsp's, on a busy server, can leave a program with two clients of its own, as RtMidi
// makes, with one never woken again). The client closes after the last test, so the server need
// not clear away a client whose process has gone.
inline jack_client_t*& Observer(bool close = false)
{
    static jack_client_t* client = nullptr;
    if (client && close)
        jack_client_close(std::exchange(client, nullptr));
    if (!client && !close)
        client = jack_client_open(("e2e-observer-" + std::to_string(::getpid())).c_str(),
                                  JackNoStartServer, nullptr);
    return client;
}
struct CloseObserver final : testing::Environment
{
    void TearDown() override { Observer(true); }
};
inline testing::Environment* const kCloseObserver =
    testing::AddGlobalTestEnvironment(new CloseObserver);

inline std::set<std::string> JackPorts()
{
    jack_client_t* client = Observer();
    const char** names = client ? jack_get_ports(client, {}, {}, 0) : nullptr;
    std::set<std::string> ports;
    for (const char** name = names; name && *name; ++name)
        ports.emplace(*name);
    jack_free(names); // free(3) on null does nothing
    return ports;
}

// Stops or starts the suite's server; true on success. A client of a stopped server never sees it
// started again, so the observer closes first.
inline bool JackServer(const std::string& action)
{
    Observer(true);
    const char* name = std::getenv("JACK_DEFAULT_SERVER");
    return name && Child({STOMPLET_JACK_SERVER_SCRIPT, action, name, STOMPLET_JACK_SERVER_STATE})
                           .WaitForExit(40s) == 0;
}

// stomplet-sim on JACK as the box, with its two ports.
struct Sim
{
    std::unique_ptr<Child> child;
    std::string input, output; // the box's "<client>:MIDI In" and "<client>-01:MIDI Out" ports
};

// Starts the box once the server is quiet (programs of earlier steps may still be leaving it, and
// it copes badly with clients that come meanwhile) and finds its two new ports. A start the busy
// server refused (status 3) is tried again.
inline std::unique_ptr<Sim> StartSim(const std::vector<std::string>& arguments)
{
    const auto serverOnly = [](const std::string& port) { return port.starts_with("system:"); };
    WaitUntil([&] { return std::ranges::all_of(JackPorts(), serverOnly); }, 5s);
    const auto before = JackPorts();
    std::vector<std::string> argv{STOMPLET_SIM_PROGRAM, "--midi-api", "jack"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    auto sim = std::make_unique<Sim>();
    for (int start = 0; start < 3; ++start)
    {
        sim->child = std::make_unique<Child>(argv);
        const auto found = [&]
        {
            for (const std::string& port : JackPorts())
                if (!before.contains(port) && port.ends_with(":MIDI In"))
                    sim->input = port;
                else if (!before.contains(port) && port.ends_with(":MIDI Out"))
                    sim->output = port;
            return !sim->child->Running() || (!sim->input.empty() && !sim->output.empty());
        };
        if (WaitUntil(found) && sim->child->Running())
            return sim;
        if (sim->child->WaitForExit(0ms) != 3)
            break;
    }
    ADD_FAILURE() << "stomplet-sim's ports did not appear" << sim->child->Transcript();
    return nullptr;
}

} // namespace e2e
