#include "FakeRunner.h"
#include "SnapshotJson.h"
#include "VirtualScheduler.h"
#include "inbox/ScheduledTasks.h"
#include "inbox/SyncCycle.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

QByteArray snapshot(const QString &id = QStringLiteral("a"))
{
    SnapshotJson json;
    json.scope({QStringLiteral("personal"), QStringLiteral("P"), {}});
    json.message({.id = id});
    return json.bytes();
}

// A sync cycle on fakes and virtual time, with a model that records what it is handed.
class SyncCycleTest : public ::testing::Test
{
protected:
    SyncCycleTest()
    {
        auto runner = std::make_unique<FakeRunner>();
        snapshots = runner.get();
        services.connection = std::move(runner);
        auto source = std::make_unique<FakeHintSource>();
        hints = source.get();
        services.hints = std::move(source);
        services.scheduler = &scheduler;
        cycle = std::make_unique<SyncCycle>(
            services, tasks,
            SyncCycle::Hooks{.changesWaiting = [this] { return changesWaiting; },
                             .revision = [this] { return revision; },
                             .apply =
                                 [this](PreparedSnapshot &prepared) {
                                     applied.push_back(prepared.messages.size());
                                     cycle->cache() = prepared.cache;
                                 },
                             .fail = [this](const QString &description) { failures.push_back(description); }});
    }

    VirtualScheduler scheduler;
    ScheduledTasks tasks{scheduler};
    InboxServices services;
    FakeRunner *snapshots = nullptr;
    FakeHintSource *hints = nullptr;
    bool changesWaiting = false;
    qint64 revision = 0;
    std::vector<qsizetype> applied;
    std::vector<QString> failures;
    std::unique_ptr<SyncCycle> cycle;
};

} // namespace

TEST_F(SyncCycleTest, HandsTheModelEachSnapshotAndItsFailures)
{
    cycle->refresh();
    EXPECT_TRUE(cycle->refreshInFlight());
    snapshots->finishNext(snapshot());
    EXPECT_EQ(applied, std::vector<qsizetype>{1});
    EXPECT_FALSE(cycle->refreshInFlight());
    EXPECT_EQ(cycle->cache().size(), 1u);

    cycle->refresh();
    snapshots->finishNext(Failure::tandrel(3, QStringLiteral("tool failed")));
    EXPECT_EQ(failures, std::vector<QString>{QStringLiteral("tool failed")});
    cycle->refresh();
    snapshots->finishNext(QByteArray("not json"));
    EXPECT_EQ(failures.size(), 2u);
}

TEST_F(SyncCycleTest, ASnapshotFetchedAcrossALocalChangeIsDroppedAndFetchedAgain)
{
    cycle->refresh();
    ++revision; // a local change, answered before the snapshot came
    snapshots->finishNext(snapshot());
    EXPECT_TRUE(applied.empty());
    scheduler.runDue();
    EXPECT_EQ(snapshots->started, 2);
    snapshots->finishNext(snapshot());
    EXPECT_EQ(applied.size(), 1u);
}

TEST_F(SyncCycleTest, WaitsForLocalChangesThenRefreshesOnce)
{
    changesWaiting = true;
    bool done = false;
    cycle->refresh([&] { done = true; });
    cycle->refresh();
    EXPECT_TRUE(done); // skipped: its part is over
    EXPECT_EQ(snapshots->started, 0);
    changesWaiting = false;
    cycle->changesAnswered();
    EXPECT_EQ(snapshots->started, 1);
    snapshots->finishNext(snapshot());
    cycle->changesAnswered(); // nothing was skipped since
    scheduler.runDue();
    EXPECT_EQ(snapshots->started, 1);
}

TEST_F(SyncCycleTest, SubscribesAfterTheFirstRefreshAndBacksOffAfterAFailure)
{
    cycle->start();
    cycle->start(); // once
    EXPECT_TRUE(cycle->syncing());
    EXPECT_EQ(snapshots->started, 1);
    EXPECT_EQ(hints->opened, 0);
    snapshots->finishNext(snapshot());
    EXPECT_EQ(hints->opened, 1);

    // The hints fail: one refresh at once, the next round 30 seconds later.
    hints->end(Failure::tandrel(1, QStringLiteral("socket closed")));
    EXPECT_EQ(snapshots->started, 2);
    snapshots->finishNext(snapshot());
    scheduler.advance(29);
    EXPECT_EQ(snapshots->started, 2);
    scheduler.advance(1);
    EXPECT_EQ(snapshots->started, 3);
    snapshots->finishNext(snapshot());
    EXPECT_EQ(hints->opened, 2);

    // Renewed, they end normally: round again at once.
    cycle->renew();
    EXPECT_TRUE(hints->cancelled);
    hints->end(Result<void>());
    EXPECT_EQ(snapshots->started, 4);
}
