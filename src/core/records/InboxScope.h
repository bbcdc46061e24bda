#pragma once

#include <QHash>
#include <QList>
#include <QString>

// Identifier of one inbox: "personal" is the user's personal inbox, any other value a team inbox.
struct InboxScope
{
    QString rawValue;

    static InboxScope personal() { return {QStringLiteral("personal")}; }
    static InboxScope demoTeamLaunch() { return {QStringLiteral("demo-team-launch")}; }
    // The fixed list of all scopes: the demo inbox's initial scopes.
    static QList<InboxScope> allCases() { return {personal(), demoTeamLaunch()}; }

    bool isPersonal() const { return rawValue == QLatin1String("personal"); }

    friend bool operator==(const InboxScope &, const InboxScope &) = default;
    friend size_t qHash(const InboxScope &scope, size_t seed = 0) { return qHash(scope.rawValue, seed); }
};
