#pragma once

#include "SimulatorProcess.h"

#include <filesystem>
#include <string>
#include <string_view>

// What the editor's end-to-end tests share: the editor's JACK port names and its settings file.
namespace e2e
{
// The editor's own ports on JACK: RtMidi's clients and the port names the host opens.
inline constexpr std::string_view kEditorInputPort = "RtMidi Input Client:RtMidi Input";
inline constexpr std::string_view kEditorOutputPort = "RtMidi Output Client:RtMidi Output";

// Writes settings.ini in `folder` with the editor's input on the simulator's output and the
// editor's output on the simulator's input; every other key is left to the editor's defaults.
void WriteEditorSettings(const std::filesystem::path& folder, const SimulatorProcess& sim);

// The settings file's "[midi]" input and output port names as they stand on disk.
struct StoredPorts
{
    std::string input;
    std::string output;
};
StoredPorts ReadStoredPorts(const std::filesystem::path& folder);
} // namespace e2e
