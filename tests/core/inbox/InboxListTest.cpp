#include "InboxTestSupport.h"

#include <random>

namespace {

Message make(const QString &name, const InboxScope &scope = InboxScope::personal(),
             ConversationKind kind = ConversationKind::inbox)
{
    Message m;
    m.id = QUuid::createUuid();
    m.sender = name;
    m.subject = QStringLiteral("Subject of ") + name;
    m.body = QStringLiteral("body");
    m.scope = scope;
    m.kind = kind;
    m.conversation = QStringLiteral("Shared inbox");
    m.conversationID = QStringLiteral("conv");
    m.released = true;
    m.serverMessageID = QStringLiteral("s-") + name;
    m.remoteID = QStringLiteral("r-") + name;
    return m;
}

QStringList senders(const QList<Message> &messages)
{
    QStringList names;
    for (const Message &m : messages)
        names.append(m.sender);
    return names;
}

const InboxScope team{QStringLiteral("team")};

} // namespace

using InboxList = LiveInboxFixture;

TEST_F(InboxList, FiltersByScopeKindAndRelease)
{
    Message direct = make(QStringLiteral("direct"), team, ConversationKind::direct);
    direct.conversationID = QStringLiteral("d");
    Message teamInbox = make(QStringLiteral("shared"), team);
    Message review = make(QStringLiteral("review"), team);
    review.released = false;
    Message personalDirect = make(QStringLiteral("pd"), InboxScope::personal(), ConversationKind::direct);
    inbox->setMessages({direct, teamInbox, review, personalDirect});

    EXPECT_EQ(senders(inbox->visible()), QStringList{QStringLiteral("pd")}); // direct shows in personal
    inbox->setFilter(InboxFilter::direct);
    EXPECT_TRUE(inbox->visible().isEmpty()); // never in personal

    inbox->switchScope(team);
    EXPECT_EQ(senders(inbox->visible()), QStringList{QStringLiteral("shared")}); // direct hidden under "all"
    inbox->setFilter(InboxFilter::direct);
    EXPECT_EQ(senders(inbox->visible()), QStringList{QStringLiteral("direct")});
    inbox->setFilter(InboxFilter::review);
    EXPECT_EQ(senders(inbox->visible()), QStringList{QStringLiteral("review")});
    EXPECT_EQ(inbox->reviewCount(), 1);

    inbox->setFilter(InboxFilter::all);
    inbox->setKind(ConversationKind::direct);
    EXPECT_TRUE(inbox->visible().isEmpty());
    inbox->switchScope(InboxScope::personal());
    inbox->setKind(ConversationKind::thread); // ignored in the personal inbox
    EXPECT_EQ(inbox->visible().size(), 1);
}

TEST_F(InboxList, LabelAndSearchRules)
{
    Message a = make(QStringLiteral("Ana"));
    a.category = QStringLiteral("Needs response");
    a.subject = QStringLiteral("Résumé ready");
    Message b = make(QStringLiteral("Bo"));
    b.body = QStringLiteral("nothing here");
    b.conversation = QStringLiteral("Personal message");
    inbox->setMessages({a, b});

    inbox->setLabel(QStringLiteral("Needs response"));
    EXPECT_EQ(senders(inbox->visible()), QStringList{QStringLiteral("Ana")});
    inbox->setLabel(QStringLiteral("needs response"));
    EXPECT_TRUE(inbox->visible().isEmpty());
    inbox->setLabel(Inbox::allLabels);

    inbox->setQuery(QStringLiteral("SUMÉ")); // case-insensitive, mid-word
    EXPECT_EQ(senders(inbox->visible()), QStringList{QStringLiteral("Ana")});
    inbox->setQuery(QStringLiteral("resume")); // diacritics are significant
    EXPECT_TRUE(inbox->visible().isEmpty());
    inbox->setQuery(QStringLiteral("PERSONAL")); // the conversation title counts
    EXPECT_EQ(senders(inbox->visible()), QStringList{QStringLiteral("Bo")});
    inbox->setQuery(QStringLiteral(" ")); // not trimmed: a space matches any field with a space
    EXPECT_EQ(inbox->visible().size(), 2);
}

