#include "JackTools.h"

#include "ChildProcess.h"

#include <algorithm>

namespace e2e
{
std::optional<JackConnections> ListJackConnections()
{
    const std::optional<ProgramResult> result = RunProgram({"jack_lsp", "-c"}, kJackToolLimit);
    if (!result || result->exitStatus != 0)
        return std::nullopt;
    return ParseJackConnections(result->out);
}

JackConnections ParseJackConnections(const std::vector<std::string>& lines)
{
    JackConnections connections;
    std::vector<std::string>* current = nullptr;
    for (const std::string& line : lines)
    {
        if (line.empty())
            continue;
        if (line.starts_with("   "))
        {
            if (current)
                current->push_back(line.substr(3));
            continue;
        }
        current = &connections[line];
    }
    return connections;
}

bool Connected(const JackConnections& connections, std::string_view a, std::string_view b)
{
    const auto port = connections.find(std::string(a));
    return port != connections.end() &&
           std::find(port->second.begin(), port->second.end(), b) != port->second.end();
}

} // namespace e2e
