#pragma once

#include "records/InboxScope.h"

#include <QHash>
#include <QString>

// Entry titles of the two menus that switch inboxes: the header's inbox title and the bar's unread counter.
class ScopeMenuText
{
public:
    // The scope's name, "Inbox" when the service gave it none.
    static QString name(const QHash<InboxScope, QString> &names, const InboxScope &scope);
    // The header's menu: "Launch crew · 2 unread", or the bare name while nothing there is unread.
    static QString scopeEntry(const QString &name, int unread);
    // The counter's menu: "Launch crew · 0 unread" (always counted), with " ✓" on the inbox on show.
    static QString inboxEntry(const QString &name, int unread, bool onShow);
    // What a screen reader says of the counter: "3 unread in Launch crew, 2 in other inboxes".
    static QString indicatorName(int here, const QString &name, int other);
    // What a screen reader says of the bar: "Tandrel, 5 unread messages across inboxes".
    static QString barName(int total);
};
