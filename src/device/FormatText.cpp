#include "device/FormatText.h"

#include <array>
#include <cstdarg>
#include <cstdio>

std::string FormatText(const char* format, ...)
{
    std::array<char, kTextBufferSize> buffer{};
    va_list args;
    va_start(args, format);
    const int written = std::vsnprintf(buffer.data(), buffer.size(), format, args);
    va_end(args);
    if (written < 0)
        return {};
    return std::string(buffer.data());
}

std::string CutText(std::string text, std::size_t length)
{
    if (text.size() > length)
        text.resize(length);
    return text;
}
