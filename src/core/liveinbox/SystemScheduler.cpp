#include "SystemScheduler.h"

#include <QSocketNotifier>
#include <QTimer>

#include <cmath>
#include <ctime>
#include <sys/timerfd.h>
#include <unistd.h>

struct SystemScheduler::Pending
{
    int fd = -1;
    std::unique_ptr<QSocketNotifier> notifier;
    std::function<void()> task;

    ~Pending()
    {
        notifier.reset();
        if (fd >= 0)
            ::close(fd);
    }
};

SystemScheduler::SystemScheduler(QObject *parent) : QObject(parent) {}

SystemScheduler::~SystemScheduler() = default;

double SystemScheduler::now() const
{
    timespec ts{};
    clock_gettime(CLOCK_BOOTTIME, &ts);
    return double(ts.tv_sec) + double(ts.tv_nsec) / 1e9;
}

Scheduler::TimerId SystemScheduler::schedule(double seconds, std::function<void()> task)
{
    return scheduleOn(CLOCK_BOOTTIME, seconds, std::move(task));
}

Scheduler::TimerId SystemScheduler::scheduleAwake(double seconds, std::function<void()> task)
{
    return scheduleOn(CLOCK_MONOTONIC, seconds, std::move(task));
}

Scheduler::TimerId SystemScheduler::scheduleOn(int clock, double seconds, std::function<void()> task)
{
    const TimerId id = m_nextId++;
    auto pending = std::make_unique<Pending>();
    pending->task = std::move(task);

    if (!(seconds > 0))
        seconds = 0;
    pending->fd = timerfd_create(clock, TFD_NONBLOCK | TFD_CLOEXEC);
    if (pending->fd >= 0) {
        itimerspec spec{};
        double whole = 0;
        const double fraction = std::modf(seconds, &whole);
        spec.it_value.tv_sec = time_t(whole);
        spec.it_value.tv_nsec = long(fraction * 1e9);
        if (spec.it_value.tv_sec == 0 && spec.it_value.tv_nsec == 0)
            spec.it_value.tv_nsec = 1; // an all-zero value would disarm the timer
        timerfd_settime(pending->fd, 0, &spec, nullptr);
        pending->notifier = std::make_unique<QSocketNotifier>(pending->fd, QSocketNotifier::Read);
        connect(pending->notifier.get(), &QSocketNotifier::activated, this, [this, id] { fire(id); });
    } else {
        // No timerfd (unusual): fall back to a monotonic timer.
        QTimer::singleShot(int(std::ceil(seconds * 1000)), Qt::PreciseTimer, this, [this, id] { fire(id); });
    }
    m_pending.emplace(id, std::move(pending));
    return id;
}

void SystemScheduler::cancel(TimerId id)
{
    m_pending.erase(id);
}

void SystemScheduler::fire(TimerId id)
{
    auto it = m_pending.find(id);
    if (it == m_pending.end())
        return;
    std::function<void()> task = std::move(it->second->task);
    // Destroying the notifier from its own signal is not allowed; hand it to the event loop.
    if (it->second->notifier) {
        it->second->notifier->setEnabled(false);
        it->second->notifier.release()->deleteLater();
    }
    m_pending.erase(it);
    task();
}
