#pragma once

#include <functional>
#include <string_view>

// Diagnostic trace lines (parameter announcements, serialization). Silent until a sink is
// installed; the application installs one that writes to stderr when STOMPLET_TRACE is set.
//
// Threads: install the sink before other threads start. Trace() itself formats into a stack
// buffer and may be called from the main thread only: the pump thread never traces.
using TraceSink = std::function<void(std::string_view line)>;

void SetTraceSink(TraceSink sink);
bool TraceEnabled();

// printf-style; the line is cut at 255 characters.
void Trace(const char* format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 1, 2)))
#endif
    ;
