#include "EditorOverJack.h"

#include <fstream>

namespace e2e
{
void WriteEditorSettings(const std::filesystem::path& folder, const SimulatorProcess& sim)
{
    std::ofstream file(folder / "settings.ini", std::ios::trunc);
    file << "[midi]\n"
         << "indev=" << sim.OutputPort() << "\n"
         << "outdev=" << sim.InputPort() << "\n";
}

StoredPorts ReadStoredPorts(const std::filesystem::path& folder)
{
    StoredPorts ports;
    std::ifstream file(folder / "settings.ini");
    std::string section;
    for (std::string line; std::getline(file, line);)
    {
        if (line.starts_with("["))
            section = line;
        else if (section == "[midi]" && line.starts_with("indev="))
            ports.input = line.substr(6);
        else if (section == "[midi]" && line.starts_with("outdev="))
            ports.output = line.substr(7);
    }
    return ports;
}
} // namespace e2e
