#include "ScopeMenuText.h"
#include <QCoreApplication>

#include <algorithm>

QString ScopeMenuText::name(const QHash<InboxScope, QString> &names, const InboxScope &scope)
{
    const auto it = names.constFind(scope);
    return it == names.constEnd() ? QCoreApplication::translate("ScopeMenuText", "Inbox") : *it;
}

QString ScopeMenuText::scopeEntry(const QString &name, int unread)
{
    // One pass over the pattern: a name that itself holds "%2" stays as written.
    return unread >= 1 ? QStringLiteral("%1 · %2 unread").arg(name, QString::number(unread)) : name;
}

QString ScopeMenuText::inboxEntry(const QString &name, int unread, bool onShow)
{
    QString title = QStringLiteral("%1 · %2 unread").arg(name, QString::number(unread));
    if (onShow)
        title += QStringLiteral(" ✓");
    return title;
}

QString ScopeMenuText::indicatorName(int here, const QString &name, int other)
{
    return QCoreApplication::translate("ScopeMenuText", "%1 unread in %2, %3 in other inboxes")
        .arg(QString::number(here), name, QString::number(std::max(0, other)));
}

QString ScopeMenuText::barName(int total)
{
    return QCoreApplication::translate("ScopeMenuText", "Tandrel, %n unread messages across inboxes", nullptr, total);
}
