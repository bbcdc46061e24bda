#pragma once

#include "ScopeRecord.h"

#include <QList>
#include <QString>
#include <QUuid>

// What a snapshot says beside its messages, in the panel's terms.
struct SnapshotRecords
{
    QString accountID;
    QString origin;
    QList<ScopeRecord> scopes; // in snapshot order
    // The local ids of the focused messages, by focus index (ties keep snapshot order).
    QList<QUuid> focusOrder;

    friend bool operator==(const SnapshotRecords &, const SnapshotRecords &) = default;
};
