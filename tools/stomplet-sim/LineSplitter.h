#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Cuts a stream of bytes, handed over in chunks of any size, into lines at LF, in time linear in
// the bytes and with memory bounded by the longest line kept. A line of more than `maxLineBytes`
// bytes (without its LF) is not kept: only its first kShownBytes bytes and its length are, and it
// is marked too long. Not thread-safe: one thread feeds it.
class LineSplitter
{
public:
    static constexpr std::size_t kShownBytes = 80;

    struct Line
    {
        std::string text;       // the line without its LF; for a too long line its first bytes
        std::size_t length = 0; // the line's length in bytes, without its LF
        bool tooLong = false;
    };

    explicit LineSplitter(std::size_t maxLineBytes) : mMaxLineBytes(maxLineBytes) {}

    // The lines that `chunk` completes, in order.
    std::vector<Line> Take(std::string_view chunk);
    // At the end of the stream: the last line when it had no LF.
    std::optional<Line> Finish();

private:
    void Append(std::string_view bytes);

    std::size_t mMaxLineBytes;
    Line mCurrent;
};
