#pragma once

#if defined(__unix__)
#include <csignal>
#include <sys/resource.h>

namespace testfiles
{
// While it lives, this process writes files of at most `bytes` bytes: a longer write fails part-way
// with EFBIG, as on a full disk, instead of raising SIGXFSZ. The previous limit and signal handling
// come back when it goes. The limit covers the whole process, so tests using it must not share a
// process with tests that write files at the same time.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes) : mPreviousHandler(std::signal(SIGXFSZ, SIG_IGN))
    {
        if (getrlimit(RLIMIT_FSIZE, &mPrevious) != 0)
            return;
        rlimit limited = mPrevious;
        limited.rlim_cur = bytes;
        mActive = setrlimit(RLIMIT_FSIZE, &limited) == 0;
    }

    ~FileSizeLimit()
    {
        if (mActive)
            setrlimit(RLIMIT_FSIZE, &mPrevious);
        std::signal(SIGXFSZ, mPreviousHandler);
    }

    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False when the limit could not be set.
    bool Active() const { return mActive; }

private:
    void (*mPreviousHandler)(int);
    rlimit mPrevious{};
    bool mActive = false;
};
} // namespace testfiles
#endif
