#include "ScheduledTasks.h"

#include <memory>
#include <utility>

ScheduledTasks::~ScheduledTasks()
{
    cancelAll();
}

Scheduler::TimerId ScheduledTasks::post(double seconds, std::function<void()> task)
{
    auto id = std::make_shared<Scheduler::TimerId>(0);
    *id = m_scheduler.schedule(seconds, [this, id, task = std::move(task)] {
        m_posted.remove(*id);
        task();
    });
    m_posted.insert(*id);
    return *id;
}

void ScheduledTasks::cancel(Scheduler::TimerId id)
{
    if (m_posted.remove(id))
        m_scheduler.cancel(id);
}

void ScheduledTasks::cancelAll()
{
    const QSet<Scheduler::TimerId> posted = std::exchange(m_posted, {});
    for (const Scheduler::TimerId id : posted)
        m_scheduler.cancel(id);
}
