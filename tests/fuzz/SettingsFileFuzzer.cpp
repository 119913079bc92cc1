// libFuzzer target: the settings file reader on arbitrary bytes, in memory (IniFile) and through
// the store on a real file (SettingsStore). Beside the sanitizers' checks it aborts when
// - the number reader differs from the private-profile rule (blanks, one '+', leading digits, at
//   most 4294967295);
// - a document written out does not read back as the same document;
// - a value stored under an accepted name does not read back as itself, before and after writing,
//   or a refused name or value changes the document;
// - the store reports a problem with a readable file in an existing folder, reads other values than
//   the document gives, or reads other values from the file it has just written.

#include "FuzzInput.h"
#include "app/AppSettings.h"
#include "app/IniFile.h"
#include "app/SettingsStore.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <unistd.h>

namespace settings_file_fuzz
{
using fuzz_support::Require;
namespace fs = std::filesystem;

// The number a private-profile reader takes from `text`, worked out digit string by digit string.
std::optional<std::uint32_t> ReferenceUnsigned(std::string_view text)
{
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    if (!text.empty() && text.front() == '+')
        text.remove_prefix(1);
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9')
        ++digits;
    std::string_view number = text.substr(0, digits);
    while (number.size() > 1 && number.front() == '0')
        number.remove_prefix(1);
    if (number.empty() || number.size() > 10 || (number.size() == 10 && number > "4294967295"))
        return std::nullopt;
    std::uint32_t value = 0;
    std::from_chars(number.data(), number.data() + number.size(), value);
    return value;
}

// The first line of `text` and the rest after its line end.
std::pair<std::string_view, std::string_view> SplitLine(std::string_view text)
{
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos)
        return {text, {}};
    return {text.substr(0, end), text.substr(end + 1)};
}

// Stores `value` under `section` and `key`. Refused: the document is as it was. Accepted: the
// value reads back as itself, and so it does from the written document.
void CheckStore(IniFile& document, std::string_view section, std::string_view key,
                std::string_view value)
{
    const std::string before = document.Text();
    if (document.SetString(section, key, value))
    {
        Require(document.Text() == before);
        return;
    }
    Require(document.Find(section, key) == std::string(value));
    Require(IniFile::Parse(document.Text()).Find(section, key) == std::string(value));
}

// The settings the store's keys give in `document`, as the store documents them.
AppSettings SettingsIn(const IniFile& document)
{
    AppSettings settings;
    settings.audioDriver = document.GetUnsigned("audio", "driver", 0);
    settings.audioInputDevice = document.GetString("audio", "indev", "Built-in Input");
    settings.audioOutputDevice = document.GetString("audio", "outdev", "Built-in Output");
    settings.audioInputLeft = document.GetUnsigned("audio", "in1", 1);
    settings.audioInputRight = document.GetUnsigned("audio", "in2", 2);
    settings.audioOutputLeft = document.GetUnsigned("audio", "out1", 1);
    settings.audioOutputRight = document.GetUnsigned("audio", "out2", 2);
    settings.bufferSize = document.GetUnsigned("audio", "buffer", 512);
    settings.sampleRate = document.GetUnsigned("audio", "sr", 44100);
    settings.midiInputPort = document.GetString("midi", "indev", "no input");
    settings.midiOutputPort = document.GetString("midi", "outdev", "no output");
    settings.midiInputChannel = document.GetUnsigned("midi", "inchan", 0);
    settings.midiOutputChannel = document.GetUnsigned("midi", "outchan", 0);
    return settings;
}

// A folder of this process for the store's file, removed at exit.
const fs::path& StoreFolder()
{
    static const fs::path folder = []
    {
        const fs::path made =
            fs::temp_directory_path() / ("stomplet-fuzz-settings-" + std::to_string(::getpid()));
        fs::create_directories(made);
        std::atexit(
            []
            {
                std::error_code ignored;
                fs::remove_all(StoreFolder(), ignored);
            });
        return made;
    }();
    return folder;
}

// The store reads the bytes as its file, and then reads the file it wrote back as the same
// settings.
void CheckSettingsStore(std::string_view text, const AppSettings& expected)
{
    SettingsStore store(StoreFolder());
    std::ofstream(store.FilePath(), std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(text.size()));

    AppSettings first;
    Require(store.LoadSettings(first).empty());
    Require(first == expected);

    AppSettings second;
    Require(store.LoadSettings(second).empty());
    Require(second == first);
}
} // namespace settings_file_fuzz

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace settings_file_fuzz;
    const std::string_view text(reinterpret_cast<const char*>(data), size);

    Require(ParseUnsignedDecimal(text) == ReferenceUnsigned(text));

    IniFile document = IniFile::Parse(text);
    const std::string written = document.Text();
    const IniFile reread = IniFile::Parse(written);
    Require(reread.Text() == written);
    const AppSettings settings = SettingsIn(document);
    Require(SettingsIn(reread) == settings);
    for (const auto& [section, key] :
         {std::pair{"audio", "sr"}, {"audio", "indev"}, {"midi", "outdev"}, {"midi", "inchan"}})
        if (const std::optional<std::string> value = document.Find(section, key))
            Require(ParseUnsignedDecimal(*value) == ReferenceUnsigned(*value));

    // Names and a value from the input's first lines, then the store's own keys with the values
    // read, as saving writes them.
    const auto [section, rest] = SplitLine(text);
    const auto [key, value] = SplitLine(rest);
    CheckStore(document, section, key, value);
    CheckStore(document, "audio", "indev", section);
    CheckStore(document, "midi", "outdev", value);
    CheckStore(document, "Audio", "SR", "\t" + std::string(key) + " ");
    CheckStore(document, "audio", "driver", std::to_string(settings.audioDriver));

    CheckSettingsStore(text, settings);
    return 0;
}
