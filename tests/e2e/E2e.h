#pragma once

// What the end-to-end tests share: child programs through QProcess, one wait helper that runs Qt's
// event loop (so the editor's timers tick and the children's output is read), one reader of hex
// lines, a JACK client that lists and connects ports, stomplet-sim as the box and jack_midi_dump
// as an independent observer.
//
// The private JACK server runs without real-time scheduling, so it loses the MIDI of a cycle a
// client misses, now and then on a loaded machine: the tests repeat a step whose repetition
// changes nothing until its effect shows, and treat only what did arrive as evidence.

#include <QProcess>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace e2e
{
using Bytes = std::vector<std::uint8_t>;
using namespace std::chrono_literals;
inline constexpr int kSendAttempts = 5;

// Runs the event loop in 10 ms slices until `done` holds, at most `limit`; true when it held.
bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = 20s);

// One line of stomplet-sim's traffic ("<ms> in|out F0 ...") or of jack_midi_dump
// ("<frame>: f0 ... <description>"): its stamp, its direction ("in", "out", or empty for the
// dump) and its bytes. Empty for any other line.
struct HexLine
{
    double stamp = 0;
    std::string direction;
    Bytes bytes;
};
std::optional<HexLine> ParseHexLine(std::string_view line);

// A program started by a test, ended (SIGKILL) and reaped when this goes; it also dies with the
// test process. Standard input is a pipe when `input`, otherwise empty.
class Child
{
public:
    Child(const std::vector<std::string>& argv, bool input = false,
          const std::vector<std::pair<std::string, std::string>>& environment = {});
    ~Child();
    std::vector<std::string> Out() { return Lines(false); }
    std::vector<std::string> Err() { return Lines(true); }
    std::string Transcript(); // both streams, for a failure message
    bool Running() const { return mProcess.state() != QProcess::NotRunning; }
    // The exit status once it has ended within `limit`, 128 when a signal ended it, or -1.
    int WaitForExit(std::chrono::milliseconds limit = 20s);
    void Write(const std::string& text) { mProcess.write(text.data(), qint64(text.size())); }
    void CloseInput() { mProcess.closeWriteChannel(); }
    void Signal(int signal);
    // The lines it printed that carry bytes.
    std::vector<HexLine> HexLines();

private:
    std::vector<std::string> Lines(bool err);
    QProcess mProcess;
    std::string mOut, mErr;
};

// Runs a program to its end, stdin empty; status -1 when it did not end within `limit`.
struct Result
{
    int status = -1;
    std::vector<std::string> out, err;
};
Result Run(const std::vector<std::string>& argv,
           const std::vector<std::pair<std::string, std::string>>& environment = {},
           std::chrono::milliseconds limit = 40s);

// The server's ports, each with the ports it is connected to, through one long-lived client of
// the test process (short-lived clients such as jack_lsp's, on a busy server, can leave a program
// with two clients of its own, as RtMidi makes, with one never woken again).
std::map<std::string, std::vector<std::string>> JackPorts();
// Connects two ports, tried until their client takes connections; true when connected.
bool JackConnect(const std::string& from, const std::string& to);
// Stops or starts the suite's server (the observer client is closed first); true on success.
bool JackServer(const std::string& action);

// stomplet-sim on JACK as the box: started once the server is quiet, with its two new ports found
// (a start the busy server refused with status 3 is tried again).
struct Sim
{
    static constexpr std::string_view kClient = "Korvo-Audio ctrlWave Stomplet";
    std::unique_ptr<Child> child;
    std::string input, output; // the box's "...:MIDI In" and "...:MIDI Out" ports
    // The messages of one direction: received (`in`) or sent by the box.
    std::vector<Bytes> Messages(bool in) const;
    std::size_t Count(bool in, const Bytes& bytes) const;
};
std::unique_ptr<Sim> StartSim(const std::vector<std::string>& arguments, bool input = true);

// jack_midi_dump with its input port connected to `source`; null when it did not come up.
struct Dump
{
    std::unique_ptr<Child> child;
    std::vector<Bytes> Messages() const;
};
std::unique_ptr<Dump> StartDump(const std::string& source);

// A folder for the running test's files under the build tree, emptied first and kept afterwards.
std::filesystem::path ScratchFolder();
// settings.ini in `folder` wiring the editor's input to the box's output and back.
void WriteEditorSettings(const std::filesystem::path& folder, const Sim& sim);
// The "[midi]" section's "indev" or "outdev" as it stands on disk.
std::string StoredPort(const std::filesystem::path& folder, const std::string& key);
} // namespace e2e
