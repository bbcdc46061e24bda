#pragma once

#include "records/InboxScope.h"
#include "records/SnapshotRecords.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>

#include <optional>

// What the service says of the account shown: whose it is, where its workspace is, its inboxes with their
// names, and the colours of their labels. Each snapshot sets it; a field notifies only when that changes it.
class AccountState : public QObject
{
    Q_OBJECT
public:
    // A live inbox knows only the personal inbox until its first snapshot; the demo knows all of its own.
    explicit AccountState(bool live, QObject *parent = nullptr);

    const std::optional<QString> &accountID() const { return m_accountID; }
    const std::optional<QString> &serviceOrigin() const { return m_serviceOrigin; }
    const QHash<InboxScope, QString> &scopeNames() const { return m_scopeNames; }
    const QList<InboxScope> &availableScopes() const { return m_availableScopes; }
    // By inbox, then by label display name.
    const QHash<InboxScope, QHash<QString, QString>> &labelColors() const { return m_labelColors; }

    // Whether `records` speak for another account, or the same account at another origin, than the one
    // shown: what was kept for the account shown goes.
    bool isSwitchedBy(const SnapshotRecords &records) const;
    // Takes the account, its origin and its inboxes from `records`.
    void take(const SnapshotRecords &records);
    // Takes the label colours from `records` (after the messages they colour).
    void takeLabelColors(const SnapshotRecords &records);
    // The inbox's name, or "Inbox" for one the service has not named.
    QString scopeName(const InboxScope &scope) const;

Q_SIGNALS:
    void accountIDChanged();
    void serviceOriginChanged();
    void scopeNamesChanged();
    void availableScopesChanged();
    void labelColorsChanged();

private:
    std::optional<QString> m_accountID;
    std::optional<QString> m_serviceOrigin;
    QHash<InboxScope, QString> m_scopeNames;
    QList<InboxScope> m_availableScopes;
    QHash<InboxScope, QHash<QString, QString>> m_labelColors;
};
