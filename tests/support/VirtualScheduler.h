#pragma once

#include "liveinbox/Scheduler.h"

#include <map>
#include <utility>

// Virtual time for tests: nothing happens until advance() or suspend() moves the clock. Time awake and
// time that counts sleep are the same except across suspend().
class VirtualScheduler final : public Scheduler
{
public:
    double now() const override { return m_now; }
    TimerId schedule(double seconds, std::function<void()> task) override;
    TimerId scheduleAwake(double seconds, std::function<void()> task) override;
    void cancel(TimerId id) override;

    // Moves the clock forward, running every task that falls due, in time order.
    void advance(double seconds);
    // Moves the clock to `time` (never backwards), as advance() does. A task scheduled `d` seconds
    // from `t` falls due at exactly advanceTo(t + d), free of rounding from several smaller steps.
    void advanceTo(double time);
    // The computer sleeps for `seconds`: the clock moves on, but tasks of scheduleAwake() move with it.
    void suspend(double seconds);
    // Runs the tasks due at the current time (a zero-second advance).
    void runDue() { advance(0); }
    std::size_t pendingCount() const { return m_tasks.size(); }
    // Time of the earliest pending task, or a negative number when none is pending.
    double nextDue() const;

private:
    struct Task
    {
        TimerId id;
        std::function<void()> run;
        bool awake = false;
    };
    std::multimap<std::pair<double, TimerId>, Task> m_tasks;
    double m_now = 1000.0;
    TimerId m_nextId = 1;
};
