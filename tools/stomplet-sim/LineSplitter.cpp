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
