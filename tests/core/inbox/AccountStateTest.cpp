// The account and its inboxes as each snapshot states them.

#include "inbox/AccountState.h"

#include <QSignalSpy>

#include <gtest/gtest.h>

#include <array>

namespace {

SnapshotRecords records(const QString &account, const QString &origin, QList<ScopeRecord> scopes = {})
{
    return {.accountID = account, .origin = origin, .scopes = std::move(scopes), .focusOrder = {}};
}

const InboxScope team{QStringLiteral("team-1")};

TEST(AccountState, AnotherAccountOrOriginSwitchesButTheFirstAccountDoesNot)
{
    AccountState account(true);
    EXPECT_FALSE(account.isSwitchedBy(records(QStringLiteral("me"), QStringLiteral("https://a.example"))));
    account.take(records(QStringLiteral("me"), QStringLiteral("https://a.example")));
    EXPECT_FALSE(account.isSwitchedBy(records(QStringLiteral("me"), QStringLiteral("https://a.example"))));
    EXPECT_TRUE(account.isSwitchedBy(records(QStringLiteral("you"), QStringLiteral("https://a.example"))));
    EXPECT_TRUE(account.isSwitchedBy(records(QStringLiteral("me"), QStringLiteral("https://b.example"))));
}

TEST(AccountState, AFieldNotifiesOnlyWhenASnapshotChangesIt)
{
    AccountState account(true);
    EXPECT_EQ(account.availableScopes(), QList<InboxScope>{InboxScope::personal()});
    QSignalSpy accountID(&account, &AccountState::accountIDChanged);
    QSignalSpy origin(&account, &AccountState::serviceOriginChanged);
    QSignalSpy names(&account, &AccountState::scopeNamesChanged);
    QSignalSpy scopes(&account, &AccountState::availableScopesChanged);
    QSignalSpy colors(&account, &AccountState::labelColorsChanged);
    const ScopeRecord personal{InboxScope::personal(), QStringLiteral("Mine"), {}};
    const ScopeRecord launch{team, QStringLiteral("Launch"), {{QStringLiteral("Bug"), QStringLiteral("red")}}};
    const SnapshotRecords first = records(QStringLiteral("me"), QStringLiteral("https://a.example"), {personal, launch});

    account.take(first);
    EXPECT_EQ(account.scopeNames().value(team), QStringLiteral("Launch"));
    EXPECT_EQ(account.availableScopes(), (QList<InboxScope>{InboxScope::personal(), team}));
    EXPECT_TRUE(account.labelColors().isEmpty()); // they come with the messages they colour
    account.takeLabelColors(first);
    EXPECT_EQ(account.labelColors().value(team).value(QStringLiteral("Bug")), QStringLiteral("red"));
    account.take(first);
    account.takeLabelColors(first);
    EXPECT_EQ((std::array{accountID.size(), origin.size(), names.size(), scopes.size(), colors.size()}),
              (std::array<qsizetype, 5>{1, 1, 1, 1, 1}));

    // A renamed inbox changes its names alone.
    const ScopeRecord renamed{team, QStringLiteral("Crew"), launch.labelColors};
    account.take(records(QStringLiteral("me"), QStringLiteral("https://a.example"), {personal, renamed}));
    EXPECT_EQ((std::array{accountID.size(), origin.size(), names.size(), scopes.size()}),
              (std::array<qsizetype, 4>{1, 1, 2, 1}));
    EXPECT_EQ(account.scopeName(team), QStringLiteral("Crew"));
    EXPECT_EQ(account.scopeName(InboxScope{QStringLiteral("unnamed")}), QStringLiteral("Inbox"));
}

} // namespace
