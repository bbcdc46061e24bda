#include "InboxTestSupport.h"

namespace {

SnapshotJson basic()
{
    SnapshotJson snapshot;
    snapshot.scope(personalScope()).scope(teamScope());
    snapshot.message({.id = QStringLiteral("a"), .unread = true});
    snapshot.message({.id = QStringLiteral("b"), .scopeId = QStringLiteral("team"), .focused = true});
    return snapshot;
}

} // namespace

using InboxSync = LiveInboxFixture;

TEST_F(InboxSync, StartsEmptyAndLoadingThenAppliesTheFirstSnapshot)
{
    EXPECT_TRUE(inbox->loading());
    EXPECT_TRUE(inbox->messages().isEmpty());
    EXPECT_EQ(inbox->availableScopes(), QList<InboxScope>{InboxScope::personal()});

    deliver(basic());
    EXPECT_FALSE(inbox->loading());
    ASSERT_EQ(inbox->messages().size(), 2);
    EXPECT_EQ(inbox->accountID(), QStringLiteral("me"));
    EXPECT_EQ(inbox->availableScopes(), (QList<InboxScope>{InboxScope::personal(), InboxScope{QStringLiteral("team")}}));
    EXPECT_EQ(inbox->scopeNames().value(InboxScope{QStringLiteral("team")}), QStringLiteral("Team team"));
    EXPECT_EQ(inbox->focusOrder(), QList<QUuid>{localID(QStringLiteral("b"))});
    EXPECT_EQ(inbox->confirmedUnread().value(localID(QStringLiteral("a"))), true);
}

TEST_F(InboxSync, RequestsDuringARefreshCoalesceIntoExactlyOneMore)
{
    inbox->refresh();
    inbox->refresh(); // two hints while the snapshot runs
    inbox->refresh();
    EXPECT_EQ(snapshots->started, 1);
    EXPECT_TRUE(inbox->refreshPending());
    snapshots->finishNext(basic().bytes());
    EXPECT_FALSE(inbox->refreshInFlight());
    scheduler.runDue();
    EXPECT_EQ(snapshots->started, 2);
    snapshots->finishNext(basic().bytes());
    scheduler.runDue();
    EXPECT_EQ(snapshots->started, 2);
    EXPECT_FALSE(inbox->refreshPending());
}

TEST_F(InboxSync, NoRefreshWhileALocalChangeIsQueued)
{
    deliver(basic());
    inbox->select(*byRecord(QStringLiteral("a")));
    ASSERT_EQ(inbox->changes().size(), 1);
    inbox->refresh();
    EXPECT_EQ(snapshots->started, 1);
    EXPECT_FALSE(inbox->refreshPending()); // not coalesced into a running refresh: it waits for the queue
}

// The service hints at the very change being saved, and new messages may arrive meanwhile: whatever was asked
// for while changes waited runs once, after the last answer.
TEST_F(InboxSync, RefreshesAskedForWhileChangesWaitRunOnceTheQueueHasDrained)
{
    inbox->startSync();
    snapshots->finishNext(basic().bytes());
    ASSERT_TRUE(hints->current.has_value());
    inbox->select(*byRecord(QStringLiteral("a")));
    EXPECT_TRUE(hints->hint()); // handled at once, without a snapshot
    EXPECT_TRUE(hints->hint());
    EXPECT_EQ(snapshots->started, 1);

    scheduler.runDue();
    mutations->finishNext(confirmation(QStringLiteral("a")));
    ASSERT_EQ(snapshots->started, 2) << "one refresh after the confirmation";
    SnapshotJson later = basic();
    later.message({.id = QStringLiteral("c"), .unread = true});
    snapshots->finishNext(later.bytes());
    scheduler.runDue();
    EXPECT_EQ(snapshots->started, 2);
    ASSERT_TRUE(byRecord(QStringLiteral("c")).has_value()) << "the message that arrived meanwhile shows";
    EXPECT_EQ(inbox->messages().size(), 3);

    // A failed change drains the queue just the same.
    inbox->toggleFocus(*byRecord(QStringLiteral("c")));
    inbox->refresh();
    scheduler.runDue();
    mutations->finishNext(Failure::tandrel(2, QStringLiteral("offline")));
    EXPECT_EQ(snapshots->started, 3);
}

