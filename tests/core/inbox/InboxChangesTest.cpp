#include "InboxTestSupport.h"

namespace {

SnapshotJson threadSnapshot()
{
    SnapshotJson snapshot;
    snapshot.scope(personalScope()).scope(teamScope());
    // A team thread of three: two unread, one read.
    snapshot.message({.id = QStringLiteral("t1"), .scopeId = QStringLiteral("team"), .kind = QStringLiteral("thread"),
                      .createdAt = 1, .unread = true});
    snapshot.message({.id = QStringLiteral("t2"), .scopeId = QStringLiteral("team"), .kind = QStringLiteral("thread"),
                      .createdAt = 2, .unread = false});
    snapshot.message({.id = QStringLiteral("t3"), .scopeId = QStringLiteral("team"), .kind = QStringLiteral("thread"),
                      .createdAt = 3, .unread = true});
    snapshot.message({.id = QStringLiteral("a"), .conversationId = QStringLiteral("ca")});
    snapshot.message({.id = QStringLiteral("b"), .conversationId = QStringLiteral("cb")});
    return snapshot;
}

} // namespace

using InboxChanges = LiveInboxFixture;

TEST_F(InboxChanges, SelectingAThreadQueuesOneReadPerUnreadMember)
{
    deliver(threadSnapshot());
    inbox->select(*byRecord(QStringLiteral("t1")));
    ASSERT_EQ(inbox->changes().size(), 2);
    EXPECT_EQ(inbox->changes()[0], (LocalChange{QStringLiteral("read"), localID(QStringLiteral("t1")), QStringLiteral("t1")}));
    EXPECT_EQ(inbox->changes()[1].remoteID, QStringLiteral("t3"));
    EXPECT_FALSE(byRecord(QStringLiteral("t3"))->unread); // shown read at once
    EXPECT_TRUE(inbox->expanded());
    EXPECT_TRUE(inbox->pinned());
    EXPECT_EQ(inbox->selectedID(), localID(QStringLiteral("t1")));
    EXPECT_EQ(inbox->revision(), 1);

    scheduler.runDue();
    ASSERT_EQ(mutations->calls.size(), 1u); // one at a time
    EXPECT_EQ(mutations->calls[0].command, QStringLiteral("read"));
    EXPECT_EQ(mutations->calls[0].messageID, QStringLiteral("t1"));
    mutations->finishNext(confirmation(QStringLiteral("t1")));
    mutations->finishNext(confirmation(QStringLiteral("t3")));
    EXPECT_TRUE(inbox->changes().isEmpty());
    EXPECT_FALSE(inbox->drainingChanges());
    EXPECT_EQ(inbox->confirmedUnread().value(localID(QStringLiteral("t3"))), false);
    EXPECT_EQ(snapshots->started, 1); // the drain never refreshes
}

TEST_F(InboxChanges, ARejectedFocusInTheMiddleFallsBackToConfirmedPlusQueue)
{
    deliver(threadSnapshot());
    const Message a = *byRecord(QStringLiteral("a"));
    const Message b = *byRecord(QStringLiteral("b"));
    inbox->toggleFocus(a);
    inbox->toggleFocus(b);
    EXPECT_EQ(inbox->focusOrder(), (QList<QUuid>{b.id, a.id}));
    EXPECT_TRUE(inbox->focusHoldsOpen());
    inbox->toggleFocus(a); // unfocus a, queued behind the others
    EXPECT_EQ(inbox->focusOrder(), QList<QUuid>{b.id});
    ASSERT_EQ(inbox->changes().size(), 3);

    scheduler.runDue();
    mutations->finishNext(confirmation(QStringLiteral("a")));                  // focus a: confirmed
    mutations->finishNext(confirmation(QStringLiteral("b"), false));           // focus b: rejected
    EXPECT_EQ(inbox->actionError(), QStringLiteral("Could not confirm the saved change."));
    EXPECT_TRUE(inbox->focusOrder().isEmpty()); // confirmed [a] + queued "unfocus a"
    mutations->finishNext(confirmation(QStringLiteral("a")));
    EXPECT_TRUE(inbox->focusOrder().isEmpty());
    EXPECT_TRUE(inbox->confirmedFocus().isEmpty());
}

TEST_F(InboxChanges, FocusThenUnfocusQuicklyShowsUnfocused)
{
    deliver(threadSnapshot());
    const Message a = *byRecord(QStringLiteral("a"));
    inbox->toggleFocus(a);
    inbox->toggleFocus(a);
    EXPECT_FALSE(inbox->focusedIDs().contains(a.id));
    ASSERT_EQ(inbox->changes().size(), 2);
    EXPECT_EQ(inbox->changes()[0].operation, QStringLiteral("focus"));
    EXPECT_EQ(inbox->changes()[1].operation, QStringLiteral("unfocus"));
}

TEST_F(InboxChanges, UnconfirmedAnswersAreReported)
{
    deliver(threadSnapshot());
    const Message a = *byRecord(QStringLiteral("a"));
    const QList<QByteArray> answers{confirmation(QStringLiteral("a"), false), confirmation(QStringLiteral("x")),
                                    confirmation(QStringLiteral("a"), true, QStringLiteral("someone-else"))};
    for (const QByteArray &answer : answers) {
        inbox->setActionError(std::nullopt);
        inbox->toggleFocus(a);
        scheduler.runDue();
        mutations->finishNext(answer);
        EXPECT_EQ(inbox->actionError(), QStringLiteral("Could not confirm the saved change.")) << answer.toStdString();
        EXPECT_TRUE(inbox->confirmedFocus().isEmpty());
        EXPECT_TRUE(inbox->focusOrder().isEmpty());
    }
    // A tool failure shows its own text.
    inbox->toggleFocus(a);
    scheduler.runDue();
    mutations->finishNext(Failure::tandrel(3, QStringLiteral("boom")));
    EXPECT_EQ(inbox->actionError(), QStringLiteral("boom"));
}

