#include "midi/JackPortNotices.h"

#include <jack/jack.h>
#include <utility>

JackPortNotices::JackPortNotices(std::string clientName) : mClientName(std::move(clientName))
{
    if (!Connect())
        mRetryAt = Clock::now() + kReconnectInterval;
}

JackPortNotices::~JackPortNotices()
{
    Disconnect();
}

bool JackPortNotices::Connect()
{
    jack_client_t* client = jack_client_open(mClientName.c_str(), JackNoStartServer, nullptr);
    if (!client)
        return false;
    // Callbacks can only be installed before activation, and only an active client hears of
    // other clients' ports.
    const bool listening =
        jack_set_port_registration_callback(client, &OnPortRegistration, this) == 0 &&
        jack_set_port_rename_callback(client, &OnPortRename, this) == 0;
    jack_on_shutdown(client, &OnShutdown, this);
    mStopped.store(false);
    mChanged.store(true); // whatever happened while no client listened
    if (!listening || jack_activate(client) != 0)
    {
        jack_client_close(client);
        return false;
    }
    mClient = client;
    return true;
}

void JackPortNotices::Disconnect()
{
    if (!mClient)
        return;
    // After a shutdown the server is gone and closing only frees the client's side.
    jack_client_close(std::exchange(mClient, nullptr));
}

MidiPortNotice JackPortNotices::Take()
{
    if (mStopped.exchange(false))
    {
        Disconnect();
        mRetryAt = Clock::now() + kReconnectInterval;
        return MidiPortNotice::kSystemStopped;
    }
    if (!mClient)
    {
        const Clock::time_point now = Clock::now();
        if (now < mRetryAt || !Connect())
        {
            if (now >= mRetryAt)
                mRetryAt = now + kReconnectInterval;
            return MidiPortNotice::kSystemAbsent;
        }
        mChanged.store(false);
        return MidiPortNotice::kSystemStarted;
    }
    return mChanged.exchange(false) ? MidiPortNotice::kPortsChanged : MidiPortNotice::kNone;
}

void JackPortNotices::OnPortRegistration(jack_port_id_t, int, void* self)
{
    static_cast<JackPortNotices*>(self)->mChanged.store(true);
}

void JackPortNotices::OnPortRename(jack_port_id_t, const char*, const char*, void* self)
{
    static_cast<JackPortNotices*>(self)->mChanged.store(true);
}

void JackPortNotices::OnShutdown(void* self)
{
    static_cast<JackPortNotices*>(self)->mStopped.store(true);
}
