// libFuzzer target: arbitrary bytes as the settings file, in memory (IniFile) and through the
// store on a real file (SettingsStore). Beside the sanitizers' checks it aborts when
// - a document written out does not read back as the same document;
// - a value stored under an accepted name does not read back as itself, before and after writing,
//   or a refused name or value changes the document;
// - the store reports a problem with a readable file, or reads other settings from the file it
//   has just written.

#include "FuzzSupport.h"
#include "app/AppSettings.h"
#include "app/IniFile.h"
#include "app/SettingsStore.h"

#include <fstream>

using fuzz::Require;

// Refused: the document is as it was. Accepted: the value reads back, also once written.
static void CheckStore(IniFile& document, std::string_view section, std::string_view key,
                       std::string_view value)
{
    const std::string before = document.Text();
    if (document.SetString(section, key, value))
        return Require(document.Text() == before);
    Require(document.Find(section, key) == std::string(value));
    Require(IniFile::Parse(document.Text()).Find(section, key) == std::string(value));
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    fuzz::Input input{{data, size}};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniFile document = IniFile::Parse(text);
    const std::string written = document.Text();
    Require(IniFile::Parse(written).Text() == written);
    // Names and a value from the input, and the store's own keys, as saving writes them.
    const std::string section = input.Text(40);
    const std::string key = input.Text(40);
    const std::string value = input.Text(80);
    CheckStore(document, section, key, value);
    CheckStore(document, "audio", "indev", section);
    CheckStore(document, "midi", "outdev", value);
    CheckStore(document, "Audio", "SR", "\t" + key + " ");

    SettingsStore store(fuzz::ScratchPath("settings"));
    std::filesystem::create_directories(fuzz::ScratchPath("settings"));
    std::ofstream(store.FilePath(), std::ios::binary | std::ios::trunc)
        .write(text.data(), static_cast<std::streamsize>(size));
    AppSettings first;
    AppSettings second;
    Require(store.LoadSettings(first).empty() && store.LoadSettings(second).empty());
    Require(second == first);
    return 0;
}
