#include "FakeRunner.h"
#include "VirtualScheduler.h"
#include "inbox/LocalChangeQueue.h"
#include "inbox/ScheduledTasks.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

Message record(const QString &remoteID, bool unread = false)
{
    Message message;
    message.id = QUuid::createUuid();
    message.remoteID = remoteID;
    message.unread = unread;
    return message;
}

QByteArray confirmation(const QString &id, bool saved = true, const QString &account = QStringLiteral("me"))
{
    return QStringLiteral(R"({"saved":%1,"id":"%2","account":{"id":"%3","provider":"google","origin":"o"}})")
        .arg(saved ? QStringLiteral("true") : QStringLiteral("false"), id, account)
        .toUtf8();
}

class LocalChangeQueueTest : public ::testing::Test
{
protected:
    LocalChangeQueueTest()
        : queue(&runner, tasks,
                {.accountID = [this] { return account; },
                 .projected = [this] { ++projections; },
                 .failed = [this](const QString &description) { failures.push_back(description); },
                 .drained = [this] { ++drains; }})
    {
    }

    // Queues one change and lets its save start.
    void queueOne(const QString &operation, const Message &target)
    {
        ASSERT_TRUE(queue.enqueue(operation, {target}));
        queue.startDrain();
        scheduler.runDue();
    }

    VirtualScheduler scheduler;
    ScheduledTasks tasks{scheduler};
    FakeRunner runner;
    std::optional<QString> account = QStringLiteral("me");
    int projections = 0;
    int drains = 0;
    std::vector<QString> failures;
    LocalChangeQueue queue;
};

} // namespace

TEST_F(LocalChangeQueueTest, QueuesOnlyTargetsWithAServiceRecordAndAdvancesTheRevision)
{
    Message local = record(QString());
    local.remoteID.reset();
    QSignalSpy revisions(&queue, &LocalChangeQueue::revisionChanged);
    EXPECT_FALSE(queue.enqueue(LocalChangeQueue::readOperation, {local}));
    EXPECT_EQ(queue.revision(), 0);
    const Message a = record(QStringLiteral("a"));
    EXPECT_TRUE(queue.enqueue(LocalChangeQueue::readOperation, {local, a}));
    EXPECT_EQ(queue.changes(), (QList<LocalChange>{{LocalChangeQueue::readOperation, a.id, QStringLiteral("a")}}));
    EXPECT_EQ(queue.revision(), 1);
    EXPECT_EQ(revisions.count(), 1);
}

TEST_F(LocalChangeQueueTest, ProjectsWaitingChangesOntoTheConfirmedState)
{
    const Message a = record(QStringLiteral("a"), true);
    const Message b = record(QStringLiteral("b"));
    const Message c = record(QStringLiteral("c"));
    queue.confirmSnapshot({b.id, c.id}, {a, b, c}, false);
    queue.enqueue(LocalChangeQueue::readOperation, {a});
    queue.enqueue(LocalChangeQueue::focusOperation, {c});
    queue.enqueue(LocalChangeQueue::unfocusOperation, {b});
    const LocalChangeQueue::Projection projection = queue.projection();
    EXPECT_EQ(projection.focus, QList<QUuid>{c.id});
    EXPECT_EQ(projection.unread.value(a.id, true), false);
    // The confirmed state itself waits for the answers.
    EXPECT_EQ(queue.confirmedFocus(), (QList<QUuid>{b.id, c.id}));
    EXPECT_EQ(queue.confirmedUnread().value(a.id), true);
}

TEST_F(LocalChangeQueueTest, SavesOneAtATimeAndAConfirmedAnswerBecomesConfirmedState)
{
    const Message a = record(QStringLiteral("a"), true);
    queue.confirmSnapshot({}, {a}, false);
    queueOne(LocalChangeQueue::readOperation, a);
    queue.enqueue(LocalChangeQueue::focusOperation, {a});
    ASSERT_EQ(runner.calls.size(), 1u);
    EXPECT_EQ(runner.calls.front().command, QStringLiteral("read"));
    EXPECT_EQ(runner.calls.front().messageID, QStringLiteral("a"));
    EXPECT_TRUE(queue.draining());

    runner.finishNext(confirmation(QStringLiteral("a")));
    EXPECT_EQ(queue.confirmedUnread().value(a.id), false);
    EXPECT_EQ(queue.changes().size(), 1);
    ASSERT_EQ(runner.calls.size(), 1u); // the next one, at once
    EXPECT_EQ(runner.calls.front().command, QStringLiteral("focus"));

    runner.finishNext(confirmation(QStringLiteral("a")));
    EXPECT_EQ(queue.confirmedFocus(), QList<QUuid>{a.id});
    EXPECT_TRUE(queue.isEmpty());
    EXPECT_FALSE(queue.draining());
    EXPECT_EQ(drains, 1);
    EXPECT_EQ(projections, 2);
    EXPECT_TRUE(failures.empty());
}

TEST_F(LocalChangeQueueTest, AnAnswerThatDoesNotConfirmDropsTheChangeWithAFailure)
{
    const Message a = record(QStringLiteral("a"));
    queueOne(LocalChangeQueue::focusOperation, a);
    runner.finishNext(confirmation(QStringLiteral("a"), true, QStringLiteral("someone-else")));
    EXPECT_EQ(failures, std::vector<QString>{QStringLiteral("Could not confirm the saved change.")});
    EXPECT_TRUE(queue.confirmedFocus().isEmpty());
    EXPECT_TRUE(queue.isEmpty());

    queueOne(LocalChangeQueue::focusOperation, a);
    runner.finishNext(Failure::tandrel(2, QStringLiteral("tool failed")));
    EXPECT_EQ(failures.back(), QStringLiteral("tool failed"));
    EXPECT_TRUE(queue.confirmedFocus().isEmpty());
}

TEST_F(LocalChangeQueueTest, ASnapshotReplacesTheConfirmedUnreadStateOnlyWhenItDiffers)
{
    const Message a = record(QStringLiteral("a"), true);
    const Message b = record(QStringLiteral("b"));
    QSignalSpy unread(&queue, &LocalChangeQueue::confirmedUnreadChanged);
    queue.confirmSnapshot({}, {a, b}, false);
    EXPECT_EQ(unread.count(), 1);
    queue.confirmSnapshot({}, {a, b}, false); // equal
    queue.confirmSnapshot({}, {a, b}, true);  // the same records
    EXPECT_EQ(unread.count(), 1);
    queue.confirmSnapshot({}, {a}, false); // b left
    EXPECT_EQ(unread.count(), 2);
    EXPECT_FALSE(queue.confirmedUnread().contains(b.id));
}

TEST_F(LocalChangeQueueTest, SavesThroughAnInstalledSaveInsteadOfTheRunner)
{
    std::vector<QString> saved;
    queue.setSave([&](const QString &operation, const QString &remoteID, CommandRunner::Completion done) {
        saved.push_back(operation + QLatin1Char(':') + remoteID);
        done(confirmation(remoteID));
    });
    queueOne(LocalChangeQueue::unfocusOperation, record(QStringLiteral("x")));
    EXPECT_EQ(saved, std::vector<QString>{QStringLiteral("unfocus:x")});
    EXPECT_EQ(runner.started, 0);
    EXPECT_TRUE(queue.isEmpty());
}
