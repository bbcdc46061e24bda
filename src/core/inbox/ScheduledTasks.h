#pragma once

#include "liveinbox/Scheduler.h"

#include <QSet>
#include <QtGlobal>

#include <functional>

// Tasks scheduled on behalf of one owner. Each runs once after its delay unless cancelled; none outlives
// this object, so a task may hold its owner.
class ScheduledTasks
{
public:
    explicit ScheduledTasks(Scheduler &scheduler) : m_scheduler(scheduler) {}
    ~ScheduledTasks();
    Q_DISABLE_COPY_MOVE(ScheduledTasks)

    // Runs `task` once, `seconds` from now. Returns its id for cancel().
    Scheduler::TimerId post(double seconds, std::function<void()> task);
    // Cancels a task that has not run yet; other ids are ignored.
    void cancel(Scheduler::TimerId id);
    // Cancels every task that has not run yet.
    void cancelAll();
    // The number of tasks that have not run yet.
    qsizetype pending() const { return m_posted.size(); }

private:
    Scheduler &m_scheduler;
    QSet<Scheduler::TimerId> m_posted;
};
