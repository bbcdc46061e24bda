#include "FakeRunner.h"
#include "inbox/Replies.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <vector>

namespace {

Message teamMessage()
{
    Message message;
    message.id = QUuid::createUuid();
    message.scope = InboxScope{QStringLiteral("team")};
    message.kind = ConversationKind::thread;
    message.conversationID = QStringLiteral("conv");
    message.senderAccountID = QStringLiteral("other");
    message.sender = QStringLiteral("Nora");
    message.remoteID = QStringLiteral("rec");
    message.serverMessageID = QStringLiteral("m1");
    return message;
}

QByteArray sendResult(const QString &status, const QString &id = QStringLiteral("s1"))
{
    return QStringLiteral(R"({"id":"%1","status":"%2"})").arg(id, status).toUtf8();
}

class RepliesTest : public ::testing::Test
{
protected:
    RepliesTest()
        : replies(&runner, {.accountID = [this] { return account; },
                            .origin = [this] { return origin; },
                            .actionError = [this](std::optional<QString> error) { errors.push_back(error); },
                            .sent = [this] { ++sent; }})
    {
    }

    FakeRunner runner;
    std::optional<QString> account = QStringLiteral("me");
    std::optional<QString> origin = QStringLiteral("https://tandrel.example");
    std::vector<std::optional<QString>> errors;
    int sent = 0;
    Replies replies;
};

} // namespace

TEST_F(RepliesTest, SendsTheDraftAsAPendingReplyAndConfirmsIt)
{
    const Message message = teamMessage();
    replies.setDraft(QStringLiteral("k"), QStringLiteral("On my way"));
    replies.send(message, QStringLiteral("k"));
    ASSERT_EQ(runner.calls.size(), 1u);
    EXPECT_EQ(runner.calls.front().command, QStringLiteral("reply"));
    EXPECT_EQ(runner.calls.front().messageID, QStringLiteral("rec"));
    EXPECT_EQ(runner.calls.front().body, QStringLiteral("On my way"));
    ASSERT_EQ(replies.pending().size(), 1);
    EXPECT_EQ(replies.pending()[0].body, QStringLiteral("On my way"));
    EXPECT_TRUE(replies.drafts().value(QStringLiteral("k")).isEmpty());
    EXPECT_TRUE(replies.hasSendingReplies());

    runner.finishNext(sendResult(QStringLiteral("quarantined")));
    EXPECT_FALSE(replies.hasSendingReplies());
    EXPECT_EQ(replies.pending()[0].serverID, QStringLiteral("s1"));
    EXPECT_EQ(replies.pending()[0].status, QStringLiteral("Sent · awaiting review"));
    EXPECT_EQ(replies.identities().value(QStringLiteral("s1")), replies.pending()[0].id);
    EXPECT_EQ(sent, 1);
}

TEST_F(RepliesTest, SendsNothingWithoutARecordADraftOrAnAccount)
{
    Message local = teamMessage();
    local.remoteID.reset();
    replies.setDraft(QStringLiteral("k"), QStringLiteral("text"));
    replies.send(local, QStringLiteral("k"));
    replies.setDraft(QStringLiteral("blank"), QStringLiteral("  \n"));
    replies.send(teamMessage(), QStringLiteral("blank"));
    account.reset();
    replies.send(teamMessage(), QStringLiteral("k"));
    EXPECT_EQ(runner.started, 0);
    EXPECT_TRUE(replies.pending().isEmpty());
}

TEST_F(RepliesTest, AFailedReplyPutsItsTextBackBeforeWhatWasTypedSince)
{
    replies.setDraft(QStringLiteral("k"), QStringLiteral("first"));
    replies.send(teamMessage(), QStringLiteral("k"));
    replies.setDraft(QStringLiteral("k"), QStringLiteral("second"));
    runner.finishNext(sendResult(QStringLiteral("rejected")));
    EXPECT_TRUE(replies.pending().isEmpty());
    EXPECT_EQ(replies.drafts().value(QStringLiteral("k")), QStringLiteral("first\n\nsecond"));
    ASSERT_FALSE(errors.empty());
    EXPECT_EQ(errors.back(), QStringLiteral("Could not confirm sending. Check the conversation before trying again. "
                                            "The service rejected this reply."));
    EXPECT_EQ(sent, 0);
}

