#include "RetryingSend.h"

#include "device/SysExMessages.h"

#include <algorithm>

namespace e2e
{
std::optional<std::vector<std::uint8_t>> RequestStatus(JackMidiEndpoint& endpoint)
{
    const CommandMessage request = BuildStatusRequest();
    const std::size_t before = endpoint.Received().size();
    for (int attempt = 0; attempt < kSendAttempts; ++attempt)
    {
        endpoint.Send(request.bytes);
        if (endpoint.WaitForReceived(before + 1, kAttemptLimit))
            return endpoint.Received()[before];
    }
    return std::nullopt;
}

bool SendUntilTaken(JackMidiEndpoint& endpoint, const SimulatorProcess& sim,
                    const std::vector<std::uint8_t>& bytes)
{
    const std::size_t before = CountTraffic(sim.Traffic(), false, bytes);
    for (int attempt = 0; attempt < kSendAttempts; ++attempt)
    {
        endpoint.Send(bytes);
        if (sim.WaitForTraffic([&](const std::vector<TrafficLine>& traffic)
                               { return CountTraffic(traffic, false, bytes) > before; },
                               kAttemptLimit))
            return true;
    }
    return false;
}

std::size_t CountTraffic(const std::vector<TrafficLine>& traffic, bool sent,
                         const std::vector<std::uint8_t>& bytes)
{
    return static_cast<std::size_t>(std::count_if(
        traffic.begin(), traffic.end(),
        [&](const TrafficLine& line) { return line.sent == sent && line.bytes == bytes; }));
}
} // namespace e2e
