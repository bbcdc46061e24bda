#include "InboxTestSupport.h"
#include "liveinbox/SnapshotDecoder.h"

#include <QTest>

namespace {

// A live inbox that decodes and converts its snapshots on the worker thread, as the application does.
class InboxPreparation : public LiveInboxFixture
{
protected:
    void SetUp() override
    {
        InboxServices services;
        services.scheduler = &scheduler;
        auto snapshotRunner = std::make_unique<FakeRunner>();
        snapshots = snapshotRunner.get();
        services.connection = std::move(snapshotRunner);
        auto mutationRunner = std::make_unique<FakeRunner>();
        mutations = mutationRunner.get();
        services.mutationConnection = std::move(mutationRunner);
        services.prepareSnapshot = [this](QByteArray bytes, LiveMessageCache cache,
                                          std::function<void(Result<PreparedSnapshot>)> done) {
            ++prepared;
            decoder.prepare(std::move(bytes), std::move(cache), std::move(done));
        };
        inbox = std::make_unique<Inbox>(true, std::move(services));
    }

    // Finishes the running snapshot command and waits until its product has been applied or discarded.
    void finishSnapshot(const SnapshotJson &snapshot)
    {
        snapshots->finishNext(snapshot.bytes());
        EXPECT_TRUE(QTest::qWaitFor([&] { return !inbox->refreshInFlight(); }, 10000));
    }

    static SnapshotJson records(const QString &account = QStringLiteral("me"))
    {
        SnapshotJson snapshot;
        snapshot.account(account);
        snapshot.scope(personalScope());
        snapshot.message({.id = QStringLiteral("a"), .body = QStringLiteral("First é")});
        snapshot.message({.id = QStringLiteral("b"), .body = QStringLiteral("Second"), .unread = true});
        return snapshot;
    }

    SnapshotDecoder decoder;
    int prepared = 0;
};

bool sameConversion(const Message &a, const Message &b)
{
    return a.id == b.id && a.body.constData() == b.body.constData();
}

} // namespace

TEST_F(InboxPreparation, AppliesWhatTheWorkerPreparedAndReusesUnchangedRecords)
{
    inbox->refresh();
    finishSnapshot(records());
    EXPECT_EQ(prepared, 1);
    ASSERT_EQ(inbox->messages().size(), 2);
    EXPECT_EQ(inbox->messages()[0].body, QStringLiteral("First é"));
    EXPECT_EQ(inbox->unreadCount(), 1);
    EXPECT_EQ(inbox->confirmedUnread().value(localID(QStringLiteral("b"))), true);
    const QList<Message> first = inbox->messages();

    inbox->refresh();
    finishSnapshot(records());
    ASSERT_EQ(inbox->messages().size(), 2);
    EXPECT_TRUE(sameConversion(inbox->messages()[0], first[0]));
    EXPECT_TRUE(sameConversion(inbox->messages()[1], first[1]));
    EXPECT_FALSE(inbox->connectionError().has_value());

    // A failure on the worker reaches the inbox like any other.
    inbox->refresh();
    snapshots->finishNext(QByteArray("not json"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !inbox->refreshInFlight(); }, 10000));
    EXPECT_TRUE(inbox->messages().isEmpty());
    EXPECT_EQ(inbox->connectionError(), QStringLiteral("invalid JSON at byte 0 (unexpected character)"));
}

// The worker converts through a copy of the cache: a snapshot discarded because a local change came in while it
// was prepared leaves the inbox's cache as the last applied snapshot made it.
TEST_F(InboxPreparation, ADiscardedSnapshotDoesNotAdvanceTheCache)
{
    inbox->refresh();
    finishSnapshot(records());
    const QList<Message> first = inbox->messages();

    inbox->refresh();
    snapshots->finishNext(records(QStringLiteral("someone-else")).bytes()); // converts every record afresh
    inbox->toggleFocus(first[0]);                                         // while the worker prepares it
    ASSERT_TRUE(QTest::qWaitFor([&] { return !inbox->refreshInFlight(); }, 10000));
    EXPECT_EQ(inbox->accountID(), QStringLiteral("me"));
    EXPECT_TRUE(sameConversion(inbox->messages()[0], first[0]));

    scheduler.runDue();
    ASSERT_EQ(mutations->calls.size(), 1u);
    mutations->finishNext(confirmation(QStringLiteral("a")));
    scheduler.runDue();
    ASSERT_EQ(snapshots->calls.size(), 1u) << "the discarded refresh runs again once the change is answered";
    finishSnapshot(records());
    EXPECT_EQ(prepared, 3);
    ASSERT_EQ(inbox->messages().size(), 2);
    EXPECT_TRUE(sameConversion(inbox->messages()[0], first[0]));
    EXPECT_TRUE(sameConversion(inbox->messages()[1], first[1]));
}
