#include "inbox/MessageList.h"

#include "SampleMessage.h"

#include <gtest/gtest.h>

#include <memory>

TEST(MessageList, KeepsItsThreadIndexForTheVerySameListAndTakesOneBuiltForANewList)
{
    MessageList list(true);
    const QList<Message> messages{sampleMessage(QStringLiteral("a"), InboxScope::personal(), true)};
    list.set(messages);
    ThreadIndex *index = &list.threads();
    EXPECT_EQ(list.totalUnreadCount(), 1);
    list.set(messages); // shared data: nothing changed
    EXPECT_EQ(&list.threads(), index);

    QList<Message> next = messages;
    next.append(sampleMessage(QStringLiteral("b")));
    auto built = std::make_unique<ThreadIndex>(next, true);
    ThreadIndex *handed = built.get();
    list.set(next, std::move(built));
    EXPECT_EQ(&list.threads(), handed);

    // An index built for another list is not taken.
    list.set(messages, std::make_unique<ThreadIndex>(next, true));
    EXPECT_EQ(list.threads().messages().constData(), list.messages().constData());
}

TEST(MessageList, CountsAndSortsScopesByUnreadThenName)
{
    const InboxScope alpha{QStringLiteral("alpha")};
    const InboxScope beta{QStringLiteral("beta")};
    MessageList list(false);
    list.set({sampleMessage(QStringLiteral("1"), beta, true), sampleMessage(QStringLiteral("2"), alpha),
              sampleMessage(QStringLiteral("3"), InboxScope::personal(), true),
              sampleMessage(QStringLiteral("4"), InboxScope::personal(), true)});
    EXPECT_EQ(list.unreadCount(InboxScope::personal()), 2);
    EXPECT_EQ(list.unreadCount(alpha), 0);
    EXPECT_EQ(list.totalUnreadCount(), 3);
    const QHash<InboxScope, QString> names{{alpha, QStringLiteral("Zeta crew")}, {beta, QStringLiteral("Beta")},
                                           {InboxScope::personal(), QStringLiteral("Personal")}};
    EXPECT_EQ(list.sortedScopes({alpha, beta, InboxScope::personal()}, names),
              (QList<InboxScope>{InboxScope::personal(), beta, alpha}));
    EXPECT_EQ(list.scoped(alpha).size(), 1);
}

TEST(MessageList, ACardFocusesItsFirstFocusedMemberElseItsNewest)
{
    const InboxScope team{QStringLiteral("team")};
    Message older = sampleMessage(QStringLiteral("older"), team);
    older.kind = ConversationKind::thread;
    older.conversationID = QStringLiteral("c");
    older.sentAt = 1;
    Message newer = older;
    newer.id = QUuid::createUuid();
    newer.sentAt = 2;
    MessageList list(true);
    list.set({older, newer});
    EXPECT_EQ(list.cardFocusTarget(older, {}).id, newer.id);
    EXPECT_EQ(list.cardFocusTarget(newer, {QUuid::createUuid(), older.id}).id, older.id);
    EXPECT_FALSE(list.cardIsFocused(newer, {}));
    EXPECT_TRUE(list.cardIsFocused(newer, {older.id}));
}

TEST(MessageList, LabelsAreSortedAndEachShownOnce)
{
    Message a = sampleMessage(QStringLiteral("a"));
    a.category = QStringLiteral("Updates");
    Message b = sampleMessage(QStringLiteral("b"));
    b.category = QStringLiteral("Design");
    Message extra = sampleMessage(QStringLiteral("x"));
    extra.category = QStringLiteral("Updates");
    MessageList list(false);
    list.set({a, b, sampleMessage(QStringLiteral("none"))});
    EXPECT_EQ(list.labels(InboxScope::personal(), {extra}),
              (QStringList{QStringLiteral("Design"), QStringLiteral("Updates")}));
    EXPECT_TRUE(list.labels(InboxScope{QStringLiteral("other")}).isEmpty());
}
