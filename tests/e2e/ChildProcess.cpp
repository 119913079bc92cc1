#include "ChildProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace e2e
{
namespace
{
constexpr auto kTerminateGrace = std::chrono::seconds(3);

// The first executable called `name` on PATH, or empty.
std::string FindInPath(std::string_view name)
{
    const char* path = std::getenv("PATH");
    std::string_view rest = path ? path : "";
    while (!rest.empty())
    {
        const std::size_t colon = rest.find(':');
        const std::string_view dir = rest.substr(0, colon);
        rest = colon == std::string_view::npos ? std::string_view() : rest.substr(colon + 1);
        const std::string candidate = std::string(dir) + "/" + std::string(name);
        if (!dir.empty() && ::access(candidate.c_str(), X_OK) == 0)
            return candidate;
    }
    return {};
}

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& overrides)
{
    std::vector<std::string> merged;
    for (char** entry = environ; entry && *entry; ++entry)
        merged.emplace_back(*entry);
    for (const std::string& entry : overrides)
    {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        std::erase_if(merged, [&](const std::string& e) { return e.starts_with(name); });
        merged.push_back(entry);
    }
    return merged;
}

std::vector<char*> CStrings(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& s : strings)
        pointers.push_back(s.data());
    pointers.push_back(nullptr);
    return pointers;
}

struct Pipe
{
    int read = -1;
    int write = -1;

    bool Open()
    {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0)
            return false;
        read = fds[0];
        write = fds[1];
        return true;
    }
    void Close()
    {
        for (int* fd : {&read, &write})
        {
            if (*fd >= 0)
                ::close(*fd);
            *fd = -1;
        }
    }
};
} // namespace

std::unique_ptr<ChildProcess> ChildProcess::Start(const Options& options, std::string& error)
{
    // Writing to a child that has gone must fail, not end the test process.
    static const bool sigpipeIgnored = std::signal(SIGPIPE, SIG_IGN) != SIG_ERR;
    (void)sigpipeIgnored;

    if (options.argv.empty())
    {
        error = "no program given";
        return nullptr;
    }
    Pipe in, out, err;
    if ((options.pipeStandardInput && !in.Open()) || !out.Open() || !err.Open())
    {
        error = std::string("cannot create pipes: ") + std::strerror(errno);
        in.Close();
        out.Close();
        err.Close();
        return nullptr;
    }

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (options.pipeStandardInput)
        posix_spawn_file_actions_adddup2(&actions, in.read, STDIN_FILENO);
    else
        posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, out.write, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, err.write, STDERR_FILENO);

    // The child starts with default signal handling and nothing blocked, whatever the test set.
    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    sigset_t none;
    sigemptyset(&none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGINT, SIGTERM, SIGHUP})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigmask(&attributes, &none);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    // setpriv (util-linux) sets the parent-death signal and then becomes the program, so a child
    // never outlives a test that crashed.
    std::vector<std::string> argv;
    static const std::string setpriv = FindInPath("setpriv");
    if (!setpriv.empty())
        argv = {setpriv, "--pdeathsig", "KILL", "--"};
    argv.insert(argv.end(), options.argv.begin(), options.argv.end());
    std::vector<std::string> environment = MergedEnvironment(options.environment);
    std::vector<char*> argvPointers = CStrings(argv);
    std::vector<char*> environmentPointers = CStrings(environment);

    pid_t pid = -1;
    const int spawnError = posix_spawnp(&pid, argv[0].c_str(), &actions, &attributes,
                                        argvPointers.data(), environmentPointers.data());
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attributes);
    ::close(out.write);
    ::close(err.write);
    if (options.pipeStandardInput)
        ::close(in.read);
    if (spawnError != 0)
    {
        error = "cannot start " + options.argv[0] + ": " + std::strerror(spawnError);
        ::close(out.read);
        ::close(err.read);
        if (options.pipeStandardInput)
            ::close(in.write);
        return nullptr;
    }

    std::unique_ptr<ChildProcess> child(new ChildProcess);
    child->mPid = pid;
    child->mInputFd = options.pipeStandardInput ? in.write : -1;
    child->mOutReader = std::thread([c = child.get(), fd = out.read] { c->ReadStream(fd, false); });
    child->mErrReader = std::thread([c = child.get(), fd = err.read] { c->ReadStream(fd, true); });
    return child;
}