TEST_F(InboxChanges, SaveLocalChangeReplacesTheTool)
{
    deliver(threadSnapshot());
    QStringList saved;
    inbox->setSaveLocalChange([&](const QString &operation, const QString &remoteID, CommandRunner::Completion done) {
        saved.append(operation + u' ' + remoteID);
        done(confirmation(remoteID));
    });
    inbox->toggleFocus(*byRecord(QStringLiteral("b")));
    scheduler.runDue();
    EXPECT_EQ(saved, QStringList{QStringLiteral("focus b")});
    EXPECT_TRUE(mutations->calls.empty());
    EXPECT_EQ(inbox->confirmedFocus(), QList<QUuid>{localID(QStringLiteral("b"))});
}

TEST_F(InboxChanges, CardFocusTargetAndState)
{
    deliver(threadSnapshot());
    const Message t1 = *byRecord(QStringLiteral("t1"));
    EXPECT_EQ(inbox->cardFocusTarget(t1).id, localID(QStringLiteral("t3"))); // newest member
    EXPECT_FALSE(inbox->cardIsFocused(t1));
    inbox->toggleFocus(*byRecord(QStringLiteral("t2")));
    EXPECT_EQ(inbox->cardFocusTarget(t1).id, localID(QStringLiteral("t2")));
    EXPECT_TRUE(inbox->cardIsFocused(t1));
}

TEST_F(InboxChanges, WorkspaceLinks)
{
    EXPECT_TRUE(inbox->workspaceUrl(std::nullopt).isEmpty()); // no origin yet
    deliver(threadSnapshot());
    EXPECT_EQ(inbox->workspaceUrl(byRecord(QStringLiteral("t1"))).toString(),
              QStringLiteral("https://tandrel.example/workspace#team=team&conversation=c1"));
    EXPECT_EQ(inbox->workspaceUrl(byRecord(QStringLiteral("a"))).toString(),
              QStringLiteral("https://tandrel.example/workspace"));
    Message shared = *byRecord(QStringLiteral("t1"));
    shared.kind = ConversationKind::inbox;
    shared.scope = InboxScope{QStringLiteral("a team&more")};
    EXPECT_EQ(inbox->workspaceUrl(shared).toString(QUrl::FullyEncoded),
              QStringLiteral("https://tandrel.example/workspace#team=a%20team%26more&view=inbox"));
    inbox->openWorkspace(std::nullopt);
    ASSERT_EQ(opened.size(), 1u);

    SnapshotJson unsafe = threadSnapshot();
    unsafe.account(QStringLiteral("me"), QStringLiteral("javascript:alert(1)//"));
    deliver(unsafe);
    inbox->openWorkspace(std::nullopt);
    EXPECT_EQ(opened.size(), 1u); // only http and https origins open
}

TEST(DemoChanges, LabelsFocusAndReadChangeTheModelDirectly)
{
    VirtualScheduler scheduler;
    InboxServices services;
    services.scheduler = &scheduler;
    Inbox inbox(false, std::move(services));
    const Message first = inbox.messages()[0];
    ASSERT_TRUE(first.unread);
    inbox.select(first);
    EXPECT_FALSE(inbox.messages()[0].unread);
    EXPECT_TRUE(inbox.changes().isEmpty());

    inbox.toggleFocus(first);
    EXPECT_EQ(inbox.focusOrder(), QList<QUuid>{first.id});
    inbox.toggleFocus(first);
    EXPECT_TRUE(inbox.focusOrder().isEmpty());

    const Message unreleased = inbox.messages()[3];
    ASSERT_FALSE(unreleased.released);
    inbox.toggleFocus(unreleased);
    EXPECT_TRUE(inbox.focusOrder().isEmpty());

    const Message checklist = inbox.messages()[4];
    inbox.setTeamLabel(QStringLiteral("Design"), checklist.id);
    EXPECT_EQ(inbox.messages()[4].category, QStringLiteral("Design"));
    inbox.setTeamLabel(QStringLiteral("Needs response"), checklist.id); // not a team label
    EXPECT_EQ(inbox.messages()[4].category, QStringLiteral("Design"));

    EXPECT_EQ(inbox.labels(), (QStringList{QStringLiteral("Feedback & ideas"), QStringLiteral("Introductions & opportunities"),
                                           QStringLiteral("Needs response"), QStringLiteral("Updates & context")}));
}

TEST_F(InboxChanges, LiveLabelsComeFromTheCurrentScopeOnly)
{
    SnapshotJson snapshot;
    snapshot.scope(personalScope()).scope(teamScope());
    snapshot.message({.id = QStringLiteral("1"), .category = QStringLiteral("needs-response")});
    snapshot.message({.id = QStringLiteral("2"), .category = QStringLiteral("alpha")});
    snapshot.message({.id = QStringLiteral("3"), .category = QStringLiteral("needs-response")});
    snapshot.message({.id = QStringLiteral("4"), .scopeId = QStringLiteral("team"), .category = QStringLiteral("beta")});
    deliver(snapshot);
    EXPECT_EQ(inbox->labels(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Needs response")}));
    inbox->setTeamLabel(QStringLiteral("Alpha"), localID(QStringLiteral("4"))); // live: nothing
    EXPECT_EQ(byRecord(QStringLiteral("4"))->category, QStringLiteral("Beta"));
}
