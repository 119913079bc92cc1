#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#if defined(__GNUC__) || defined(__clang__)
#define STOMPLET_PRINTF_FORMAT(formatPos, argsPos)                                                 \
    __attribute__((format(printf, formatPos, argsPos)))
#else
#define STOMPLET_PRINTF_FORMAT(formatPos, argsPos)
#endif

// The display texts are composed in buffers of this many characters, the terminator included.
inline constexpr std::size_t kTextBufferSize = 256;

// `format` filled with the arguments as printf does, cut to kTextBufferSize - 1 characters.
// [any thread] (allocates)
std::string FormatText(const char* format, ...) STOMPLET_PRINTF_FORMAT(1, 2);

// The first `length` characters of `text` (all of it when shorter).
std::string CutText(std::string text, std::size_t length);

// `text` with every byte that is not printable ASCII, and every quote and backslash, as \xHH; at
// most `limit` bytes of it, then "..." when there was more. For quoting what a user or a file gave.
std::string PrintableText(std::string_view text, std::size_t limit);
