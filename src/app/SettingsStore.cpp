#include "app/SettingsStore.h"

#include "app/IniFile.h"

#include <array>
#include <cstdint>
#include <system_error>

#if defined(__unix__) || defined(__APPLE__)
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace
{
namespace fs = std::filesystem;

// One key of the file: either a text field or a number field of the record, with the value that
// reading gives when the key is missing.
struct SettingsKey
{
    std::string_view section;
    std::string_view key;
    std::string AppSettings::*text;
    std::uint32_t AppSettings::*number;
    std::string_view missingText;
    std::uint32_t missingNumber;
};

constexpr SettingsKey Text(std::string_view section, std::string_view key,
                           std::string AppSettings::*field, std::string_view missing)
{
    return {section, key, field, nullptr, missing, 0};
}

constexpr SettingsKey Number(std::string_view section, std::string_view key,
                             std::uint32_t AppSettings::*field, std::uint32_t missing)
{
    return {section, key, nullptr, field, {}, missing};
}

// The order of reading and of writing.
const std::array<SettingsKey, 13> kKeys = {
    Number("audio", "driver", &AppSettings::audioDriver, 0),
    Text("audio", "indev", &AppSettings::audioInputDevice, "Built-in Input"),
    Text("audio", "outdev", &AppSettings::audioOutputDevice, "Built-in Output"),
    Number("audio", "in1", &AppSettings::audioInputLeft, 1),
    Number("audio", "in2", &AppSettings::audioInputRight, 2),
    Number("audio", "out1", &AppSettings::audioOutputLeft, 1),
    Number("audio", "out2", &AppSettings::audioOutputRight, 2),
    Number("audio", "buffer", &AppSettings::bufferSize, 512),
    Number("audio", "sr", &AppSettings::sampleRate, 44100),
    Text("midi", "indev", &AppSettings::midiInputPort, "no input"),
    Text("midi", "outdev", &AppSettings::midiOutputPort, "no output"),
    Number("midi", "inchan", &AppSettings::midiInputChannel, 0),
    Number("midi", "outchan", &AppSettings::midiOutputChannel, 0),
};

std::string Quoted(const fs::path& path)
{
    return "\"" + path.string() + "\"";
}

// True when the program must not write the file at `path`: it has no write bit at all (which even
// root, who passes every access check, respects), or the user has no write access.
bool IsReadOnly(const fs::path& path)
{
#if defined(__unix__) || defined(__APPLE__)
    struct stat info = {};
    if (::stat(path.c_str(), &info) != 0)
        return false;
    return (info.st_mode & 0222) == 0 || ::access(path.c_str(), W_OK) != 0;
#else
    std::error_code ec;
    const fs::perms perms = fs::status(path, ec).permissions();
    return !ec && (perms & fs::perms::owner_write) == fs::perms::none;
#endif
}
} // namespace

SettingsStore::SettingsStore(fs::path folder)
    : mFolder(std::move(folder)), mFilePath(mFolder / kSettingsFileName)
{
}

std::vector<SettingsError> SettingsStore::LoadSettings(AppSettings& settings)
{
    std::vector<SettingsError> problems;
    mState = FileState::kWritable;
    mMidiPortsNeverChosen = false;
    if (mDetached)
        return problems;

    std::error_code ec;
    const bool folderExisted = fs::is_directory(mFolder, ec);
    if (!folderExisted)
    {
        mMidiPortsNeverChosen = true;
        fs::create_directories(mFolder, ec);
        if (ec || !fs::is_directory(mFolder, ec))
        {
            problems.push_back({SettingsError::Kind::kCreateFolder,
                                "cannot create the settings folder " + Quoted(mFolder) + ": " +
                                    (ec ? ec.message() : std::string("not a folder")) +
                                    "; settings will not be saved"});
            return problems;
        }
    }
    else
    {
        IniFile file;
        const auto error = file.Load(mFilePath);
        mMidiPortsNeverChosen =
            (error && error->kind == IniError::Kind::kNotFound) ||
            (!error && !file.Find("midi", "indev") && !file.Find("midi", "outdev"));
        if (!error)
        {
            for (const SettingsKey& key : kKeys)
            {
                if (key.text)
                    settings.*key.text = file.GetString(key.section, key.key, key.missingText);
                else
                    settings.*key.number =
                        file.GetUnsigned(key.section, key.key, key.missingNumber);
            }
            if (IsReadOnly(mFilePath))
            {
                mState = FileState::kReadOnly;
                problems.push_back({SettingsError::Kind::kReadOnly,
                                    "the settings file " + Quoted(mFilePath) +
                                        " is read-only: changes last until the editor closes"});
                return problems;
            }
        }
        else if (error->kind != IniError::Kind::kNotFound)
        {
            mState = FileState::kUnreadable;
            problems.push_back({SettingsError::Kind::kReadFile,
                                "cannot read the settings: " + error->Describe() +
                                    "; running on the defaults, and the file is kept as it is "
                                    "unless you replace it from Preferences"});
            return problems;
        }
    }

    if (auto error = SaveSettings(settings))
        problems.push_back(std::move(*error));
    return problems;
}

std::optional<SettingsError> SettingsStore::SaveSettings(const AppSettings& settings) const
{
    if (mDetached || mState != FileState::kWritable)
        return std::nullopt;
    std::error_code ec;
    if (!fs::is_directory(mFolder, ec))
    {
        fs::create_directories(mFolder, ec);
        if (ec || !fs::is_directory(mFolder, ec))
            return SettingsError{SettingsError::Kind::kCreateFolder,
                                 "cannot create the settings folder " + Quoted(mFolder) + ": " +
                                     (ec ? ec.message() : std::string("not a folder")) +
                                     "; settings not saved"};
    }

    // Keep what the file holds besides our keys. A file that cannot be read is not replaced, unless
    // the user agreed to.
    IniFile file;
    if (const auto error = file.Load(mFilePath);
        error && error->kind != IniError::Kind::kNotFound && !mReplaceUnreadable)
        return SettingsError{SettingsError::Kind::kReadFile,
                             "cannot read the settings: " + error->Describe() +
                                 "; the file is kept as it is and the settings are not saved"};

    for (const SettingsKey& key : kKeys)
    {
        const auto error = key.text ? file.SetString(key.section, key.key, settings.*key.text)
                                    : file.SetUnsigned(key.section, key.key, settings.*key.number);
        if (error)
            return SettingsError{SettingsError::Kind::kWriteFile,
                                 "cannot save the setting " + std::string(key.section) + "/" +
                                     std::string(key.key) + ": " + error->Describe() +
                                     "; settings not saved"};
    }

    if (auto error = file.Save(mFilePath))
        return SettingsError{SettingsError::Kind::kWriteFile,
                             "cannot save the settings: " + error->Describe()};
    return std::nullopt;
}
