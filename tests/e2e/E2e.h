#pragma once

// What the end-to-end tests share: child programs through QProcess, one wait helper that runs Qt's
// event loop (so the editor's timers tick and the children's output is read), one reader of hex
// lines, a JACK client that lists and connects ports, stomplet-sim as the box and jack_midi_dump
// as an independent observer.
//
// The private JACK server runs without real-time scheduling, so it loses the MIDI of a cycle a
// client misses, now and then on a loaded machine: the tests repeat a step whose repetition
// changes nothing until its effect shows, and treat only what did arrive as evidence.

#include <QDeadlineTimer>
#include <QProcess>
#include <QtTest/QTest>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <map>
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

// One line of stomplet-sim's traffic ("<ms> in|out F0 ...") or of jack_midi_dump
// ("<frame>: f0 ... <description>"): its stamp, its direction ("in", "out", or empty for the
// dump) and its bytes, which run up to the first word that is not one. Empty for other lines.
struct HexLine
{
    double stamp = 0;
    std::string direction;
    Bytes bytes;
};
inline std::optional<HexLine> ParseHexLine(const std::string& text)
{
    std::istringstream words(text);
    std::string word;
    HexLine line;
    if (!(words >> word))
        return std::nullopt;
    if (word.ends_with(':'))
        word.pop_back();
    char* end = nullptr;
    line.stamp = std::strtod(word.c_str(), &end);
    if (word.empty() || *end != '\0')
        return std::nullopt;
    while (words >> word)
    {
        if (line.bytes.empty() && line.direction.empty() && (word == "in" || word == "out"))
            line.direction = word;
        else if (word.size() == 2 && std::isxdigit(static_cast<unsigned char>(word[0])) &&
                 std::isxdigit(static_cast<unsigned char>(word[1])))
            line.bytes.push_back(static_cast<std::uint8_t>(std::stoi(word, nullptr, 16)));
        else
            break;
    }
    return line.bytes.empty() ? std::nullopt : std::optional(line);
}

