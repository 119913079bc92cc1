#pragma once

#include "app/AppSettings.h"
#include "core/IPlugAPP.h"
#include "midi/MidiPorts.h"

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

enum class MidiRoute
{
    kInput,
    kOutput,
};

// The host's MIDI ports: it owns the input and the output port object, keeps the two port name
// lists, selects ports by the names in the current settings, hands every incoming message to the
// application's input rings and puts the application's outgoing messages on the output port.
// The application shell owns one; the settings and their file belong to the shell.
//
// Threads: everything runs on the main thread except MidiInputCallback (MIDI input thread) and
// SendToOutputPort (any thread: the main thread and the pump thread). One mutex covers every use
// of the output port object (creation, open, close, the count and names, send, destruction) and
// is held only for that use; it is the only lock the pump thread can meet here. The input object
// is used on the main thread only; its callback touches nothing but the exiting flag and the
// application's lock-free input rings.
class MidiRouter final : public AppHostLink
{
public:
    // Reports a failure of the MIDI library, one line. [main thread]
    using DiagnosticSink = std::function<void(std::string_view line)>;

    // The names this program's side of a connection gets.
    static constexpr std::string_view kInputClientPortName = "RtMidi Input";
    static constexpr std::string_view kOutputClientPortName = "RtMidi Output";

    // [main thread] Becomes `app`'s host link. `settings` is the shell's current settings record,
    // whose two MIDI port names the router reads and changes; the router never writes the file,
    // which is the shell's. Both must outlive the router. `sink` may be empty.
    MidiRouter(IPlugAPP& app, AppSettings& settings, DiagnosticSink sink = {});
    // [main thread] Detaches from the application, then ReleasePorts(). Whatever drives the pump
    // must have stopped: the pump may send through this router.
    ~MidiRouter() override;
    MidiRouter(const MidiRouter&) = delete;
    MidiRouter& operator=(const MidiRouter&) = delete;

    // [main thread] Creates the input port object, then the output port object, installs
    // MidiInputCallback on the input and lets SysEx and active sensing through while dropping
    // timing messages. A failure is reported to the sink; the input object then stays absent too
    // when it was the input that failed, and the output object is absent when the output failed.
    // True when both exist. Port objects from an earlier call are released first. `factory` must
    // outlive the router, or the next CreateMidiPorts: the probe makes new objects with it when
    // the system stops.
    bool CreateMidiPorts(MidiPortFactory& factory);
    // [main thread] Both port objects exist (the Preferences lists are filled only then).
    bool HasPortObjects() const { return mInput && mOutput; }

    // [main thread] Rebuilds a port name list whose ports have changed. A selected port that has
    // gone is closed, and for the output the application hears OnMidiOutputPortSelected("off");
    // its name stays in the setting and is remembered. A remembered name whose port is listed
    // again (with the ALSA client:port numbers left out if need be, see FindMidiPort) is reopened
    // and, for the output, announced to the application. A selected port still present keeps its
    // connection whatever else comes or goes. After a rebuild the lists-changed function runs.
    // Returns whether a list was rebuilt; false when a port object is absent.
    bool RefreshPortLists();
    // [main thread] Runs `changed` after every rebuild of a port name list (empty: nothing).
    void SetListsChangedFunction(std::function<void()> changed)
    {
        mListsChanged = std::move(changed);
    }
    // [main thread] The application's 20 ms tick. With a system that announces its port changes
    // the lists are read only after a notice (reading JACK's lists 50 times a second was most of
    // an idle editor's CPU); otherwise on every tick. When the system stops, its ports are gone:
    // the lists hold only "off", the selections turn "off" as an unplugged port's does, and the
    // port objects are made anew, once when it stops and once when it runs again, after which
    // its ports are listed and can be chosen again.
    void ProbeMidiPorts() override;

    // [main thread] Closes the route's port and opens the one called `name` ("off": none). The
    // name is looked up with FindMidiPort; when it matched only without the client:port numbers,
    // the route's setting takes the port's actual name. When no port matches, the port stays
    // closed, the name is remembered (see RefreshPortLists) and, for the output, the application
    // hears OnMidiOutputPortSelected("off"). Any other choice ends the remembering. A port that
    // fails to open is reported to the sink and stays closed. False only when the route's port
    // object is absent.
    bool SelectMidiPort(MidiRoute route, std::string_view name);

