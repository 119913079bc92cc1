#pragma once

#include "midi/MidiPorts.h"

#include <atomic>
#include <chrono>
#include <jack/types.h>
#include <string>

// JACK's announcements of ports registered, unregistered or renamed, and of the server's shutdown,
// heard through a client of this program's own. The client has no ports and no process callback,
// so the audio cycle never wakes it; JACK calls it on its notification thread, which only sets
// flags.
//
// While no server can be reached, Take() answers kSystemAbsent and tries to connect again at most
// once a second; the first call after it has connected answers kSystemStarted.
class JackPortNotices final : public MidiPortNotices
{
public:
    // `clientName` names the listening client in the JACK graph. Connects at once if it can.
    explicit JackPortNotices(std::string clientName);
    ~JackPortNotices() override;
    JackPortNotices(const JackPortNotices&) = delete;
    JackPortNotices& operator=(const JackPortNotices&) = delete;

    // [main thread]
    MidiPortNotice Take() override;

private:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kReconnectInterval{1000};

    bool Connect();
    void Disconnect();

    // [JACK notification thread]
    static void OnPortRegistration(jack_port_id_t port, int registered, void* self);
    static void OnPortRename(jack_port_id_t port, const char* oldName, const char* newName,
                             void* self);
    static void OnShutdown(void* self);

    std::string mClientName;
    jack_client_t* mClient = nullptr;  // null while no server is reached
    std::atomic<bool> mChanged{true};  // a port came, went or was renamed
    std::atomic<bool> mStopped{false}; // the server shut the client down
    Clock::time_point mRetryAt{};
};
