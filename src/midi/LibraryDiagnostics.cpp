#include "midi/LibraryDiagnostics.h"

#include <alsa/asoundlib.h>
#include <atomic>
#include <cstdarg>
#include <cstdio>
#include <iostream>
#include <jack/jack.h>

namespace
{
std::atomic<bool> gShow{false};

// ALSA's error handler: one report, printf-style. [any thread]
void OnAlsaError(const char* file, int line, const char* function, int error, const char* format,
                 ...)
{
    if (!gShow.load(std::memory_order_relaxed))
        return;
    std::fprintf(stderr, "ALSA %s:%d (%s): ", file, line, function);
    va_list args;
    va_start(args, format);
    std::vfprintf(stderr, format, args);
    va_end(args);
    if (error != 0)
        std::fprintf(stderr, ": %s", snd_strerror(error));
    std::fputc('\n', stderr);
}

// JACK's error and information messages. [any thread]
void OnJackMessage(const char* text)
{
    if (gShow.load(std::memory_order_relaxed))
        std::fprintf(stderr, "JACK: %s\n", text);
}
} // namespace

void RouteLibraryDiagnostics(bool show)
{
    gShow.store(show, std::memory_order_relaxed);
    snd_lib_error_set_handler(&OnAlsaError);
    jack_set_error_function(&OnJackMessage);
    jack_set_info_function(&OnJackMessage);
}

bool LibraryDiagnosticsShown()
{
    return gShow.load(std::memory_order_relaxed);
}

LibraryOutputCapture::LibraryOutputCapture() : mPrevious(std::cerr.rdbuf(mHeld.rdbuf())) {}

LibraryOutputCapture::~LibraryOutputCapture()
{
    std::cerr.rdbuf(mPrevious);
    if (gShow.load(std::memory_order_relaxed) && !mHeld.str().empty())
        std::cerr << mHeld.str() << std::flush;
}