TEST_F(RepliesTest, AReplyFailingAfterTheAccountChangedIsNamedNotRestored)
{
    replies.setDraft(QStringLiteral("k"), QStringLiteral("Short note"));
    replies.send(teamMessage(), QStringLiteral("k"));
    account = QStringLiteral("another");
    runner.finishNext(Failure::tandrel(1, QStringLiteral("gone")));
    EXPECT_TRUE(replies.drafts().value(QStringLiteral("k")).isEmpty());
    ASSERT_TRUE(errors.back());
    EXPECT_TRUE(errors.back()->endsWith(QStringLiteral("it began: “Short note”")));
}

TEST_F(RepliesTest, DropsPendingRepliesThatTheListShowsInTheSameThread)
{
    replies.setDraft(QStringLiteral("k"), QStringLiteral("a"));
    replies.send(teamMessage(), QStringLiteral("k"));
    runner.finishNext(sendResult(QStringLiteral("released"), QStringLiteral("s1")));
    Message shown = teamMessage();
    shown.serverMessageID = QStringLiteral("s1");
    replies.dropShown({shown}, [](const Message &) { return QStringLiteral("elsewhere"); });
    EXPECT_EQ(replies.pending().size(), 1);
    replies.dropShown({shown}, [](const Message &) { return QStringLiteral("k"); });
    EXPECT_TRUE(replies.pending().isEmpty());
}

TEST_F(RepliesTest, RowsShowMembersThenPendingRepliesNotYetShown)
{
    const Message root = teamMessage();
    Message mine = teamMessage();
    mine.senderAccountID = QStringLiteral("me");
    mine.serverMessageID = QStringLiteral("s1");
    replies.setDraft(QStringLiteral("k"), QStringLiteral("pending text"));
    replies.send(root, QStringLiteral("k"));
    const QUuid pendingID = replies.pending()[0].id;
    runner.finishNext(sendResult(QStringLiteral("released"), QStringLiteral("s1")));

    QList<ConversationReply> rows = replies.rows(QStringLiteral("k"), {root, mine}, root.id);
    ASSERT_EQ(rows.size(), 1); // the root left out; the pending reply is shown by `mine`
    EXPECT_EQ(rows[0].sender, QStringLiteral("You"));
    EXPECT_EQ(rows[0].id, pendingID); // keeps the id it had while pending

    rows = replies.rows(QStringLiteral("k"), {root}, std::nullopt);
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].sender, QStringLiteral("Nora"));
    EXPECT_FALSE(rows[1].message);
    EXPECT_EQ(rows[1].body, QStringLiteral("pending text"));
}

TEST_F(RepliesTest, ForgettingTheAccountClearsDraftsPendingAndStatus)
{
    replies.setDraft(QStringLiteral("k"), QStringLiteral("x"));
    replies.setDirectDraft(QStringLiteral("direct"));
    replies.setStatus(QStringLiteral("status"));
    EXPECT_TRUE(replies.hasUnsentDrafts());
    QSignalSpy pending(&replies, &Replies::pendingChanged);
    replies.forgetAccount();
    EXPECT_TRUE(replies.drafts().isEmpty());
    EXPECT_FALSE(replies.status());
    EXPECT_EQ(pending.count(), 1);
    // The direct draft is not the account's.
    EXPECT_EQ(replies.directDraft(), QStringLiteral("direct"));
}

TEST_F(RepliesTest, ALocalReplyGoesOnlyToAReleasedDirectDemoTeamConversation)
{
    Message direct;
    direct.id = QUuid::createUuid();
    direct.scope = InboxScope::demoTeamLaunch();
    direct.kind = ConversationKind::direct;
    Message thread = direct;
    thread.id = QUuid::createUuid();
    thread.kind = ConversationKind::thread;
    QList<Message> messages{direct, thread};

    EXPECT_FALSE(Replies::addLocalReply(messages, thread.id, QStringLiteral("hi")));
    EXPECT_FALSE(Replies::addLocalReply(messages, direct.id, QStringLiteral("   ")));
    ASSERT_TRUE(Replies::addLocalReply(messages, direct.id, QStringLiteral("  hi  ")));
    ASSERT_EQ(messages[0].replies.size(), 1);
    EXPECT_EQ(messages[0].replies[0].sender, QStringLiteral("You"));
    EXPECT_EQ(messages[0].replies[0].body, QStringLiteral("hi"));
}
