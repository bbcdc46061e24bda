#include "AccountState.h"

#include "FieldAssign.h"

#include <QCoreApplication>

AccountState::AccountState(bool live, QObject *parent)
    : QObject(parent),
      m_scopeNames{{InboxScope::personal(), QStringLiteral("Personal inbox")},
                   {InboxScope::demoTeamLaunch(), QStringLiteral("Launch crew")}},
      m_availableScopes(live ? QList<InboxScope>{InboxScope::personal()} : InboxScope::allCases())
{
}

bool AccountState::isSwitchedBy(const SnapshotRecords &records) const
{
    return m_accountID && (*m_accountID != records.accountID || m_serviceOrigin != records.origin);
}

void AccountState::take(const SnapshotRecords &records)
{
    if (assignChanged(m_accountID, records.accountID))
        Q_EMIT accountIDChanged();
    if (assignChanged(m_serviceOrigin, records.origin))
        Q_EMIT serviceOriginChanged();
    QHash<InboxScope, QString> names;
    QList<InboxScope> scopes;
    scopes.reserve(records.scopes.size());
    for (const ScopeRecord &scope : records.scopes) {
        names.insert(scope.id, scope.name);
        scopes.append(scope.id);
    }
    if (assignChanged(m_scopeNames, std::move(names)))
        Q_EMIT scopeNamesChanged();
    if (assignChanged(m_availableScopes, std::move(scopes)))
        Q_EMIT availableScopesChanged();
}

void AccountState::takeLabelColors(const SnapshotRecords &records)
{
    QHash<InboxScope, QHash<QString, QString>> colors;
    for (const ScopeRecord &scope : records.scopes)
        colors.insert(scope.id, scope.labelColors);
    if (assignChanged(m_labelColors, std::move(colors)))
        Q_EMIT labelColorsChanged();
}

QString AccountState::scopeName(const InboxScope &scope) const
{
    const auto it = m_scopeNames.constFind(scope);
    return it == m_scopeNames.constEnd() ? QCoreApplication::translate("Inbox", "Inbox") : *it;
}
