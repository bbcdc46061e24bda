#pragma once

#include "InboxFilter.h"

#include <QString>

// What the list shows when it has no rows: a symbol, a title (the first rule that applies) and a subtitle.
struct EmptyState
{
    QString symbol;  // "circle" for the focused filter, else "checkmark.circle"
    bool focusTint = false; // the symbol is drawn in the focus colour instead of the accent colour
    QString title;
    QString subtitle;

    static EmptyState of(bool loading, bool connectionFailed, const QString &query, const QString &label,
                         InboxFilter filter);

    friend bool operator==(const EmptyState &, const EmptyState &) = default;
};
