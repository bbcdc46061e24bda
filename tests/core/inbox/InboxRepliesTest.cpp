#include "InboxTestSupport.h"

namespace {

SnapshotJson conversation(bool withReply = false)
{
    SnapshotJson snapshot;
    snapshot.scope(personalScope()).scope(teamScope());
    snapshot.message({.id = QStringLiteral("root"), .messageId = QStringLiteral("m-root"), .scopeId = QStringLiteral("team"),
                      .conversationId = QStringLiteral("t1"), .kind = QStringLiteral("thread"), .createdAt = 1});
    snapshot.message({.id = QStringLiteral("dm"), .messageId = QStringLiteral("m-dm"), .conversationId = QStringLiteral("p1"),
                      .senderId = QStringLiteral("1234"), .createdAt = 1});
    if (withReply)
        snapshot.message({.id = QStringLiteral("reply"), .messageId = QStringLiteral("s-1"), .scopeId = QStringLiteral("team"),
                          .conversationId = QStringLiteral("t1"), .senderId = QStringLiteral("me"),
                          .body = QStringLiteral("  thanks\n"), .kind = QStringLiteral("thread"), .createdAt = 2});
    return snapshot;
}

QByteArray sent(const QString &status)
{
    return QStringLiteral(R"({"id":"s-1","status":"%1"})").arg(status).toUtf8();
}

} // namespace

class InboxReplies : public LiveInboxFixture
{
protected:
    void SetUp() override
    {
        LiveInboxFixture::SetUp();
        deliver(conversation());
        root = *byRecord(QStringLiteral("root"));
        key = inbox->threadKey(root);
    }
    Message root;
    QString key;
};

TEST_F(InboxReplies, ABlankDraftSendsNothing)
{
    inbox->setReplyDraft(key, QStringLiteral("  \n "));
    inbox->sendReply(root);
    EXPECT_TRUE(replies->calls.empty());
    EXPECT_TRUE(inbox->pendingReplies().isEmpty());
    EXPECT_FALSE(inbox->hasUnsentDrafts());
}

TEST_F(InboxReplies, AReleasedReplyIsPendingUntilTheSnapshotBringsIt)
{
    inbox->setReplyDraft(key, QStringLiteral("  thanks\n"));
    EXPECT_TRUE(inbox->hasUnsentDrafts());
    inbox->sendReply(root);
    ASSERT_EQ(replies->calls.size(), 1u);
    const FakeRunner::Call &call = replies->calls.front();
    EXPECT_EQ(call.command, QStringLiteral("reply"));
    EXPECT_EQ(call.messageID, QStringLiteral("root"));
    EXPECT_EQ(call.body, QStringLiteral("  thanks\n")); // untrimmed
    EXPECT_EQ(call.replyArguments, (QStringList{QStringLiteral("--account-id"), QStringLiteral("me"),
                                                QStringLiteral("--conversation-id"), QStringLiteral("t1"),
                                                QStringLiteral("--reply-to"), QStringLiteral("m-root")}));
    ASSERT_EQ(inbox->pendingReplies().size(), 1);
    const QUuid pendingID = inbox->pendingReplies()[0].id;
    EXPECT_EQ(inbox->pendingReplies()[0].body, QStringLiteral("  thanks\n"));
    EXPECT_EQ(inbox->replyDrafts().value(key), QString());
    EXPECT_TRUE(inbox->hasSendingReplies());
    EXPECT_FALSE(inbox->hasUnsentDrafts());
    const QList<ConversationReply> sending = inbox->replyRows(root, true);
    ASSERT_EQ(sending.size(), 1);
    EXPECT_EQ(sending[0].sender, QStringLiteral("You"));

    replies->finishNext(sent(QStringLiteral("released")));
    EXPECT_FALSE(inbox->hasSendingReplies());
    EXPECT_EQ(inbox->pendingReplies()[0].serverID, QStringLiteral("s-1"));
    EXPECT_EQ(inbox->pendingReplies()[0].status, QString());
    EXPECT_EQ(inbox->replyIdentities().value(QStringLiteral("s-1")), pendingID);

    // The confirmation refreshes once; that snapshot carries the reply.
    scheduler.runDue();
    ASSERT_EQ(snapshots->calls.size(), 1u);
    snapshots->finishNext(conversation(true).bytes());
    EXPECT_TRUE(inbox->pendingReplies().isEmpty());
    const QList<ConversationReply> rows = inbox->replyRows(root, true);
    ASSERT_EQ(rows.size(), 1); // no duplicate
    EXPECT_EQ(rows[0].id, pendingID); // the row keeps its identity
    EXPECT_TRUE(rows[0].message.has_value());
}

TEST_F(InboxReplies, AQuarantinedReplyShowsItsStatus)
{
    inbox->setReplyDraft(key, QStringLiteral("hello"));
    inbox->sendReply(root);
    replies->finishNext(sent(QStringLiteral("quarantined")));
    ASSERT_EQ(inbox->pendingReplies().size(), 1);
    EXPECT_EQ(inbox->pendingReplies()[0].status, QStringLiteral("Sent · awaiting review"));
    EXPECT_EQ(inbox->replyRows(root, true).last().status, QStringLiteral("Sent · awaiting review"));
}

