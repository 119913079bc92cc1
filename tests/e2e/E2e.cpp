#include "E2e.h"

#include <QElapsedTimer>
#include <QtTest/QTest>
#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <sstream>
#include <sys/prctl.h>
#include <unistd.h>

namespace e2e
{
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    QElapsedTimer clock;
    clock.start();
    while (!done())
    {
        if (clock.elapsed() > limit.count())
            return false;
        QTest::qWait(10);
    }
    return true;
}

std::optional<HexLine> ParseHexLine(std::string_view text)
{
    std::istringstream words{std::string(text)};
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
    // The bytes run up to the first word that is not one: the dump's description.
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
    if (line.bytes.empty())
        return std::nullopt;
    return line;
}

Child::Child(const std::vector<std::string>& argv, bool input,
             const std::vector<std::pair<std::string, std::string>>& environment)
{
    QStringList arguments;
    for (std::size_t i = 1; i < argv.size(); ++i)
        arguments << QString::fromStdString(argv[i]);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    for (const auto& [name, value] : environment)
        env.insert(QString::fromStdString(name), QString::fromStdString(value));
    mProcess.setProcessEnvironment(env);
    if (!input)
        mProcess.setStandardInputFile(QProcess::nullDevice());
    // Ends with the test process, even when that crashes.
    mProcess.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    mProcess.start(QString::fromStdString(argv[0]), arguments);
    EXPECT_TRUE(mProcess.waitForStarted(10000)) << argv[0] << " did not start";
}

Child::~Child()
{
    if (Running())
    {
        mProcess.kill();
        mProcess.waitForFinished(10000);
    }
}

std::vector<std::string> Child::Lines(bool err)
{
    std::string& text = err ? mErr : mOut;
    text +=
        (err ? mProcess.readAllStandardError() : mProcess.readAllStandardOutput()).toStdString();
    std::vector<std::string> lines;
    std::istringstream stream(text);
    for (std::string line; std::getline(stream, line);)
        lines.push_back(line);
    if (!text.empty() && !text.ends_with('\n'))
        lines.pop_back(); // not a whole line yet
    return lines;
}

std::string Child::Transcript()
{
    std::string text = "\nstandard output:";
    for (const std::string& line : Out())
        text += "\n  " + line;
    text += "\nstandard error:";
    for (const std::string& line : Err())
        text += "\n  " + line;
    return text;
}

int Child::WaitForExit(std::chrono::milliseconds limit)
{
    if (!WaitUntil([&] { return !Running(); }, limit))
        return -1;
    if (mProcess.exitStatus() == QProcess::CrashExit)
        return 128;
    return mProcess.exitCode();
}

void Child::Signal(int signal)
{
    if (Running())
        ::kill(static_cast<pid_t>(mProcess.processId()), signal);
}

std::vector<HexLine> Child::HexLines()
{
    std::vector<HexLine> lines;
    for (const std::string& text : Out())
        if (std::optional<HexLine> line = ParseHexLine(text))
            lines.push_back(std::move(*line));
    return lines;
}

Result Run(const std::vector<std::string>& argv,
           const std::vector<std::pair<std::string, std::string>>& environment,
           std::chrono::milliseconds limit)
{
    Child child(argv, false, environment);
    Result result;
    result.status = child.WaitForExit(limit);
    EXPECT_NE(result.status, -1) << argv[0] << " did not end";
    result.out = child.Out();
    result.err = child.Err();
    return result;
}

namespace
{
struct JackClient
{
    jack_client_t* client = nullptr;
    ~JackClient()
    {
        if (client)
            jack_client_close(client);
    }
};
std::unique_ptr<JackClient> gObserver;

// Closed after the last test, so the server need not clear away a client whose process has gone.
struct CloseObserver final : testing::Environment
{
    void TearDown() override { gObserver.reset(); }
};
[[maybe_unused]] testing::Environment* const kCloseObserver =
    testing::AddGlobalTestEnvironment(new CloseObserver);

jack_client_t* Observer()
{
    if (!gObserver)
    {
        gObserver = std::make_unique<JackClient>();
        const std::string name = "e2e-observer-" + std::to_string(::getpid());
        jack_status_t status{};
        gObserver->client = jack_client_open(name.c_str(), JackNoStartServer, &status);
    }
    return gObserver->client;
}

std::vector<std::string> TakeNames(const char** names)
{
    std::vector<std::string> list;
    for (const char** name = names; name && *name; ++name)
        list.emplace_back(*name);
    jack_free(names);
    return list;
}
} // namespace

