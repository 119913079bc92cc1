#pragma once

#include <sstream>

// The MIDI and audio libraries print their own diagnostics on standard error: ALSA its
// configuration errors, JACK its client errors, RtMidi and RtAudio their warnings ("JACK server
// not running?"). The programs print one line of their own per missing system instead, and show
// the libraries' own words only when asked to (STOMPLET_TRACE).
//
// [main thread] Call once at start-up, before other threads run. `show`: pass the libraries'
// words through to standard error; otherwise they are dropped.
void RouteLibraryDiagnostics(bool show);
// [any thread] What RouteLibraryDiagnostics was told: a program adds the library's own reason to
// its line only then.
bool LibraryDiagnosticsShown();

// While an object of this class lives, what is written to std::cerr (where RtMidi and RtAudio
// print) is held back; when it goes, the text is passed on or dropped as RouteLibraryDiagnostics
// decided. Wrap library calls that may print, such as the creation of RtMidi and RtAudio objects.
// [main thread] Another thread writing to std::cerr meanwhile is held back with it.
class LibraryOutputCapture
{
public:
    LibraryOutputCapture();
    ~LibraryOutputCapture();
    LibraryOutputCapture(const LibraryOutputCapture&) = delete;
    LibraryOutputCapture& operator=(const LibraryOutputCapture&) = delete;

private:
    std::ostringstream mHeld;
    std::streambuf* mPrevious;
};
