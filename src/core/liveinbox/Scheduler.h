#pragma once

#include <QtGlobal>

#include <functional>

// Every delay of the application goes through this interface, so tests can run in virtual time.
// Times are seconds. schedule() and now() use a clock that keeps counting while the computer sleeps (a
// back-off, an announcement); scheduleAwake() one that stops while it is suspended (a limit on how long
// something may run, which a sleep must not use up).
// Tasks run on the thread that owns the scheduler (the main thread), never re-entrantly from schedule().
class Scheduler
{
public:
    using TimerId = quint64;

    virtual ~Scheduler() = default;

    // Seconds since an arbitrary fixed point.
    virtual double now() const = 0;
    // Runs task once, `seconds` from now. Returns a nonzero id for cancel().
    virtual TimerId schedule(double seconds, std::function<void()> task) = 0;
    // Runs task once after `seconds` of time awake (suspended time does not count). Ids as for schedule().
    virtual TimerId scheduleAwake(double seconds, std::function<void()> task) = 0;
    // Cancels a pending task; unknown or finished ids are ignored.
    virtual void cancel(TimerId id) = 0;
};
