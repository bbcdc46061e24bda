#include "VirtualScheduler.h"
#include "inbox/ScheduledTasks.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

TEST(ScheduledTasks, RunsEachTaskOnceAfterItsDelay)
{
    VirtualScheduler scheduler;
    ScheduledTasks tasks(scheduler);
    std::vector<int> ran;
    tasks.post(2, [&] { ran.push_back(2); });
    tasks.post(1, [&] { ran.push_back(1); });
    EXPECT_EQ(tasks.pending(), 2);
    scheduler.advance(1);
    EXPECT_EQ(ran, std::vector<int>{1});
    EXPECT_EQ(tasks.pending(), 1);
    scheduler.advance(5);
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_EQ(tasks.pending(), 0);
}

TEST(ScheduledTasks, ACancelledTaskNeverRuns)
{
    VirtualScheduler scheduler;
    ScheduledTasks tasks(scheduler);
    bool ran = false;
    const Scheduler::TimerId id = tasks.post(1, [&] { ran = true; });
    tasks.cancel(id);
    tasks.cancel(id); // twice, or an unknown id: nothing happens
    scheduler.advance(2);
    EXPECT_FALSE(ran);
    EXPECT_EQ(scheduler.pendingCount(), 0u);
}

TEST(ScheduledTasks, NoTaskOutlivesItsOwner)
{
    VirtualScheduler scheduler;
    bool ran = false;
    {
        ScheduledTasks tasks(scheduler);
        tasks.post(0, [&] { ran = true; });
        tasks.post(30, [&] { ran = true; });
    }
    EXPECT_EQ(scheduler.pendingCount(), 0u);
    scheduler.advance(60);
    EXPECT_FALSE(ran);
}