TEST_F(InboxSync, ASnapshotDiscardedForALocalChangeIsFetchedAgain)
{
    deliver(basic());
    SnapshotJson later = basic();
    later.message({.id = QStringLiteral("c")});

    // Discarded while the change still waits: fetched again after its answer.
    inbox->refresh();
    inbox->select(*byRecord(QStringLiteral("a")));
    snapshots->finishNext(later.bytes());
    scheduler.runDue();
    EXPECT_FALSE(byRecord(QStringLiteral("c")).has_value());
    EXPECT_EQ(snapshots->started, 2);
    mutations->finishNext(confirmation(QStringLiteral("a")));
    ASSERT_EQ(snapshots->started, 3);
    snapshots->finishNext(later.bytes());
    scheduler.runDue();
    EXPECT_TRUE(byRecord(QStringLiteral("c")).has_value());

    // Discarded after the change was already answered: fetched again at once, exactly once.
    inbox->refresh();
    inbox->toggleFocus(*byRecord(QStringLiteral("c")));
    scheduler.runDue();
    mutations->finishNext(confirmation(QStringLiteral("c")));
    ASSERT_EQ(snapshots->started, 4);
    snapshots->finishNext(Failure::tandrel(2, QStringLiteral("stale failure")));
    EXPECT_FALSE(inbox->connectionError().has_value());
    scheduler.runDue();
    ASSERT_EQ(snapshots->started, 5);
    snapshots->finishNext(later.bytes());
    scheduler.runDue();
    EXPECT_EQ(snapshots->started, 5);
    EXPECT_EQ(inbox->messages().size(), 3);
}

TEST_F(InboxSync, StaleSnapshotsAndFailuresAfterALocalChangeAreDropped)
{
    deliver(basic());
    const Message a = *byRecord(QStringLiteral("a"));

    inbox->refresh(); // starts under the current revision
    inbox->select(a); // a local change bumps the revision
    SnapshotJson changed = basic();
    changed.message({.id = QStringLiteral("c")});
    snapshots->finishNext(changed.bytes());
    EXPECT_EQ(inbox->messages().size(), 2); // not applied
    EXPECT_FALSE(byRecord(QStringLiteral("a"))->unread);

    // Confirm the change so refreshes run again, then race a failure against another change.
    scheduler.runDue();
    mutations->finishNext(confirmation(QStringLiteral("a")));
    EXPECT_TRUE(inbox->changes().isEmpty());
    inbox->refresh();
    inbox->toggleFocus(a);
    snapshots->finishNext(Failure::tandrel(2, QStringLiteral("boom")));
    EXPECT_FALSE(inbox->connectionError().has_value());
    EXPECT_EQ(inbox->messages().size(), 2);
}

TEST_F(InboxSync, AFailedRefreshClearsMessagesButKeepsScopesAndAccount)
{
    deliver(basic());
    const QList<QUuid> before{inbox->messages()[0].id, inbox->messages()[1].id};
    inbox->setSelectedID(before[0]);

    inbox->contentCache().content(QStringLiteral("parsed body"));
    inbox->refresh();
    snapshots->finishNext(Failure::tandrel(1, QStringLiteral("Configure your Tandrel account first.")));
    EXPECT_EQ(inbox->contentCache().count(), 0);
    EXPECT_TRUE(inbox->messages().isEmpty());
    EXPECT_TRUE(inbox->focusOrder().isEmpty());
    EXPECT_TRUE(inbox->focusedIDs().isEmpty());
    EXPECT_FALSE(inbox->selectedID().has_value());
    EXPECT_EQ(inbox->connectionError(), QStringLiteral("Configure your Tandrel account first."));
    EXPECT_EQ(inbox->availableScopes().size(), 2);
    EXPECT_EQ(inbox->accountID(), QStringLiteral("me"));

    deliver(basic());
    EXPECT_FALSE(inbox->connectionError().has_value());
    EXPECT_EQ((QList<QUuid>{inbox->messages()[0].id, inbox->messages()[1].id}), before);
}

