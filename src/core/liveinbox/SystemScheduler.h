#pragma once

#include "Scheduler.h"

#include <QObject>

#include <memory>
#include <unordered_map>

class QSocketNotifier;

// The real clocks, with one timerfd per pending task: CLOCK_BOOTTIME for schedule(), so delays keep
// counting while the computer sleeps, and CLOCK_MONOTONIC for scheduleAwake(), which stops during suspend.
class SystemScheduler final : public QObject, public Scheduler
{
    Q_OBJECT
public:
    explicit SystemScheduler(QObject *parent = nullptr);
    ~SystemScheduler() override;

    double now() const override;
    TimerId schedule(double seconds, std::function<void()> task) override;
    TimerId scheduleAwake(double seconds, std::function<void()> task) override;
    void cancel(TimerId id) override;

private:
    struct Pending;
    TimerId scheduleOn(int clock, double seconds, std::function<void()> task);
    void fire(TimerId id);

    std::unordered_map<TimerId, std::unique_ptr<Pending>> m_pending;
    TimerId m_nextId = 1;
};
