#include "records/ConversationKind.h"
#include "records/InboxScope.h"
#include "records/Message.h"

#include <gtest/gtest.h>

TEST(MessageModel, KindsAndScopesUseTheirExactRawValues)
{
    EXPECT_FALSE(ConversationKinds::fromRawValue(QStringLiteral("thread")).has_value());
    EXPECT_EQ(ConversationKinds::fromRawValue(QStringLiteral("Shared inbox")), ConversationKind::inbox);
    EXPECT_EQ(ConversationKinds::fromRawValue(QStringLiteral("Thread")), ConversationKind::thread);
    EXPECT_EQ(ConversationKinds::allCases[0], ConversationKind::inbox);
    EXPECT_EQ(ConversationKinds::allCases[2], ConversationKind::direct);

    const InboxScope upper{QStringLiteral("Personal")};
    EXPECT_FALSE(upper.isPersonal());
    EXPECT_NE(upper, InboxScope::personal());
    EXPECT_EQ(InboxScope::allCases(), (QList<InboxScope>{InboxScope::personal(), InboxScope{QStringLiteral("demo-team-launch")}}));
}

TEST(MessageModel, CanonicalUuidTextIsUpperCaseWithHyphens)
{
    const QUuid id(QStringLiteral("{0f8fad5b-d9cb-469f-a165-70867728950e}"));
    EXPECT_EQ(Message::canonical(id), QStringLiteral("0F8FAD5B-D9CB-469F-A165-70867728950E"));
}