TEST_F(InboxSync, UndecodableOutputIsAFailureWithItsDescription)
{
    inbox->refresh();
    snapshots->finishNext(QByteArray("warning: old version\n{}"));
    EXPECT_FALSE(inbox->loading());
    EXPECT_EQ(inbox->connectionError(), QStringLiteral("invalid JSON at byte 0 (unexpected character)"));
}

TEST_F(InboxSync, AnAccountChangeClosesThePanelAndDropsReplyState)
{
    int hoverCalls = 0;
    inbox->setOnHoverStateChange([&] { ++hoverCalls; });
    InboxTestAccess::setReplyDrafts(*inbox, {{QStringLiteral("k"), QStringLiteral("draft")}});
    inbox->open();
    inbox->contentCache().content(QStringLiteral("parsed body"));
    deliver(basic()); // the first snapshot resets nothing
    EXPECT_EQ(inbox->contentCache().count(), 1);
    EXPECT_TRUE(inbox->expanded());
    EXPECT_EQ(inbox->replyDrafts().size(), 1);

    InboxTestAccess::setPendingReplies(*inbox, {{QUuid::createUuid(), QStringLiteral("k"), QStringLiteral("x"), std::nullopt, {}}});
    inbox->setDirectDraft(QStringLiteral("kept"));
    SnapshotJson otherOrigin = basic();
    otherOrigin.account(QStringLiteral("me"), QStringLiteral("https://elsewhere.example"));
    inbox->contentCache().content(QStringLiteral("parsed body"));
    deliver(otherOrigin);
    EXPECT_EQ(inbox->contentCache().count(), 0);
    EXPECT_FALSE(inbox->expanded());
    EXPECT_TRUE(inbox->replyDrafts().isEmpty());
    EXPECT_TRUE(inbox->pendingReplies().isEmpty());
    EXPECT_EQ(inbox->directDraft(), QStringLiteral("kept"));

    inbox->open();
    InboxTestAccess::setReplyDrafts(*inbox, {{QStringLiteral("k"), QStringLiteral("draft")}});
    SnapshotJson otherAccount = basic();
    otherAccount.account(QStringLiteral("someone-else"), QStringLiteral("https://elsewhere.example"));
    deliver(otherAccount);
    EXPECT_FALSE(inbox->expanded());
    EXPECT_TRUE(inbox->replyDrafts().isEmpty());
    EXPECT_GT(hoverCalls, 0);
}

TEST_F(InboxSync, AVanishedScopeSwitchesToPersonalAndResetsTheControls)
{
    deliver(basic());
    inbox->switchScope(InboxScope{QStringLiteral("team")});
    inbox->setQuery(QStringLiteral("x"));
    inbox->setFilter(InboxFilter::unread);
    inbox->setKind(ConversationKind::thread);
    SnapshotJson gone;
    gone.scope(personalScope());
    deliver(gone);
    EXPECT_EQ(inbox->scope(), InboxScope::personal());
    EXPECT_EQ(inbox->filter(), InboxFilter::all);
    EXPECT_TRUE(inbox->query().isEmpty());
    EXPECT_FALSE(inbox->kind().has_value());
}