std::map<std::string, std::vector<std::string>> JackPorts()
{
    std::map<std::string, std::vector<std::string>> ports;
    jack_client_t* client = Observer();
    if (!client)
        return ports;
    for (const std::string& port : TakeNames(jack_get_ports(client, nullptr, nullptr, 0)))
        if (jack_port_t* handle = jack_port_by_name(client, port.c_str()))
            ports[port] = TakeNames(jack_port_get_all_connections(client, handle));
    return ports;
}

bool JackConnect(const std::string& from, const std::string& to)
{
    return WaitUntil(
        [&]
        {
            const int result = jack_connect(Observer(), from.c_str(), to.c_str());
            return result == 0 || result == EEXIST;
        },
        10s);
}

bool JackServer(const std::string& action)
{
    gObserver.reset(); // a client of a stopped server never sees it started again
    const char* name = std::getenv("JACK_DEFAULT_SERVER");
    return name &&
           Run({STOMPLET_JACK_SERVER_SCRIPT, action, name, STOMPLET_JACK_SERVER_STATE}).status == 0;
}

std::vector<Bytes> Sim::Messages(bool in) const
{
    std::vector<Bytes> messages;
    for (const HexLine& line : child->HexLines())
        if ((line.direction == "in") == in)
            messages.push_back(line.bytes);
    return messages;
}

std::size_t Sim::Count(bool in, const Bytes& bytes) const
{
    const std::vector<Bytes> messages = Messages(in);
    return static_cast<std::size_t>(std::count(messages.begin(), messages.end(), bytes));
}

std::unique_ptr<Sim> StartSim(const std::vector<std::string>& arguments, bool input)
{
    // Programs of earlier steps may still be leaving the server, which copes badly with clients
    // that come meanwhile.
    WaitUntil(
        []
        {
            const auto ports = JackPorts();
            return !ports.empty() &&
                   std::all_of(ports.begin(), ports.end(),
                               [](const auto& port) { return port.first.starts_with("system:"); });
        },
        5s);
    const auto before = JackPorts();
    std::vector<std::string> argv{STOMPLET_SIM_PROGRAM, "--midi-api", "jack"};
    argv.insert(argv.end(), arguments.begin(), arguments.end());
    auto sim = std::make_unique<Sim>();
    for (int start = 0; start < 3; ++start)
    {
        sim->child = std::make_unique<Child>(argv, input);
        const bool found = WaitUntil(
            [&]
            {
                for (const auto& [port, connections] : JackPorts())
                {
                    if (!port.starts_with(Sim::kClient) || before.contains(port))
                        continue;
                    (port.ends_with(":MIDI In") ? sim->input : sim->output) = port;
                }
                return !sim->child->Running() || (!sim->input.empty() && !sim->output.empty());
            });
        if (found && sim->child->Running())
            return sim;
        if (sim->child->WaitForExit(0ms) != 3) // 3: the server took no new client in time
            break;
    }
    ADD_FAILURE() << "stomplet-sim's ports did not appear" << sim->child->Transcript();
    return nullptr;
}

std::vector<Bytes> Dump::Messages() const
{
    std::vector<Bytes> messages;
    for (const HexLine& line : child->HexLines())
        messages.push_back(line.bytes);
    return messages;
}

std::unique_ptr<Dump> StartDump(const std::string& source)
{
    static int dumps = 0;
    const std::string name = "e2e-dump-" + std::to_string(++dumps);
    auto dump = std::make_unique<Dump>();
    dump->child = std::make_unique<Child>(std::vector<std::string>{"jack_midi_dump", name});
    if (!WaitUntil([&] { return JackPorts().contains(name + ":input"); }, 10s) ||
        !JackConnect(source, name + ":input"))
    {
        ADD_FAILURE() << "jack_midi_dump did not come up" << dump->child->Transcript();
        return nullptr;
    }
    return dump;
}

std::filesystem::path ScratchFolder()
{
    const testing::TestInfo* test = testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path folder =
        std::filesystem::path(STOMPLET_E2E_SCRATCH) /
        (std::string(test->test_suite_name()) + "." + test->name());
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    return folder;
}

void WriteEditorSettings(const std::filesystem::path& folder, const Sim& sim)
{
    std::ofstream(folder / "settings.ini")
        << "[midi]\nindev=" << sim.output << "\noutdev=" << sim.input << "\n";
}

std::string StoredPort(const std::filesystem::path& folder, const std::string& key)
{
    std::ifstream file(folder / "settings.ini");
    std::string section;
    for (std::string line; std::getline(file, line);)
    {
        if (line.starts_with("["))
            section = line;
        else if (section == "[midi]" && line.starts_with(key + "="))
            return line.substr(key.size() + 1);
    }
    return {};
}
} // namespace e2e
