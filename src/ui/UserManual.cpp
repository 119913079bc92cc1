#include "ui/UserManual.h"

#include "core/AtomicFile.h"
#include "toolkit/PlatformUi.h"

#include <system_error>

namespace
{
// The size of the regular file at `path`, or nullopt when there is none (or it is no file).
std::optional<std::uintmax_t> RegularFileSize(const std::filesystem::path& path)
{
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error))
        return std::nullopt;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error)
        return std::nullopt;
    return size;
}

std::string MessageFor(const ManualFile& file)
{
    switch (file.state)
    {
    case ManualFile::State::kWriteFailed:
        return "The user manual could not be saved as\n" + file.path.string() + "\n(" +
               file.problem + ").";
    case ManualFile::State::kUnavailable:
        return "This editor carries no user manual, and none was found at\n" + file.path.string();
    case ManualFile::State::kReused:
    case ManualFile::State::kWritten:
        break;
    }
    return "No program on this computer could open the user manual. It is saved as\n" +
           file.path.string() + "\nOpen it with a PDF viewer of your choice.";
}
} // namespace

bool ManualNeedsWriting(std::optional<std::uintmax_t> sizeOnDisk, std::size_t carriedSize)
{
    return !sizeOnDisk || *sizeOnDisk != static_cast<std::uintmax_t>(carriedSize);
}

ManualFile ProvideManualFile(const std::filesystem::path& folder,
                             const std::optional<std::string>& carried)
{
    ManualFile file;
    file.path = folder / kUserManualFileName;
    const std::optional<std::uintmax_t> sizeOnDisk = RegularFileSize(file.path);

    if (!carried)
    {
        file.state = sizeOnDisk ? ManualFile::State::kReused : ManualFile::State::kUnavailable;
        return file;
    }
    if (!ManualNeedsWriting(sizeOnDisk, carried->size()))
    {
        file.state = ManualFile::State::kReused;
        return file;
    }
    // On a first start nothing has been written yet, so the folder and its parents may be missing.
    std::error_code folderError;
    std::filesystem::create_directories(folder, folderError);
    if (folderError)
    {
        file.state = ManualFile::State::kWriteFailed;
        file.problem =
            "cannot create the folder \"" + folder.string() + "\": " + folderError.message();
        return file;
    }
    if (const std::optional<AtomicWriteError> error = WriteFileAtomically(file.path, *carried))
    {
        file.state = ManualFile::State::kWriteFailed;
        file.problem = error->Describe();
        return file;
    }
    file.state = ManualFile::State::kWritten;
    return file;
}

void OpenUserManual(const UserManualSource& source, PlatformUi& platform)
{
    std::optional<std::string> carried;
    if (source.read)
        carried = source.read();
    if (carried && carried->empty())
        carried.reset();

    const ManualFile file = ProvideManualFile(source.folder, carried);
    const bool available =
        file.state == ManualFile::State::kReused || file.state == ManualFile::State::kWritten;
    if (available && platform.OpenURL(file.path.string()))
        return;
    platform.ShowMessageBox(MessageFor(file), "User Manual", EMsgBoxType::kOk, nullptr);
}
