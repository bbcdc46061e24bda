#include "VirtualScheduler.h"

Scheduler::TimerId VirtualScheduler::schedule(double seconds, std::function<void()> task)
{
    const TimerId id = m_nextId++;
    m_tasks.emplace(std::make_pair(m_now + (seconds > 0 ? seconds : 0), id), Task{id, std::move(task)});
    return id;
}

Scheduler::TimerId VirtualScheduler::scheduleAwake(double seconds, std::function<void()> task)
{
    const TimerId id = schedule(seconds, std::move(task));
    for (auto &[due, pending] : m_tasks) {
        if (pending.id == id)
            pending.awake = true;
    }
    return id;
}

void VirtualScheduler::suspend(double seconds)
{
    if (!(seconds > 0))
        return;
    decltype(m_tasks) moved;
    for (auto it = m_tasks.begin(); it != m_tasks.end();) {
        if (it->second.awake) {
            moved.emplace(std::make_pair(it->first.first + seconds, it->first.second), std::move(it->second));
            it = m_tasks.erase(it);
        } else {
            ++it;
        }
    }
    m_tasks.merge(moved);
    advance(seconds);
}

void VirtualScheduler::cancel(TimerId id)
{
    for (auto it = m_tasks.begin(); it != m_tasks.end(); ++it) {
        if (it->second.id == id) {
            m_tasks.erase(it);
            return;
        }
    }
}

void VirtualScheduler::advance(double seconds)
{
    advanceTo(m_now + (seconds > 0 ? seconds : 0));
}

void VirtualScheduler::advanceTo(double time)
{
    const double target = time > m_now ? time : m_now;
    while (!m_tasks.empty() && m_tasks.begin()->first.first <= target) {
        auto it = m_tasks.begin();
        m_now = it->first.first;
        std::function<void()> run = std::move(it->second.run);
        m_tasks.erase(it);
        run();
    }
    m_now = target;
}

double VirtualScheduler::nextDue() const
{
    return m_tasks.empty() ? -1.0 : m_tasks.begin()->first.first;
}