TEST_F(InboxList, FocusedMessagesLeadInFocusOrder)
{
    const Message a = make(QStringLiteral("a")), b = make(QStringLiteral("b")), c = make(QStringLiteral("c"));
    Message ac = a, bc = b, cc = c;
    ac.conversationID = QStringLiteral("1");
    bc.conversationID = QStringLiteral("2");
    cc.conversationID = QStringLiteral("3");
    inbox->setMessages({ac, bc, cc});
    // Focus c, then b: b leads, ahead of the unfocused a.
    inbox->toggleFocus(cc); // live: queued and projected at once
    inbox->toggleFocus(bc);
    EXPECT_EQ(senders(inbox->visible()), (QStringList{QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")}));
    inbox->setFilter(InboxFilter::focused);
    EXPECT_EQ(senders(inbox->visible()), (QStringList{QStringLiteral("b"), QStringLiteral("c")}));
}

TEST_F(InboxList, ATeamConversationIsOneRowShowingItsOldestMember)
{
    Message m1 = make(QStringLiteral("m1"), team, ConversationKind::thread);
    Message m2 = make(QStringLiteral("m2"), team, ConversationKind::thread);
    Message m3 = make(QStringLiteral("m3"), team, ConversationKind::thread);
    m1.sentAt = 30;
    m2.sentAt = 10;
    m3.sentAt = 10;
    inbox->setMessages({m1, m2, m3});
    inbox->switchScope(team);
    const QList<Message> rows = inbox->visible();
    ASSERT_EQ(rows.size(), 1);
    const QString first = Message::canonical(m2.id) < Message::canonical(m3.id) ? QStringLiteral("m2") : QStringLiteral("m3");
    EXPECT_EQ(rows[0].sender, first); // equal times fall back to the id text
    EXPECT_EQ(inbox->threadKey(m1), QStringLiteral("team:conv:"));
    EXPECT_EQ(inbox->members(m1).size(), 3);
}

TEST_F(InboxList, PersonalRepliesFollowTheirChain)
{
    Message root = make(QStringLiteral("root"));
    root.sentAt = 1;
    Message reply = make(QStringLiteral("reply"));
    reply.sentAt = 2;
    reply.replyTo = QStringLiteral("s-root");
    Message second = make(QStringLiteral("second"));
    second.replyTo = QStringLiteral("s-reply");
    second.sentAt = 3;
    Message orphanA = make(QStringLiteral("orphanA"));
    orphanA.replyTo = QStringLiteral("s-missing");
    Message orphanB = make(QStringLiteral("orphanB"));
    orphanB.replyTo = QStringLiteral("s-missing");
    orphanB.sentAt = -1;
    Message cycleA = make(QStringLiteral("cycleA"));
    cycleA.replyTo = QStringLiteral("s-cycleB");
    Message cycleB = make(QStringLiteral("cycleB"));
    cycleB.replyTo = QStringLiteral("s-cycleA");
    Message intoCycle = make(QStringLiteral("intoCycle"));
    intoCycle.replyTo = QStringLiteral("s-cycleA");
    Message otherConversation = make(QStringLiteral("elsewhere"));
    otherConversation.conversationID = QStringLiteral("other");
    otherConversation.replyTo = QStringLiteral("s-root");
    inbox->setMessages({second, root, reply, orphanA, orphanB, cycleA, cycleB, intoCycle, otherConversation});

    EXPECT_EQ(inbox->threadKey(second), QStringLiteral("personal:conv:s-root"));
    EXPECT_EQ(inbox->threadKey(orphanA), QStringLiteral("personal:conv:s-missing"));
    EXPECT_EQ(inbox->threadKey(orphanA), inbox->threadKey(orphanB));
    // A walk ends at the first message whose parent it has passed already.
    EXPECT_EQ(inbox->threadKey(cycleA), QStringLiteral("personal:conv:s-cycleA"));
    EXPECT_EQ(inbox->threadKey(cycleB), QStringLiteral("personal:conv:s-cycleB"));
    EXPECT_EQ(inbox->threadKey(intoCycle), QStringLiteral("personal:conv:s-cycleB"));
    EXPECT_EQ(inbox->threadKey(otherConversation), QStringLiteral("personal:other:s-root"));

    // One row per thread, placed where the thread first occurs, showing its oldest member.
    const QStringList rows = senders(inbox->visible());
    ASSERT_EQ(rows.size(), 5) << rows.join(u',').toStdString();
    EXPECT_EQ(rows[0], QStringLiteral("root"));
    EXPECT_EQ(rows[1], QStringLiteral("orphanB"));
    EXPECT_EQ(rows[4], QStringLiteral("elsewhere"));
    EXPECT_EQ(inbox->members(second).size(), 3);
}

// Server ids repeat across conversations, and a long list crowds the id table: every chain still finds its
// parent in its own conversation.
TEST_F(InboxList, ReplyChainsResolveWithinTheirConversationInALongList)
{
    constexpr int count = 1500;
    QList<Message> messages;
    // Conversation "pairs" first, so each id's first holder is the wrong one for conversation "chain".
    for (int i = 0; i < count; ++i) {
        Message m = make(QStringLiteral("p%1").arg(i));
        m.conversationID = QStringLiteral("pairs");
        m.serverMessageID = QStringLiteral("s-%1").arg(i);
        if (i % 2)
            m.replyTo = QStringLiteral("s-%1").arg(i - 1);
        messages.append(m);
    }
    for (int i = 0; i < count; ++i) {
        Message m = make(QStringLiteral("c%1").arg(i));
        m.conversationID = QStringLiteral("chain");
        m.serverMessageID = QStringLiteral("s-%1").arg(i);
        if (i > 0)
            m.replyTo = QStringLiteral("s-%1").arg(i - 1);
        messages.append(m);
    }
    inbox->setMessages(messages);

    for (int i = 0; i < count; ++i) {
        ASSERT_EQ(inbox->threadKey(messages[i]), QStringLiteral("personal:pairs:s-%1").arg(i - i % 2)) << i;
        ASSERT_EQ(inbox->threadKey(messages[count + i]), QStringLiteral("personal:chain:s-0")) << i;
    }
    EXPECT_EQ(inbox->visible().size(), count / 2 + 1);
    EXPECT_EQ(inbox->members(messages[count + 7]).size(), count);
}

// Random reply graphs (ids shared across conversations, missing parents, cycles, self replies): a list
// message's thread key is what the plain walk gives for a message from outside the list.
TEST_F(InboxList, ThreadKeysOfListMessagesMatchThePlainWalk)
{
    std::mt19937 random(7);
    for (int round = 0; round < 20; ++round) {
        QList<Message> messages;
        for (int i = 0; i < 300; ++i) {
            Message m = make(QStringLiteral("m%1").arg(i));
            m.conversationID = QStringLiteral("conv-%1").arg(random() % 3);
            m.serverMessageID = QStringLiteral("s-%1").arg(random() % 120);
            if (random() % 5)
                m.replyTo = QStringLiteral("s-%1").arg(random() % 140); // some point past every id
            messages.append(m);
        }
        inbox->setMessages(messages);
        for (const Message &m : std::as_const(messages)) {
            Message outsider = m;
            outsider.id = QUuid::createUuid();
            ASSERT_EQ(inbox->threadKey(m), inbox->threadKey(outsider)) << round << ' ' << m.sender.toStdString();
        }
    }
}

TEST_F(InboxList, DemoInboxTreatsEveryMessageAsItsOwnThread)
{
    makeInbox(false);
    const Message any = inbox->messages()[0];
    EXPECT_EQ(inbox->threadKey(any), Message::canonical(any.id));
    EXPECT_EQ(inbox->members(any).size(), 1);
}

TEST_F(InboxList, ReplyRowsKeepThePendingIdentityWhenTheServerCopyArrives)
{
    Message root = make(QStringLiteral("root"), team, ConversationKind::thread);
    Message mine = make(QStringLiteral("mine"), team, ConversationKind::thread);
    mine.senderAccountID = QStringLiteral("me");
    mine.sentAt = 5;
    deliver(SnapshotJson()); // sets the account id "me"
    inbox->setMessages({root, mine});
    const QUuid pendingID = QUuid::createUuid();
    const QString key = inbox->threadKey(root);
    InboxTestAccess::setPendingReplies(*inbox, {{pendingID, key, QStringLiteral("sent"), QStringLiteral("s-mine"), {}},
                                                {QUuid::createUuid(), key, QStringLiteral("sending"), std::nullopt, {}}});
    const QList<ConversationReply> before = inbox->replyRows(root, true);
    ASSERT_EQ(before.size(), 2); // "mine" row (not a pending duplicate) + the still-sending one
    EXPECT_EQ(before[0].sender, QStringLiteral("You"));
    EXPECT_TRUE(before[0].message.has_value());
    EXPECT_EQ(before[1].body, QStringLiteral("sending"));
    EXPECT_FALSE(before[1].message.has_value());
}

TEST_F(InboxList, CountersAndScopeOrder)
{
    Message p = make(QStringLiteral("p"));
    p.unread = true;
    QList<Message> list{p};
    for (int i = 0; i < 3; ++i) {
        Message t = make(QStringLiteral("t%1").arg(i), team, ConversationKind::direct);
        t.unread = true;
        list.append(t);
    }
    Message hidden = make(QStringLiteral("h"), team);
    hidden.unread = true;
    hidden.released = false;
    list.append(hidden);
    SnapshotJson snapshot;
    snapshot.scope({QStringLiteral("personal"), QStringLiteral("A personal"), {}})
        .scope({QStringLiteral("team"), QStringLiteral("Z team"), {}})
        .scope({QStringLiteral("quiet"), QStringLiteral("B quiet"), {}})
        .scope({QStringLiteral("nameless"), QString(), {}});
    deliver(snapshot);
    inbox->setMessages(list);

    EXPECT_EQ(inbox->totalUnreadCount(), 4);
    EXPECT_EQ(inbox->unreadCount(), 1);
    EXPECT_EQ(inbox->unreadCount(team), 3);
    inbox->switchScope(team);
    EXPECT_EQ(inbox->directUnreadCount(), 3);
    EXPECT_EQ(inbox->reviewCount(), 1);
    const QList<InboxScope> order = inbox->sortedScopes();
    EXPECT_EQ(order, (QList<InboxScope>{team, InboxScope::personal(), InboxScope{QStringLiteral("nameless")},
                                        InboxScope{QStringLiteral("quiet")}}));
    inbox->switchScope(InboxScope{QStringLiteral("unknown")});
    EXPECT_EQ(inbox->scopeName(), QStringLiteral("Inbox"));
}

TEST_F(InboxList, SwitchScopeResetsTheControlsEvenForTheSameScope)
{
    inbox->setQuery(QStringLiteral("q"));
    inbox->setLabel(QStringLiteral("L"));
    inbox->setFilter(InboxFilter::unread);
    inbox->setSelectedID(QUuid::createUuid());
    inbox->switchScope(InboxScope::personal());
    EXPECT_TRUE(inbox->query().isEmpty());
    EXPECT_EQ(inbox->label(), Inbox::allLabels);
    EXPECT_EQ(inbox->filter(), InboxFilter::all);
    EXPECT_FALSE(inbox->selectedID().has_value());
}
