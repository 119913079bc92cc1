#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>

namespace testfiles
{
// A fresh folder under the system's temporary folder, removed with everything in it when the
// object goes.
class TempFolder
{
public:
    TempFolder()
        : mPath(std::filesystem::temp_directory_path() /
                ("stomplet-test-" + std::to_string(std::random_device()()) + "-" +
                 std::to_string(counter.fetch_add(1))))
    {
        std::filesystem::create_directory(mPath);
    }

    ~TempFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(mPath, ignored);
    }

    const std::filesystem::path& Path() const { return mPath; }

private:
    static inline std::atomic<unsigned> counter{0};
    std::filesystem::path mPath;
};

inline void WriteBytes(const std::filesystem::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

inline std::string ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}
} // namespace testfiles
