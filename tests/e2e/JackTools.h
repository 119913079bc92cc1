#pragma once

#include "JackObserver.h"

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// JACK's own command-line tools as independent observers of the private test server (reached
// through JACK_DEFAULT_SERVER in the environment). Each call opens a client of its own, so tests
// poll through JackObserver and call these only to confirm what they found.
namespace e2e
{
// How long one tool run may take before the test gives up on it.
inline constexpr std::chrono::milliseconds kJackToolLimit{10000};

// Every port and the ports it is connected to, from `jack_lsp -c`; empty when the tool failed.
std::optional<JackConnections> ListJackConnections();

// Parses the output of `jack_lsp -c`: a port name at the start of a line, each of its
// connections on the following lines indented by three spaces.
JackConnections ParseJackConnections(const std::vector<std::string>& lines);

// True when `a` lists `b` among its connections.
bool Connected(const JackConnections& connections, std::string_view a, std::string_view b);
} // namespace e2e
