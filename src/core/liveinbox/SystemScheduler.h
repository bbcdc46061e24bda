#pragma once

#include "Scheduler.h"

#include <QObject>

#include <memory>
#include <unordered_map>

class QSocketNotifier;

// The real clock: CLOCK_BOOTTIME, with one timerfd per pending task, so delays keep counting
// while the computer sleeps.
class SystemScheduler final : public QObject, public Scheduler
{
    Q_OBJECT
public:
    explicit SystemScheduler(QObject *parent = nullptr);
    ~SystemScheduler() override;

    double now() const override;
    TimerId schedule(double seconds, std::function<void()> task) override;
    void cancel(TimerId id) override;

private:
    struct Pending;
    void fire(TimerId id);

    std::unordered_map<TimerId, std::unique_ptr<Pending>> m_pending;
    TimerId m_nextId = 1;
};
