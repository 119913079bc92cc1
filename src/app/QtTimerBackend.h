#pragma once

#include "core/Timer.h"

#include <QObject>
#include <map>

class QTimer;

// The core's timers on QTimer: precise timers on the main thread's event loop, so ticks keep
// arriving while a modal dialog runs its own loop. Installs itself as the process-wide backend for
// its lifetime.
// [main thread]
class QtTimerBackend final : public QObject, public TimerBackend
{
public:
    explicit QtTimerBackend(QObject* parent = nullptr);
    ~QtTimerBackend() override;

    Id StartTimer(std::uint32_t periodMs) override;
    void StopTimer(Id id) override;

private:
    std::map<Id, QTimer*> mTimers; // owned through QObject parenting
    Id mNextId = 1;
};
