#include "SimCommand.h"

#include "LineSplitter.h"
#include "device/FormatText.h"

#include <algorithm>
#include <charconv>
#include <vector>

namespace
{
std::vector<std::string_view> SplitWords(std::string_view line)
{
    std::vector<std::string_view> words;
    std::size_t pos = 0;
    while (pos < line.size())
    {
        const std::size_t start = line.find_first_not_of(" \t", pos);
        if (start == std::string_view::npos)
            break;
        const std::size_t end = std::min(line.find_first_of(" \t", start), line.size());
        words.push_back(line.substr(start, end - start));
        pos = end;
    }
    return words;
}

std::optional<int> ParseNumber(std::string_view text, int lowest, int highest)
{
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() ||
        value < lowest || value > highest)
        return std::nullopt;
    return value;
}

SimCommandResult Error(std::string text)
{
    return {std::nullopt, std::move(text)};
}

SimCommandResult ParseSwitchCommand(SimCommand::Kind kind,
                                    const std::vector<std::string_view>& words)
{
    const std::string usage = std::string(words[0]) + " takes one switch: a1, b1, a2 or b2";
    if (words.size() != 2 || words[1].size() != 2)
        return Error(usage);
    SimCommand command;
    command.kind = kind;
    const std::string_view name = words[1];
    if (name[0] == 'a')
        command.footSwitch = VirtualStomplet::FootSwitch::kA;
    else if (name[0] == 'b')
        command.footSwitch = VirtualStomplet::FootSwitch::kB;
    else
        return Error(usage);
    if (name[1] == '1')
        command.jack = VirtualStomplet::Jack::k1;
    else if (name[1] == '2')
        command.jack = VirtualStomplet::Jack::k2;
    else
        return Error(usage);
    return {command, {}};
}
} // namespace

SimCommandResult ParseSimCommand(std::string_view line)
{
    if (line.ends_with('\r'))
        line.remove_suffix(1);
    const std::vector<std::string_view> words = SplitWords(line);
    if (words.empty() || words[0].starts_with('#'))
        return {SimCommand{}, {}};

    const std::string_view verb = words[0];
    if (verb == "quit")
    {
        if (words.size() != 1)
            return Error("quit takes nothing after it");
        SimCommand command;
        command.kind = SimCommand::Kind::kQuit;
        return {command, {}};
    }
    if (verb == "pedal")
    {
        const std::string usage =
            "pedal takes a jack (1 or 2) and a position (0 heel to 127 toe), e.g. \"pedal 1 64\"";
        if (words.size() != 3)
            return Error(usage);
        const std::optional<int> jack = ParseNumber(words[1], 1, 2);
        const std::optional<int> position = ParseNumber(words[2], 0, 127);
        if (!jack || !position)
            return Error(usage);
        SimCommand command;
        command.kind = SimCommand::Kind::kPedal;
        command.jack = *jack == 1 ? VirtualStomplet::Jack::k1 : VirtualStomplet::Jack::k2;
        command.position = *position;
        return {command, {}};
    }
    if (verb == "press")
        return ParseSwitchCommand(SimCommand::Kind::kPress, words);
    if (verb == "release")
        return ParseSwitchCommand(SimCommand::Kind::kRelease, words);
    return Error("unknown command \"" + PrintableText(verb, LineSplitter::kShownBytes) +
                 "\" (commands: pedal, press, release, quit)");
}