    // [main thread] The route's name list: "off", then the library's port names in its order.
    // Empty until the first RefreshPortLists().
    const std::vector<std::string>& PortNameList(MidiRoute route) const;
    // [main thread] The name of the port the route has open, or nullopt.
    const std::optional<std::string>& OpenPortName(MidiRoute route) const;

    // [any thread] Sends one message (a short message or a whole SysEx) on the output port. False
    // when there is no output port object; true otherwise, even when no port is open and nothing
    // was sent. Blocks while another thread uses the output port object.
    bool SendToOutputPort(const std::uint8_t* bytes, std::size_t size) override;

    // [main thread] From now on every incoming message is dropped. Set first at shutdown.
    void SetExiting() { mExiting.store(true, std::memory_order_release); }
    bool Exiting() const { return mExiting.load(std::memory_order_acquire); }

    // [main thread] Shutdown of the ports: sets the exiting flag, drops the port notices, removes
    // the input callback, closes the output port, destroys the output object, then the input
    // object (which closes its port), and empties the lists. Idempotent.
    void ReleasePorts();

    // [MIDI input thread] The input object's callback; `userData` is the router. Drops an empty
    // message and everything once the exiting flag is set; queues the rest in the application
    // (1 to 3 bytes as a short message with absent data bytes 0, 4 to 512 bytes as SysEx, longer
    // dropped; a full ring drops the new message).
    static void MidiInputCallback(const std::uint8_t* bytes, std::size_t size,
                                  void* userData) noexcept;

private:
    // Releases the port objects of an earlier call, then makes and sets up new ones (the
    // notices stay). False, with an object absent, when the factory could not make it.
    bool MakePortObjects(MidiPortFactory& factory);
    // Removes the input callback, closes the output port, destroys the output object, then the
    // input object, and empties the lists.
    void DestroyPortObjects();
    std::vector<std::string> ReadInputNames();
    std::vector<std::string> ReadOutputNames();
    std::string& Setting(MidiRoute route);
    bool HasPortObject(MidiRoute route) const;
    void ClosePort(MidiRoute route);
    void OpenPort(MidiRoute route, unsigned index, const std::string& name);
    // Rebuilds `list` from `names` when it differs; true when it did.
    static bool Rebuild(std::vector<std::string>& list, const std::vector<std::string>& names);
    // The route's port has gone: its port is closed, its setting's name is remembered and, for
    // the output, the application hears "off".
    void DropSelection(MidiRoute route);
    // A remembered name's port is listed again: it is opened and, for the output, announced.
    void Reconnect(MidiRoute route);
    static constexpr std::size_t Index(MidiRoute route)
    {
        return route == MidiRoute::kInput ? 0 : 1;
    }
    // The system is not running: both lists hold only "off" and every selection is dropped. The
    // port objects are not asked.
    void ListNoPorts();
    void Report(const std::string& line) const;
    // One line saying that `factory`'s system cannot be reached; the library's `why` goes to the
    // trace only.
    void ReportNoSystem(const MidiPortFactory& factory, const std::string& why) const;

    IPlugAPP& mApp;
    AppSettings& mSettings;
    DiagnosticSink mSink;

    std::atomic<bool> mExiting{false};
    MidiPortFactory* mFactory = nullptr;       // the last CreateMidiPorts' factory
    std::unique_ptr<MidiPortNotices> mNotices; // null: the lists are read on every probe
    bool mAbsenceReported = false; // the system's absence has been told since it last ran
    std::unique_ptr<MidiInputPort> mInput;
    std::mutex mOutputMutex;                 // every use of mOutput, and its replacement
    std::unique_ptr<MidiOutputPort> mOutput; // written only on the main thread, under the mutex
    std::vector<std::string> mInputNames;
    std::vector<std::string> mOutputNames;
    // Per route (input, output): the setting names a port that went away or was not found, and
    // is reopened when it appears.
    std::array<bool, 2> mRemembered{};
    std::function<void()> mListsChanged;
    std::optional<std::string> mOpenInput;
    std::optional<std::string> mOpenOutput;
};