TEST_F(InboxReplies, ARejectionPutsTheTextBackAheadOfWhatWasTypedMeanwhile)
{
    inbox->setReplyDraft(key, QStringLiteral("first"));
    inbox->sendReply(root);
    inbox->setReplyDraft(key, QStringLiteral("second"));
    replies->finishNext(sent(QStringLiteral("held")));
    EXPECT_TRUE(inbox->pendingReplies().isEmpty());
    EXPECT_EQ(inbox->replyDrafts().value(key), QStringLiteral("first\n\nsecond"));
    EXPECT_EQ(inbox->actionError(), QStringLiteral("Could not confirm sending. Check the conversation before trying "
                                                   "again. The service rejected this reply."));
    EXPECT_TRUE(inbox->replyIdentities().isEmpty());
    EXPECT_TRUE(inbox->hasUnsentDrafts());
    EXPECT_FALSE(inbox->hasSendingReplies());
    EXPECT_TRUE(snapshots->calls.empty());
}

TEST_F(InboxReplies, AToolFailureRestoresTheDraft)
{
    inbox->setReplyDraft(key, QStringLiteral("text"));
    inbox->sendReply(root);
    replies->finishNext(Failure::tandrel(2, QStringLiteral("boom")));
    EXPECT_EQ(inbox->replyDrafts().value(key), QStringLiteral("text"));
    EXPECT_EQ(inbox->actionError(),
              QStringLiteral("Could not confirm sending. Check the conversation before trying again. boom"));
    EXPECT_TRUE(inbox->pendingReplies().isEmpty());
}

TEST_F(InboxReplies, AFailureAfterAnAccountChangeNamesTheLostTextInsteadOfRestoringIt)
{
    const QString text = QStringLiteral("  Let's ship the launch plan on Thursday,\nafter the review with the whole team.");
    inbox->setReplyDraft(key, text);
    inbox->sendReply(root);
    SnapshotJson elsewhere = conversation();
    elsewhere.account(QStringLiteral("someone-else"));
    deliver(elsewhere);
    EXPECT_FALSE(inbox->hasSendingReplies()); // dropped with the old account's reply state

    replies->finishNext(Failure::tandrel(2, QStringLiteral("boom")));
    EXPECT_TRUE(inbox->replyDrafts().isEmpty());
    EXPECT_FALSE(inbox->hasUnsentDrafts()) << "nothing the quit guard would ask about but cannot show";
    EXPECT_EQ(inbox->actionError().value_or(QString()).toStdString(),
              QStringLiteral("Could not confirm sending. Check the conversation before trying again. boom The reply "
                             "was not restored because the account changed; it began: “Let's ship the launch plan "
                             "on Thursday, after the review wit…”")
                  .toStdString());

    // Back on the account it was sent from, a failure restores the text as usual.
    inbox->setReplyDraft(key, QStringLiteral("short"));
    inbox->sendReply(root);
    replies->finishNext(sent(QStringLiteral("held")));
    EXPECT_EQ(inbox->replyDrafts().value(key), QStringLiteral("short"));
}

TEST_F(InboxReplies, PersonalRepliesGoToTheSender)
{
    const Message dm = *byRecord(QStringLiteral("dm"));
    inbox->setReplyDraft(inbox->threadKey(dm), QStringLiteral("hi"));
    inbox->sendReply(dm);
    ASSERT_EQ(replies->calls.size(), 1u);
    EXPECT_EQ(replies->calls.front().replyArguments,
              (QStringList{QStringLiteral("--account-id"), QStringLiteral("me"), QStringLiteral("--recipient-id"),
                           QStringLiteral("x:1234")}));
}

TEST(DemoReplies, NothingIsSentForADemoMessage)
{
    VirtualScheduler scheduler;
    InboxServices services;
    services.scheduler = &scheduler;
    Inbox inbox(false, std::move(services));
    const Message direct = inbox.messages()[6];
    inbox.setReplyDraft(inbox.threadKey(direct), QStringLiteral("hello"));
    inbox.sendReply(direct); // no server id: nothing happens
    EXPECT_TRUE(inbox.pendingReplies().isEmpty());

    inbox.addDemoReply(direct.id, QStringLiteral("   "));
    EXPECT_TRUE(inbox.messages()[6].replies.isEmpty());
    inbox.addDemoReply(direct.id, QStringLiteral("  On it.\n"));
    ASSERT_EQ(inbox.messages()[6].replies.size(), 1);
    EXPECT_EQ(inbox.messages()[6].replies[0].body, QStringLiteral("On it."));
    EXPECT_EQ(inbox.messages()[6].replies[0].sender, QStringLiteral("You"));
    inbox.addDemoReply(inbox.messages()[5].id, QStringLiteral("thread")); // the thread takes no local replies
    inbox.addDemoReply(inbox.messages()[0].id, QStringLiteral("personal"));
    EXPECT_EQ(inbox.messages()[5].replies.size(), 1);
    EXPECT_TRUE(inbox.messages()[0].replies.isEmpty());
}
