#include "app/MidiPortNames.h"

#include "app/AppSettings.h"

namespace
{
bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Moves `end` back over a run of digits; false when there was none.
bool SkipDigitsBackwards(std::string_view text, std::size_t& end)
{
    const std::size_t start = end;
    while (end > 0 && IsDigit(text[end - 1]))
        --end;
    return end < start;
}
} // namespace

std::string_view WithoutClientPortNumbers(std::string_view name)
{
    std::size_t end = name.size();
    if (!SkipDigitsBackwards(name, end))
        return name;
    if (end == 0 || name[end - 1] != ':')
        return name;
    --end;
    if (!SkipDigitsBackwards(name, end))
        return name;
    if (end == 0 || name[end - 1] != ' ')
        return name;
    return name.substr(0, end - 1);
}

std::optional<std::size_t> FindMidiPort(const std::vector<std::string>& names,
                                        std::string_view wanted)
{
    if (wanted == kMidiPortOff)
        return std::nullopt;
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        if (names[i] == wanted)
            return i;
    }
    const std::string_view wantedBase = WithoutClientPortNumbers(wanted);
    for (std::size_t i = 0; i < names.size(); ++i)
    {
        if (WithoutClientPortNumbers(names[i]) == wantedBase)
            return i;
    }
    return std::nullopt;
}
