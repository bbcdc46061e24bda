// The demo's own edits of its messages and focus.

#include "inbox/DemoEdits.h"
#include "inbox/DemoSamples.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

QList<Message> teamAndPersonal()
{
    const QList<Message> samples = DemoSamples::instance().samples();
    QList<Message> picked;
    for (const InboxScope &scope : {InboxScope::personal(), InboxScope::demoTeamLaunch()}) {
        const auto it = std::find_if(samples.cbegin(), samples.cend(), [&](const Message &m) { return m.scope == scope; });
        if (it != samples.cend())
            picked.append(*it);
    }
    return picked;
}

TEST(DemoEdits, MarkingReadChangesOnlyTheNamedUnreadMessage)
{
    QList<Message> messages = teamAndPersonal();
    ASSERT_EQ(messages.size(), 2);
    messages[0].unread = messages[1].unread = true;
    EXPECT_TRUE(DemoEdits::markRead(messages, messages[1].id));
    EXPECT_TRUE(messages[0].unread);
    EXPECT_FALSE(messages[1].unread);
    EXPECT_FALSE(DemoEdits::markRead(messages, messages[1].id)); // already read
    EXPECT_FALSE(DemoEdits::markRead(messages, QUuid::createUuid()));
    EXPECT_TRUE(messages[0].unread);
}

TEST(DemoEdits, OnlyATeamMessageTakesALabelAndOnlyOneTheDemoOffers)
{
    QList<Message> messages = teamAndPersonal();
    ASSERT_EQ(messages.size(), 2);
    const QString offered = messages[1].category;
    messages[1].category = QStringLiteral("Other");
    EXPECT_FALSE(DemoEdits::setTeamLabel(messages, QStringLiteral("Not a demo label"), messages[1].id));
    EXPECT_EQ(messages[1].category, QStringLiteral("Other"));
    EXPECT_TRUE(DemoEdits::setTeamLabel(messages, offered, messages[1].id));
    EXPECT_EQ(messages[1].category, offered);
    const QString personal = messages[0].category;
    EXPECT_FALSE(DemoEdits::setTeamLabel(messages, offered, messages[0].id));
    EXPECT_EQ(messages[0].category, personal);
}

TEST(DemoEdits, FocusingPutsTheMessageFirstAndUnfocusingTakesItOut)
{
    const QUuid a = QUuid::createUuid(), b = QUuid::createUuid(), c = QUuid::createUuid();
    EXPECT_EQ(DemoEdits::toggledFocus({a, b}, c, false), (QList<QUuid>{c, a, b}));
    EXPECT_EQ(DemoEdits::toggledFocus({a, b, c}, b, true), (QList<QUuid>{a, c}));
    EXPECT_EQ(DemoEdits::toggledFocus({a, b}, b, false), (QList<QUuid>{b, a})); // never twice
}

} // namespace
