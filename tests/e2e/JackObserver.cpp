#include "JackObserver.h"

#include "ChildProcess.h"

#include <cerrno>
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <string>
#include <unistd.h>

namespace e2e
{
namespace
{
std::vector<std::string> TakeNames(const char** names)
{
    std::vector<std::string> list;
    for (const char** name = names; name && *name; ++name)
        list.emplace_back(*name);
    if (names)
        jack_free(names);
    return list;
}
} // namespace

// Closes the observer after the last test of the program.
class JackObserverEnvironment final : public testing::Environment
{
public:
    void TearDown() override { JackObserver::Instance().reset(); }
};

namespace
{
[[maybe_unused]] testing::Environment* const kCloseObserver =
    testing::AddGlobalTestEnvironment(new JackObserverEnvironment);
} // namespace

std::unique_ptr<JackObserver>& JackObserver::Instance()
{
    static std::unique_ptr<JackObserver> observer;
    return observer;
}

JackObserver* JackObserver::Get()
{
    std::unique_ptr<JackObserver>& observer = Instance();
    if (!observer)
    {
        const std::string name = "e2e-observer-" + std::to_string(::getpid());
        jack_status_t status{};
        if (jack_client_t* client = jack_client_open(name.c_str(), JackNoStartServer, &status))
            observer.reset(new JackObserver(client));
    }
    return observer.get();
}

JackObserver::~JackObserver()
{
    jack_client_close(mClient);
}

JackConnections JackObserver::Connections()
{
    JackConnections connections;
    for (const std::string& port : TakeNames(jack_get_ports(mClient, nullptr, nullptr, 0)))
    {
        std::vector<std::string>& list = connections[port];
        if (jack_port_t* handle = jack_port_by_name(mClient, port.c_str()))
            list = TakeNames(jack_port_get_all_connections(mClient, handle));
    }
    return connections;
}

bool JackObserver::Connect(std::string_view from, std::string_view to,
                           std::chrono::milliseconds limit)
{
    const std::string source(from);
    const std::string destination(to);
    return PollUntil(
        [&]
        {
            const int result = jack_connect(mClient, source.c_str(), destination.c_str());
            return result == 0 || result == EEXIST;
        },
        limit);
}
} // namespace e2e
