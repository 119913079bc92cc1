#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <sys/types.h>
#include <thread>
#include <utility>
#include <vector>

namespace e2e
{
// A program started by a test, with its standard output and error read line by line on two reader
// threads. The child inherits the test's environment (plus any overrides) and dies with the test
// process even when the test crashes (parent-death signal, where the system offers it). Whatever
// happens, the destructor ends it: SIGTERM, a bounded wait, then SIGKILL; it is always reaped.
// [test thread] for every member; the reader threads touch only the line lists.
class ChildProcess
{
public:
    struct Options
    {
        std::vector<std::string> argv;  // argv[0] is a path, or a name looked up in PATH
        bool pipeStandardInput = false; // false: /dev/null
        // "NAME=value" entries that replace or extend the inherited environment.
        std::vector<std::string> environment;
    };

    struct Output
    {
        std::vector<std::string> out; // complete lines of standard output, without line ends
        std::vector<std::string> err;
        bool ended = false; // both streams are closed: no more lines will come
    };

    // Starts the program; null with `error` set when it cannot start.
    static std::unique_ptr<ChildProcess> Start(const Options& options, std::string& error);

    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t Pid() const { return mPid; }

    // False when the child's standard input is not a pipe any more or the write failed.
    bool WriteInput(std::string_view text);
    void CloseInput();

    Output Lines() const;
    // Waits until both streams have ended, at most `limit`.
    bool WaitForEnd(std::chrono::milliseconds limit) const;

    // Sends a signal to the child, unless it has been reaped.
    void Signal(int signal);
    // True while the child has not ended.
    bool Running();
    // The exit status (a signal that ended it as 128 + the signal's number), or empty when it was
    // still running after `limit`.
    std::optional<int> WaitForExit(std::chrono::milliseconds limit);

private:
    ChildProcess() = default;
    void ReadStream(int fd, bool isError);
    bool Reap(bool block);

    pid_t mPid = -1;
    std::optional<int> mExitStatus;
    int mInputFd = -1;
    std::thread mOutReader;
    std::thread mErrReader;

    mutable std::mutex mMutex;
    Output mOutput;
    int mOpenStreams = 2;
};

// Runs a program to its end with standard input from /dev/null; empty when it could not start or
// did not end within `limit` (it is then killed).
struct ProgramResult
{
    int exitStatus = -1;
    std::vector<std::string> out;
    std::vector<std::string> err;
};
std::optional<ProgramResult> RunProgram(const std::vector<std::string>& argv,
                                        std::chrono::milliseconds limit,
                                        const std::vector<std::string>& environment = {});

// Calls `done` every `step` until it returns true or `limit` has passed; true when it did. The
// sleeps pace the polling only; no test asserts on how long it took.
bool PollUntil(const std::function<bool()>& done, std::chrono::milliseconds limit,
               std::chrono::milliseconds step = std::chrono::milliseconds(20));
} // namespace e2e
