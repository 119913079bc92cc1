#include "core/Trace.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace
{
TraceSink& Sink()
{
    static TraceSink sink;
    return sink;
}
} // namespace

void SetTraceSink(TraceSink sink)
{
    Sink() = std::move(sink);
}

bool TraceEnabled()
{
    return static_cast<bool>(Sink());
}

void Trace(const char* format, ...)
{
    if (!TraceEnabled())
        return;

    char line[256];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    if (length < 0)
        return;
    Sink()(std::string_view(
        line, std::min<std::size_t>(static_cast<std::size_t>(length), sizeof line - 1)));
}