TEST_F(InboxSync, AnInboxWithoutThePersonalScopeKeepsTheViewOnEverySnapshot)
{
    SnapshotJson teamOnly;
    teamOnly.scope(teamScope()).message({.id = QStringLiteral("a"), .unread = true});
    teamOnly.message({.id = QStringLiteral("b"), .scopeId = QStringLiteral("team")});
    deliver(teamOnly);
    ASSERT_EQ(inbox->scope(), InboxScope::personal());
    inbox->select(*byRecord(QStringLiteral("a")));
    scheduler.runDue();
    mutations->finishNext(confirmation(QStringLiteral("a")));
    inbox->setQuery(QStringLiteral("x"));
    inbox->setFilter(InboxFilter::unread);
    inbox->setLabel(QStringLiteral("Needs response"));
    inbox->setKind(ConversationKind::direct);

    deliver(teamOnly);
    EXPECT_EQ(inbox->scope(), InboxScope::personal());
    EXPECT_EQ(inbox->selectedID(), localID(QStringLiteral("a")));
    EXPECT_EQ(inbox->query(), QStringLiteral("x"));
    EXPECT_EQ(inbox->filter(), InboxFilter::unread);
    EXPECT_EQ(inbox->label(), QStringLiteral("Needs response"));
    EXPECT_EQ(inbox->kind(), ConversationKind::direct);

    // A team scope that vanishes still falls back, even to an unlisted personal inbox.
    inbox->switchScope(InboxScope{QStringLiteral("team")});
    inbox->setQuery(QStringLiteral("y"));
    SnapshotJson otherTeam;
    otherTeam.scope(teamScope(QStringLiteral("other")));
    deliver(otherTeam);
    EXPECT_EQ(inbox->scope(), InboxScope::personal());
    EXPECT_TRUE(inbox->query().isEmpty());
}

TEST_F(InboxSync, SelectionSurvivesOnlyWhileItsMessageDoes)
{
    deliver(basic());
    inbox->setSelectedID(localID(QStringLiteral("a")));
    deliver(basic());
    EXPECT_EQ(inbox->selectedID(), localID(QStringLiteral("a")));
    SnapshotJson without;
    without.scope(personalScope()).message({.id = QStringLiteral("b")});
    deliver(without);
    EXPECT_FALSE(inbox->selectedID().has_value());
}

TEST_F(InboxSync, PendingRepliesGoOnlyWhenTheirThreadShowsThem)
{
    SnapshotJson snapshot;
    snapshot.scope(personalScope()).scope(teamScope());
    snapshot.message({.id = QStringLiteral("root"), .messageId = QStringLiteral("m-root"), .scopeId = QStringLiteral("team"),
                      .conversationId = QStringLiteral("t1"), .kind = QStringLiteral("thread")});
    deliver(snapshot);
    const QString thread = inbox->threadKey(*byRecord(QStringLiteral("root")));
    const PendingReply mine{QUuid::createUuid(), thread, QStringLiteral("hi"), QStringLiteral("m-reply"), {}};
    const PendingReply elsewhere{QUuid::createUuid(), QStringLiteral("team:other:"), QStringLiteral("yo"),
                                 QStringLiteral("m-reply"), {}};
    InboxTestAccess::setPendingReplies(*inbox, {mine, elsewhere});

    snapshot.message({.id = QStringLiteral("reply"), .messageId = QStringLiteral("m-reply"), .scopeId = QStringLiteral("team"),
                      .conversationId = QStringLiteral("t1"), .senderId = QStringLiteral("me"), .kind = QStringLiteral("thread")});
    deliver(snapshot);
    ASSERT_EQ(inbox->pendingReplies().size(), 1);
    EXPECT_EQ(inbox->pendingReplies()[0].id, elsewhere.id);
}

TEST_F(InboxSync, LabelColoursAreKeyedByDisplayName)
{
    SnapshotJson snapshot;
    snapshot.scope({QStringLiteral("team"), QStringLiteral("T"),
                    {{QStringLiteral("needs-response"), QStringLiteral("#ff0000")},
                     {QStringLiteral("launch-plan"), QStringLiteral("not a colour")}}});
    deliver(snapshot);
    const auto colors = inbox->labelColors().value(InboxScope{QStringLiteral("team")});
    EXPECT_EQ(colors.value(QStringLiteral("Needs response")), QStringLiteral("#ff0000"));
    EXPECT_EQ(colors.value(QStringLiteral("Launch Plan")), QStringLiteral("not a colour"));
    EXPECT_EQ(colors.size(), 2);
}

