#pragma once

#include <jack/jack.h>
#include <jack/midiport.h>

namespace bench
{
// A benchmark's own JACK client with MIDI ports: opened on a running server (never starting one),
// closed when it goes, which also stops its process callback. [main thread]
class JackBenchClient
{
public:
    explicit JackBenchClient(const char* name)
        : mClient(jack_client_open(name, JackNoStartServer, nullptr))
    {
    }
    ~JackBenchClient() { Close(); }
    JackBenchClient(const JackBenchClient&) = delete;
    JackBenchClient& operator=(const JackBenchClient&) = delete;

    // A MIDI port of this client. When it cannot be made, the client is closed (a benchmark
    // without its port measures nothing) and the answer is nullptr.
    jack_port_t* AddMidiPort(const char* name, unsigned long flags)
    {
        jack_port_t* port =
            mClient ? jack_port_register(mClient, name, JACK_DEFAULT_MIDI_TYPE, flags, 0) : nullptr;
        if (!port)
            Close();
        return port;
    }

    // Starts `process`, called on JACK's process thread with `arg`. When it cannot start, the
    // client is closed and Running() says so.
    void Activate(JackProcessCallback process, void* arg)
    {
        if (mClient &&
            (jack_set_process_callback(mClient, process, arg) != 0 || jack_activate(mClient) != 0))
            Close();
    }

    bool Running() const { return mClient != nullptr; }
    jack_client_t* Get() const { return mClient; }

    // The length of one process cycle in milliseconds. Only while Running().
    double PeriodMs() const
    {
        return 1000.0 * jack_get_buffer_size(mClient) / jack_get_sample_rate(mClient);
    }

private:
    void Close()
    {
        if (mClient)
            jack_client_close(mClient);
        mClient = nullptr;
    }

    jack_client_t* mClient;
};
} // namespace bench
