#include "InboxTestSupport.h"

namespace {

SnapshotJson withMessages(const QList<TestMessage> &messages, const QList<TestScope> &scopes = {personalScope()})
{
    SnapshotJson snapshot;
    for (const TestScope &scope : scopes)
        snapshot.scope(scope);
    for (const TestMessage &message : messages)
        snapshot.message(message);
    return snapshot;
}

TestMessage unread(const QString &id, const QString &scope = QStringLiteral("personal"))
{
    return {.id = id, .scopeId = scope, .unread = true};
}

} // namespace

class InboxArrivals : public LiveInboxFixture
{
protected:
    void SetUp() override
    {
        LiveInboxFixture::SetUp();
        inbox->setOnArrival([this] { ++arrivals; });
        inbox->setOnHoverStateChange([this] { ++hoverChanges; });
    }
    int arrivals = 0;
    int hoverChanges = 0;
};

TEST_F(InboxArrivals, TheFirstSnapshotAndRepeatsAnnounceNothing)
{
    QList<TestMessage> ten;
    for (int i = 0; i < 10; ++i)
        ten.append(unread(QString::number(i)));
    deliver(withMessages(ten));
    deliver(withMessages(ten));
    EXPECT_EQ(arrivals, 0);
    EXPECT_FALSE(inbox->arrival());
}

TEST_F(InboxArrivals, ANewUnreadMessageIsAnnouncedForFourSeconds)
{
    deliver(withMessages({unread(QStringLiteral("a"))}));
    deliver(withMessages({unread(QStringLiteral("a")), unread(QStringLiteral("b")), unread(QStringLiteral("c"))}));
    const double arrived = scheduler.now();
    EXPECT_EQ(arrivals, 1); // only the first new one
    EXPECT_TRUE(inbox->arrival());
    EXPECT_EQ(inbox->latestArrivalID(), localID(QStringLiteral("b")));
    EXPECT_EQ(hoverChanges, 1);
    scheduler.advanceTo(arrived + 4 - 1e-3);
    EXPECT_TRUE(inbox->arrival());
    EXPECT_EQ(hoverChanges, 1);
    scheduler.advanceTo(arrived + 4);
    EXPECT_FALSE(inbox->arrival());
    EXPECT_EQ(inbox->latestArrivalID(), localID(QStringLiteral("b")));
    EXPECT_EQ(hoverChanges, 2);
    // c was seen with b and is never announced.
    deliver(withMessages({unread(QStringLiteral("a")), unread(QStringLiteral("c"))}));
    EXPECT_EQ(arrivals, 1);
}

TEST_F(InboxArrivals, ASecondArrivalRestartsTheAnnouncement)
{
    deliver(withMessages({}));
    deliver(withMessages({unread(QStringLiteral("a"))}));
    scheduler.advance(3);
    deliver(withMessages({unread(QStringLiteral("a")), unread(QStringLiteral("b"))}));
    scheduler.advance(3);
    EXPECT_TRUE(inbox->arrival());
    scheduler.advance(1.1);
    EXPECT_FALSE(inbox->arrival());
    EXPECT_EQ(arrivals, 2);
}

TEST_F(InboxArrivals, OwnReadAndNewScopeMessagesAreNotAnnounced)
{
    deliver(withMessages({}));
    TestMessage mine = unread(QStringLiteral("mine"));
    mine.senderId = QStringLiteral("me");
    TestMessage read{.id = QStringLiteral("read")};
    deliver(withMessages({mine, read}));
    EXPECT_EQ(arrivals, 0);
    // The read one never counts later either.
    deliver(withMessages({mine, unread(QStringLiteral("read"))}));
    EXPECT_EQ(arrivals, 0);

    const QList<TestScope> scopes{personalScope(), teamScope()};
    deliver(withMessages({unread(QStringLiteral("t1"), QStringLiteral("team"))}, scopes));
    EXPECT_EQ(arrivals, 0); // the scope is new
    deliver(withMessages({unread(QStringLiteral("t1"), QStringLiteral("team")), unread(QStringLiteral("t2"), QStringLiteral("team"))}, scopes));
    EXPECT_EQ(arrivals, 1);
}

TEST_F(InboxArrivals, AnotherOriginIsAnotherAccount)
{
    deliver(withMessages({unread(QStringLiteral("a"))}));
    SnapshotJson moved = withMessages({unread(QStringLiteral("a")), unread(QStringLiteral("b"))});
    moved.account(QStringLiteral("me"), QStringLiteral("https://elsewhere.example"));
    deliver(moved);
    EXPECT_EQ(arrivals, 0);
}

TEST(DemoArrivals, SimulatedArrivalsAlternateTemplates)
{
    VirtualScheduler scheduler;
    InboxServices services;
    services.scheduler = &scheduler;
    Inbox inbox(false, std::move(services));
    const int before = inbox.unreadCount(InboxScope::demoTeamLaunch());

    inbox.simulate(InboxScope::demoTeamLaunch());
    const Message first = inbox.messages()[0];
    EXPECT_EQ(first.sender, QStringLiteral("Devon Hale"));
    EXPECT_EQ(first.conversationID, QStringLiteral("demo-arrival-0"));
    EXPECT_EQ(first.category, QStringLiteral("Launch"));
    EXPECT_TRUE(first.body.startsWith(QStringLiteral("The updated launch checklist is ready for the team to review.")));
    EXPECT_EQ(inbox.unreadCount(InboxScope::demoTeamLaunch()), before + 1);
    EXPECT_TRUE(inbox.arrival());
    EXPECT_EQ(inbox.latestArrivalID(), first.id);

    inbox.simulate(); // the current scope: personal
    const Message second = inbox.messages()[0];
    EXPECT_EQ(second.sender, QStringLiteral("Nora Patel"));
    EXPECT_EQ(second.subject, QStringLiteral("One more thing…"));
    EXPECT_EQ(second.conversationID, QStringLiteral("demo-arrival-1"));
    EXPECT_EQ(second.category, QStringLiteral("Updates & context"));
    EXPECT_EQ(second.scope, InboxScope::personal());
    inbox.simulate();
    EXPECT_EQ(inbox.messages()[0].sender, QStringLiteral("Devon Hale"));
    EXPECT_EQ(inbox.demoIndex(), 3);
    scheduler.advance(4.1);
    EXPECT_FALSE(inbox.arrival());
}

TEST(DemoArrivals, TwoRunsShowTheSameContentInTheSameOrder)
{
    VirtualScheduler scheduler;
    InboxServices a, b;
    a.scheduler = b.scheduler = &scheduler;
    Inbox first(false, std::move(a));
    Inbox second(false, std::move(b));
    ASSERT_EQ(first.messages().size(), second.messages().size());
    for (qsizetype i = 0; i < first.messages().size(); ++i) {
        EXPECT_EQ(first.messages()[i].subject, second.messages()[i].subject);
        EXPECT_EQ(first.messages()[i].body, second.messages()[i].body);
    }
    // Team samples get fresh ids on every read; personal ones keep theirs.
    const QList<Message> again = DemoSamples::instance().samples();
    EXPECT_EQ(again[0].id, first.messages()[0].id);
    EXPECT_NE(again[4].id, DemoSamples::instance().samples()[4].id);
}

TEST_F(InboxArrivals, SimulateDoesNothingInALiveInbox)
{
    inbox->simulate(InboxScope::personal());
    EXPECT_TRUE(inbox->messages().isEmpty());
    EXPECT_EQ(inbox->demoIndex(), 0);
}
