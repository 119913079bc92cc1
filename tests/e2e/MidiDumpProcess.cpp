#include "MidiDumpProcess.h"

#include "JackObserver.h"

#include <cctype>

namespace e2e
{
namespace
{
constexpr auto kDumpLimit = std::chrono::milliseconds(10000);

bool IsHexByte(std::string_view word)
{
    return word.size() == 2 && std::isxdigit(static_cast<unsigned char>(word[0])) &&
           std::isxdigit(static_cast<unsigned char>(word[1]));
}

} // namespace

std::optional<std::vector<std::uint8_t>> ParseMidiDumpLine(std::string_view line)
{
    const std::size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return std::nullopt;
    std::string_view rest = line.substr(colon + 1);
    std::vector<std::uint8_t> bytes;
    // The bytes come first; a description, if any, starts at the first word that is not one.
    while (!rest.empty())
    {
        const std::size_t start = rest.find_first_not_of(' ');
        if (start == std::string_view::npos)
            break;
        rest.remove_prefix(start);
        const std::string_view word = rest.substr(0, rest.find(' '));
        if (!IsHexByte(word))
            break;
        bytes.push_back(static_cast<std::uint8_t>(std::stoi(std::string(word), nullptr, 16)));
        rest.remove_prefix(word.size());
    }
    if (bytes.empty())
        return std::nullopt;
    return bytes;
}

std::unique_ptr<MidiDumpProcess> MidiDumpProcess::Start(const std::string& clientName,
                                                        std::string& error)
{
    auto dump = std::unique_ptr<MidiDumpProcess>(new MidiDumpProcess);
    dump->mInputPort = clientName + ":input";
    ChildProcess::Options options;
    options.argv = {"jack_midi_dump", clientName};
    dump->mProcess = ChildProcess::Start(options, error);
    if (!dump->mProcess)
        return nullptr;
    JackObserver* observer = JackObserver::Get();
    const bool listed =
        observer && PollUntil(
                        [&] {
                            return !dump->mProcess->Running() ||
                                   observer->Connections().contains(dump->mInputPort);
                        },
                        kDumpLimit);
    if (!listed || !dump->mProcess->Running())
    {
        error = "jack_midi_dump's port " + dump->mInputPort + " did not appear";
        return nullptr;
    }
    return dump;
}

std::vector<std::vector<std::uint8_t>> MidiDumpProcess::Messages() const
{
    std::vector<std::vector<std::uint8_t>> messages;
    for (const std::string& line : mProcess->Lines().out)
        if (std::optional<std::vector<std::uint8_t>> bytes = ParseMidiDumpLine(line))
            messages.push_back(std::move(*bytes));
    return messages;
}
} // namespace e2e
