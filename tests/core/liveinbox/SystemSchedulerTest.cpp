#include "liveinbox/SystemScheduler.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>

#include <gtest/gtest.h>

TEST(SystemScheduler, RunsTasksInOrderAndHonoursCancel)
{
    SystemScheduler scheduler;
    std::vector<int> ran;
    QEventLoop loop;
    const double start = scheduler.now();
    scheduler.schedule(0.03, [&] { ran.push_back(2); loop.quit(); });
    const auto cancelled = scheduler.schedule(0.01, [&] { ran.push_back(99); });
    scheduler.schedule(0.0, [&] { ran.push_back(1); });
    scheduler.cancel(cancelled);
    loop.exec();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    EXPECT_GE(scheduler.now() - start, 0.029);
}

TEST(SystemScheduler, TimeAwakeAndTimeAsleepAreSeparateClocksOfOneOrder)
{
    SystemScheduler scheduler;
    std::vector<int> ran;
    QEventLoop loop;
    scheduler.scheduleAwake(0.04, [&] { ran.push_back(3); loop.quit(); });
    scheduler.schedule(0.02, [&] { ran.push_back(2); });
    const auto cancelled = scheduler.scheduleAwake(0.01, [&] { ran.push_back(99); });
    scheduler.scheduleAwake(0.0, [&] { ran.push_back(1); });
    scheduler.cancel(cancelled);
    loop.exec();
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}
