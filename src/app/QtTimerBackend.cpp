#include "app/QtTimerBackend.h"

#include <QTimer>

QtTimerBackend::QtTimerBackend(QObject* parent) : QObject(parent)
{
    SetTimerBackend(this);
}

QtTimerBackend::~QtTimerBackend()
{
    if (GetTimerBackend() == this)
        SetTimerBackend(nullptr);
}

TimerBackend::Id QtTimerBackend::StartTimer(std::uint32_t periodMs)
{
    const Id id = mNextId++;
    auto* timer = new QTimer(this);
    timer->setTimerType(Qt::PreciseTimer);
    timer->setInterval(static_cast<int>(periodMs));
    connect(timer, &QTimer::timeout, this, [id] { Timer_impl::TimerProc(id); });
    timer->start();
    mTimers.emplace(id, timer);
    return id;
}

void QtTimerBackend::StopTimer(Id id)
{
    const auto found = mTimers.find(id);
    if (found == mTimers.end())
        return;
    found->second->stop();
    found->second->deleteLater();
    mTimers.erase(found);
}