TEST_F(InboxSync, SyncLoopRefreshesPerHintAndBacksOffThirtySecondsAfterAFailure)
{
    snapshots->autoRespond = [](const FakeRunner::Call &) -> Result<QByteArray> { return basic().bytes(); };
    inbox->startSync();
    inbox->startSync(); // only once
    EXPECT_EQ(snapshots->started, 1);
    ASSERT_TRUE(hints->current.has_value());
    EXPECT_EQ(hints->opened, 1);

    EXPECT_TRUE(hints->hint());
    EXPECT_TRUE(hints->hint());
    EXPECT_EQ(snapshots->started, 3);

    // A normal end subscribes again after one refresh.
    hints->end(Success{});
    EXPECT_EQ(snapshots->started, 4);
    EXPECT_EQ(hints->opened, 2);

    // A failure refreshes, waits 30 s, then refreshes and subscribes again.
    hints->end(Failure::url(Failure::cannotParseResponse, QStringLiteral("bad hint")));
    const double failed = scheduler.now();
    EXPECT_EQ(snapshots->started, 5);
    scheduler.advanceTo(failed + 30 - 1e-3);
    EXPECT_EQ(snapshots->started, 5);
    EXPECT_EQ(hints->opened, 2);
    scheduler.advanceTo(failed + 30);
    EXPECT_EQ(snapshots->started, 6);
    EXPECT_EQ(hints->opened, 3);
}

TEST(DemoInbox, StartsWithTheSamplesAndNeverSyncs)
{
    VirtualScheduler scheduler;
    InboxServices services;
    services.scheduler = &scheduler;
    Inbox inbox(false, std::move(services));
    EXPECT_FALSE(inbox.loading());
    EXPECT_EQ(inbox.messages().size(), 8);
    EXPECT_EQ(inbox.availableScopes(), InboxScope::allCases());
    EXPECT_EQ(inbox.scopeName(), QStringLiteral("Personal inbox"));
    inbox.startSync();
    EXPECT_FALSE(inbox.syncing());
}

TEST(InboxDecoding, ALocalChangeDuringDecodingStillDiscardsTheSnapshot)
{
    VirtualScheduler scheduler;
    InboxServices services;
    services.scheduler = &scheduler;
    auto runner = std::make_unique<FakeRunner>();
    FakeRunner *snapshots = runner.get();
    services.connection = std::move(runner);
    services.mutationConnection = std::make_unique<FakeRunner>();
    std::vector<std::function<void()>> decoding; // decodes finish when the test says so
    services.decodeSnapshot = [&](QByteArray bytes, std::function<void(Result<LiveSnapshot>)> done) {
        decoding.push_back([bytes, done] { done(WireDecoder::snapshot(bytes)); });
    };
    Inbox inbox(true, std::move(services));

    SnapshotJson first;
    first.scope(personalScope()).message({.id = QStringLiteral("a"), .unread = true});
    inbox.refresh();
    snapshots->finishNext(first.bytes());
    EXPECT_TRUE(inbox.refreshInFlight());
    ASSERT_EQ(decoding.size(), 1u);
    decoding[0]();
    EXPECT_FALSE(inbox.refreshInFlight());
    ASSERT_EQ(inbox.messages().size(), 1);

    SnapshotJson second = first;
    second.message({.id = QStringLiteral("b")});
    inbox.refresh();
    snapshots->finishNext(second.bytes());
    inbox.select(inbox.messages()[0]); // bumps the revision while the snapshot decodes
    decoding[1]();
    EXPECT_EQ(inbox.messages().size(), 1);
}
