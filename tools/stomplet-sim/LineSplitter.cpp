#include "LineSplitter.h"

#include <algorithm>
#include <utility>

void LineSplitter::Append(std::string_view bytes)
{
    mCurrent.length += bytes.size();
    if (mCurrent.tooLong)
        return;
    if (mCurrent.length <= mMaxLineBytes)
    {
        mCurrent.text.append(bytes);
        return;
    }
    mCurrent.tooLong = true;
    mCurrent.text.append(
        bytes.substr(0, kShownBytes - std::min(kShownBytes, mCurrent.text.size())));
    mCurrent.text.resize(std::min(mCurrent.text.size(), kShownBytes));
    mCurrent.text.shrink_to_fit();
}

std::vector<LineSplitter::Line> LineSplitter::Take(std::string_view chunk)
{
    std::vector<Line> lines;
    while (!chunk.empty())
    {
        const std::size_t end = chunk.find('\n');
        Append(chunk.substr(0, end));
        if (end == std::string_view::npos)
            break;
        lines.push_back(std::exchange(mCurrent, Line{}));
        chunk.remove_prefix(end + 1);
    }
    return lines;
}

std::optional<LineSplitter::Line> LineSplitter::Finish()
{
    if (mCurrent.length == 0)
        return std::nullopt;
    return std::exchange(mCurrent, Line{});
}

std::string PrintableText(std::string_view text, std::size_t limit)
{
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string shown;
    for (const char c : text.substr(0, limit))
    {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte < 0x7F)
            shown += c;
        else
            shown += {'\\', 'x', kDigits[byte >> 4], kDigits[byte & 0x0F]};
    }
    if (text.size() > limit)
        shown += "...";
    return shown;
}
