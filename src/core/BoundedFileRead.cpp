#include "core/BoundedFileRead.h"

#include <cstdio>
#include <memory>

namespace
{
struct FileCloser
{
    void operator()(std::FILE* file) const { std::fclose(file); }
};
} // namespace

std::variant<std::string, FileReadError> ReadFileBelow(const std::filesystem::path& path,
                                                       std::size_t sizeLimit)
{
    const std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path.string().c_str(), "rb"));
    if (!file)
        return FileReadError::kCannotOpen;

    std::string content(sizeLimit, '\0');
    std::size_t size = 0;
    while (size < sizeLimit)
    {
        const std::size_t got = std::fread(content.data() + size, 1, sizeLimit - size, file.get());
        if (got == 0)
            break;
        size += got;
    }
    if (std::ferror(file.get()))
        return FileReadError::kCannotOpen;
    if (size == sizeLimit)
        return FileReadError::kTooLarge;
    content.resize(size);
    return content;
}
