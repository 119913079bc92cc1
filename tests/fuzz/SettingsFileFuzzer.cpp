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

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    Input input{{data, size}};
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniFile document = IniFile::Parse(text);
    const std::string written = document.Text();
    Require(IniFile::Parse(written).Text() == written);
    // Names and a value from the input, such as a port name the system gives.
    const std::string section = input.Text(40);
    const std::string key = input.Text(40);
    const std::string value = input.Text(80);
    const std::string before = document.Text();
    if (document.SetString(section, key, value))
        Require(document.Text() == before);
    else
        Require(document.Find(section, key) == value &&
                IniFile::Parse(document.Text()).Find(section, key) == value);

    // The folder of this process holds this one file.
    SettingsStore store(ScratchPath(""));
    ScratchFile(store.FilePath().filename().string(), text);
    AppSettings first, second;
    Require(store.LoadSettings(first).empty() && store.LoadSettings(second).empty());
    Require(second == first);
    return 0;
}