ChildProcess::~ChildProcess()
{
    CloseInput();
    if (!mExitStatus)
    {
        Signal(SIGTERM);
        if (!WaitForExit(std::chrono::duration_cast<std::chrono::milliseconds>(kTerminateGrace)))
        {
            Signal(SIGKILL);
            Reap(true);
        }
    }
    mOutReader.join();
    mErrReader.join();
}

bool ChildProcess::WriteInput(std::string_view text)
{
    while (!text.empty())
    {
        if (mInputFd < 0)
            return false;
        const ssize_t written = ::write(mInputFd, text.data(), text.size());
        if (written < 0)
        {
            if (errno == EINTR)
                continue;
            return false;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

void ChildProcess::CloseInput()
{
    if (mInputFd >= 0)
        ::close(mInputFd);
    mInputFd = -1;
}

ChildProcess::Output ChildProcess::Lines() const
{
    std::lock_guard lock(mMutex);
    return mOutput;
}

bool ChildProcess::WaitForEnd(std::chrono::milliseconds limit) const
{
    return PollUntil([this] { return Lines().ended; }, limit);
}

void ChildProcess::Signal(int signal)
{
    if (!mExitStatus)
        ::kill(mPid, signal);
}

bool ChildProcess::Running()
{
    return !Reap(false);
}

std::optional<int> ChildProcess::WaitForExit(std::chrono::milliseconds limit)
{
    PollUntil([this] { return Reap(false); }, limit, std::chrono::milliseconds(5));
    return mExitStatus;
}

bool ChildProcess::Reap(bool block)
{
    if (mExitStatus)
        return true;
    int status = 0;
    pid_t result = -1;
    do
        result = ::waitpid(mPid, &status, block ? 0 : WNOHANG);
    while (result < 0 && errno == EINTR);
    if (result != mPid)
        return false;
    mExitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return true;
}

void ChildProcess::ReadStream(int fd, bool isError)
{
    std::string partial;
    char buffer[4096];
    for (;;)
    {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        partial.append(buffer, static_cast<std::size_t>(got));
        std::size_t start = 0;
        std::vector<std::string> complete;
        for (std::size_t end = partial.find('\n'); end != std::string::npos;
             end = partial.find('\n', start))
        {
            complete.push_back(partial.substr(start, end - start));
            start = end + 1;
        }
        partial.erase(0, start);
        if (!complete.empty())
        {
            std::lock_guard lock(mMutex);
            auto& lines = isError ? mOutput.err : mOutput.out;
            lines.insert(lines.end(), complete.begin(), complete.end());
        }
    }
    ::close(fd);
    std::lock_guard lock(mMutex);
    if (!partial.empty())
        (isError ? mOutput.err : mOutput.out).push_back(partial);
    mOutput.ended = --mOpenStreams == 0;
}

std::optional<ProgramResult> RunProgram(const std::vector<std::string>& argv,
                                        std::chrono::milliseconds limit,
                                        const std::vector<std::string>& environment)
{
    std::string error;
    ChildProcess::Options options;
    options.argv = argv;
    options.environment = environment;
    std::unique_ptr<ChildProcess> child = ChildProcess::Start(options, error);
    if (!child)
        return std::nullopt;
    const std::optional<int> status = child->WaitForExit(limit);
    if (!status)
        return std::nullopt;
    child->WaitForEnd(limit);
    const ChildProcess::Output lines = child->Lines();
    return ProgramResult{*status, lines.out, lines.err};
}

bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
               std::chrono::milliseconds step)
{
    const auto deadline = std::chrono::steady_clock::now() + limit;
    for (;;)
    {
        if (done())
            return true;
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(step);
    }
}
} // namespace e2e