// A program started by a test, killed and reaped when this goes; it also dies with the test
// process. Standard input is a pipe when `input`, otherwise empty.
class Child
{
public:
    explicit Child(const std::vector<std::string>& argv, bool input = false)
    {
        QStringList arguments;
        for (std::size_t i = 1; i < argv.size(); ++i)
            arguments << QString::fromStdString(argv[i]);
        if (!input)
            mProcess.setStandardInputFile(QProcess::nullDevice());
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
    void Signal(int signal)
    {
        if (Running())
            ::kill(static_cast<pid_t>(mProcess.processId()), signal);
    }
    void Write(const std::string& text) { mProcess.write(text.data(), qint64(text.size())); }
    void CloseInput() { mProcess.closeWriteChannel(); }

    // The whole lines printed so far on standard output (or error).
    std::vector<std::string> Lines(bool err = false)
    {
        std::string& text = err ? mErr : mOut;
        text += (err ? mProcess.readAllStandardError() : mProcess.readAllStandardOutput())
                    .toStdString();
        std::vector<std::string> lines;
        std::istringstream stream(text.substr(0, text.rfind('\n') + 1));
        for (std::string line; std::getline(stream, line);)
            lines.push_back(line);
        return lines;
    }
    std::string Text(bool err = false)
    {
        std::string text;
        for (const std::string& line : Lines(err))
            text += line + "\n";
        return text;
    }
    std::string Transcript() { return "\nstdout:\n" + Text() + "stderr:\n" + Text(true); }
    std::vector<HexLine> HexLines()
    {
        std::vector<HexLine> lines;
        for (const std::string& text : Lines())
            if (std::optional<HexLine> line = ParseHexLine(text))
                lines.push_back(std::move(*line));
        return lines;
    }
    // The bytes of the lines of one direction: "in" or "out" for the box, "" for the dump.
    std::vector<Bytes> Messages(std::string_view direction = "")
    {
        std::vector<Bytes> messages;
        for (HexLine& line : HexLines())
            if (line.direction == direction)
                messages.push_back(std::move(line.bytes));
        return messages;
    }
    std::size_t Count(const Bytes& bytes, std::string_view direction = "")
    {
        return std::ranges::count(Messages(direction), bytes);
    }

private:
    QProcess mProcess;
    std::string mOut, mErr;
};

// The server's ports, each with the ports it is connected to, through one long-lived client of
// the test process (short-lived clients such as jack_lsp's, on a busy server, can leave a program
// with two clients of its own, as RtMidi makes, with one never woken again). The client closes
// after the last test, so the server need not clear away a client whose process has gone.
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

inline std::vector<std::string> TakeNames(const char** names)
{
    std::vector<std::string> list;
    for (const char** name = names; name && *name; ++name)
        list.emplace_back(*name);
    jack_free(names); // free(3) on null does nothing
    return list;
}
inline std::map<std::string, std::vector<std::string>> JackPorts()
{
    std::map<std::string, std::vector<std::string>> ports;
    jack_client_t* client = Observer();
    for (const std::string& port : TakeNames(client ? jack_get_ports(client, {}, {}, 0) : nullptr))
        if (jack_port_t* handle = jack_port_by_name(client, port.c_str()))
            ports[port] = TakeNames(jack_port_get_all_connections(client, handle));
    return ports;
}

// Connects two ports, tried until their client takes connections; true when connected.
inline bool JackConnect(const std::string& from, const std::string& to)
{
    return WaitUntil(
        [&]
        {
            const int result = jack_connect(Observer(), from.c_str(), to.c_str());
            return result == 0 || result == EEXIST;
        },
        10s);
}

// Runs a program to its end, standard input empty.
struct Result
{
    int status = -1;
    std::vector<std::string> out, err;
};
inline Result Run(const std::vector<std::string>& argv)
{
    Child child(argv);
    const int status = child.WaitForExit(40s);
    EXPECT_NE(status, -1) << argv[0] << " did not end";
    return {status, child.Lines(), child.Lines(true)};
}

// Stops or starts the suite's server; true on success. A client of a stopped server never sees it
// started again, so the observer closes first.
inline bool JackServer(const std::string& action)
{
    Observer(true);
    const char* name = std::getenv("JACK_DEFAULT_SERVER");
    return name &&
           Run({STOMPLET_JACK_SERVER_SCRIPT, action, name, STOMPLET_JACK_SERVER_STATE}).status == 0;
}

// stomplet-sim on JACK as the box, with its two ports.
struct Sim
{
    std::unique_ptr<Child> child;
    std::string input, output; // the box's "...:MIDI In" and "...:MIDI Out" ports
};

// Starts the box once the server is quiet (programs of earlier steps may still be leaving it, and
// it copes badly with clients that come meanwhile) and finds its two new ports. A start the busy
// server refused (status 3) is tried again.
inline std::unique_ptr<Sim> StartSim(const std::vector<std::string>& arguments, bool input = true)
{
    WaitUntil(
        []
        {
            return std::ranges::all_of(JackPorts(), [](const auto& port)
                                       { return port.first.starts_with("system:"); });
        },
        5s);
    const auto before = JackPorts();
    std::vector<std::string> argv{STOMPLET_SIM_PROGRAM, "--midi-api", "jack"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    auto sim = std::make_unique<Sim>();
    for (int start = 0; start < 3; ++start)
    {
        sim->child = std::make_unique<Child>(argv, input);
        const auto found = [&]
        {
            for (const auto& [port, peers] : JackPorts())
                if (port.starts_with("Korvo-Audio ctrlWave Stomplet") && !before.contains(port))
                    (port.ends_with(":MIDI In") ? sim->input : sim->output) = port;
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

// jack_midi_dump with its input connected to `source`.
inline std::unique_ptr<Child> StartDump(const std::string& source)
{
    static int dumps = 0;
    const std::string name = "e2e-dump-" + std::to_string(++dumps);
    auto dump = std::make_unique<Child>(std::vector<std::string>{"jack_midi_dump", name});
    if (WaitUntil([&] { return JackPorts().contains(name + ":input"); }, 10s) &&
        JackConnect(source, name + ":input"))
        return dump;
    ADD_FAILURE() << "jack_midi_dump did not come up" << dump->Transcript();
    return nullptr;
}
// A folder for the running test's files under the build tree, emptied first and kept afterwards.
inline std::filesystem::path ScratchFolder()
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder =
        std::filesystem::path(STOMPLET_E2E_SCRATCH) /
        (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

inline Bytes FileBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

// settings.ini in `folder` wiring the editor's input to the box's output and back.
inline void WriteEditorSettings(const std::filesystem::path& folder, const Sim& sim)
{
    std::ofstream(folder / "settings.ini")
        << "[midi]\nindev=" << sim.output << "\noutdev=" << sim.input << "\n";
}

// The "[midi]" section's "indev" or "outdev" as it stands on disk.
inline std::string StoredPort(const std::filesystem::path& folder, const std::string& key)
{
    std::ifstream file(folder / "settings.ini");
    std::string section;
    for (std::string line; std::getline(file, line);)
        if (line.starts_with("["))
            section = line;
        else if (section == "[midi]" && line.starts_with(key + "="))
            return line.substr(key.size() + 1);
    return {};
}
} // namespace e2e
