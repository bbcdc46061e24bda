#pragma once

#include "InboxScope.h"

#include <QHash>
#include <QString>

// One inbox of a snapshot as the panel shows it.
struct ScopeRecord
{
    InboxScope id;
    QString name;
    QHash<QString, QString> labelColors; // label display name -> colour text

    friend bool operator==(const ScopeRecord &, const ScopeRecord &) = default;
};
