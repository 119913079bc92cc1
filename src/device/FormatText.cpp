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

std::string PrintableText(std::string_view text, std::size_t limit)
{
    std::string shown;
    for (const char c : text.substr(0, limit))
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F && c != '"' && c != '\\')
            shown += c;
        else
            shown += FormatText("\\x%02X", byte);
    }
    if (text.size() > limit)
        shown += "...";
    return shown;
}
