#include "inbox/QueryMatcher.h"
#include "inbox/VisibleRows.h"
#include "records/ThreadIndex.h"

#include "SampleMessage.h"

#include <gtest/gtest.h>

namespace {

QStringList subjects(const QList<Message> &rows)
{
    QStringList result;
    for (const Message &row : rows)
        result.append(row.subject);
    return result;
}

VisibleRows::Criteria criteria(const InboxScope &scope = InboxScope::personal())
{
    VisibleRows::Criteria result;
    result.scope = scope;
    result.label = QStringLiteral("All labels");
    return result;
}

} // namespace

TEST(VisibleRows, ShowsTheScopesAdmittedMessagesWithFocusedOnesFirstInFocusOrder)
{
    const InboxScope team{QStringLiteral("team")};
    const QList<Message> messages{sampleMessage(QStringLiteral("a")), sampleMessage(QStringLiteral("b")),
                                  sampleMessage(QStringLiteral("t"), team), sampleMessage(QStringLiteral("c"))};
    ThreadIndex threads(messages, false);
    VisibleRows::Criteria shown = criteria();
    EXPECT_EQ(subjects(VisibleRows::rows(messages, threads, shown)),
              (QStringList{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")}));

    shown.focusOrder = {messages[3].id, messages[1].id};
    shown.focused = {messages[3].id, messages[1].id};
    EXPECT_EQ(subjects(VisibleRows::rows(messages, threads, shown)),
              (QStringList{QStringLiteral("c"), QStringLiteral("b"), QStringLiteral("a")}));
}

TEST(VisibleRows, FiltersByFilterLabelKindAndSearch)
{
    const InboxScope team{QStringLiteral("team")};
    Message direct = sampleMessage(QStringLiteral("direct"), team);
    direct.kind = ConversationKind::direct;
    Message review = sampleMessage(QStringLiteral("review"), team);
    review.released = false;
    Message labelled = sampleMessage(QStringLiteral("labelled"), team);
    labelled.category = QStringLiteral("Design");
    labelled.kind = ConversationKind::thread;
    Message unread = sampleMessage(QStringLiteral("unread"), team);
    unread.unread = true;
    unread.body = QStringLiteral("Über alles");

    VisibleRows::Criteria shown = criteria(team);
    const auto admits = [&](const Message &candidate) {
        std::optional<QueryMatcher> matcher;
        if (!shown.query.isEmpty())
            matcher.emplace(shown.query);
        return VisibleRows::admitted(candidate, shown, matcher ? &*matcher : nullptr);
    };
    // All: released, and a team inbox keeps its direct messages for their own filter.
    EXPECT_FALSE(admits(direct));
    EXPECT_FALSE(admits(review));
    EXPECT_TRUE(admits(labelled));
    shown.filter = InboxFilter::direct;
    EXPECT_TRUE(admits(direct));
    EXPECT_FALSE(admits(labelled));
    shown.filter = InboxFilter::review;
    EXPECT_TRUE(admits(review));
    shown.filter = InboxFilter::unread;
    EXPECT_TRUE(admits(unread));
    EXPECT_FALSE(admits(labelled));
    shown.filter = InboxFilter::focused;
    EXPECT_FALSE(admits(labelled));
    shown.focused = {labelled.id};
    EXPECT_TRUE(admits(labelled));

    shown.filter = InboxFilter::all;
    shown.label = QStringLiteral("Design");
    EXPECT_TRUE(admits(labelled));
    EXPECT_FALSE(admits(unread));
    shown.label = QStringLiteral("All labels");
    shown.kind = ConversationKind::inbox;
    EXPECT_FALSE(admits(labelled));
    EXPECT_TRUE(admits(unread));
    shown.kind.reset();
    shown.query = QStringLiteral("über");
    EXPECT_TRUE(admits(unread));
    EXPECT_FALSE(admits(labelled));
}

TEST(VisibleRows, ALiveInboxShowsOneRowPerThreadWithItsOldestReleasedMember)
{
    const InboxScope team{QStringLiteral("team")};
    Message newer = sampleMessage(QStringLiteral("newer"), team);
    newer.kind = ConversationKind::thread;
    newer.conversationID = QStringLiteral("conv");
    newer.sentAt = 2;
    Message older = newer;
    older.id = QUuid::createUuid();
    older.subject = QStringLiteral("older");
    older.sentAt = 1;
    Message other = sampleMessage(QStringLiteral("other"), team);
    other.kind = ConversationKind::thread;
    const QList<Message> messages{newer, other, older};
    ThreadIndex threads(messages, true);
    VisibleRows::Criteria shown = criteria(team);
    shown.live = true;
    EXPECT_EQ(subjects(VisibleRows::rows(messages, threads, shown)),
              (QStringList{QStringLiteral("older"), QStringLiteral("other")}));
}
