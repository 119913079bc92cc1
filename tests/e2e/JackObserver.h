#pragma once

#include <chrono>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

typedef struct _jack_client jack_client_t;

namespace e2e
{
// Every port and the ports it is connected to.
using JackConnections = std::map<std::string, std::vector<std::string>>;

// One long-lived JACK client of the test process that lists ports and connections and connects
// ports. Polling through it opens no client per look, unlike JACK's command-line tools: on a busy
// server, the stream of short-lived clients those would add can leave a program with two clients
// of its own (as RtMidi makes) with one that is never woken again.
// [test thread]
class JackObserver
{
public:
    // The process's observer, opened on first use on the server JACK_DEFAULT_SERVER names; null
    // when no server answers. It is closed after the last test, so the server does not have to
    // clear away a client whose process has gone (which holds up the server's own shutdown).
    static JackObserver* Get();
    // Closes the process's observer; the next Get() opens a new one. For a test that stops the
    // server: a client of a stopped server never sees the server started again.
    static void Forget() { Instance().reset(); }

    JackConnections Connections();
    // Connects an output port to an input port; true when they are connected afterwards. A port
    // is listed as soon as its program registers it, but takes connections only once that
    // program's client is active, so the connection is tried again until `limit` has passed.
    bool Connect(std::string_view from, std::string_view to,
                 std::chrono::milliseconds limit = std::chrono::milliseconds(10000));

    ~JackObserver();
    JackObserver(const JackObserver&) = delete;
    JackObserver& operator=(const JackObserver&) = delete;

private:
    friend class JackObserverEnvironment;
    explicit JackObserver(jack_client_t* client) : mClient(client) {}
    static std::unique_ptr<JackObserver>& Instance();

    jack_client_t* mClient;
};
} // namespace e2e
