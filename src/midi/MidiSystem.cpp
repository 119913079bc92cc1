#include "midi/MidiSystem.h"

#include "device/FormatText.h"

#include <filesystem>
#include <system_error>

MidiSystem DefaultMidiSystem()
{
    std::error_code error;
    return std::filesystem::exists("/dev/snd/seq", error) ? MidiSystem::kAlsa : MidiSystem::kJack;
}

const char* MidiSystemName(MidiSystem system)
{
    return system == MidiSystem::kAlsa ? "alsa" : "jack";
}

std::variant<MidiSystem, std::string> ParseMidiSystemOption(std::optional<std::string_view> value)
{
    if (!value)
        return std::string("--midi-api needs a value: alsa or jack");
    if (*value == MidiSystemName(MidiSystem::kAlsa))
        return MidiSystem::kAlsa;
    if (*value == MidiSystemName(MidiSystem::kJack))
        return MidiSystem::kJack;
    return "--midi-api takes alsa or jack, not \"" + PrintableText(*value, 80) + "\"";
}
