#include "ScopeMenuText.h"
#include <QCoreApplication>

QString ScopeMenuText::name(const QHash<InboxScope, QString> &names, const InboxScope &scope)
{
    const auto it = names.constFind(scope);
    return it == names.constEnd() ? QCoreApplication::translate("ScopeMenuText", "Inbox") : *it;
}

QString ScopeMenuText::scopeEntry(const QString &name, int unread)
{
    return unread >= 1 ? QStringLiteral("%1 · %2 unread").arg(name).arg(unread) : name;
}

QString ScopeMenuText::inboxEntry(const QString &name, int unread, bool onShow)
{
    QString title = QStringLiteral("%1 · %2 unread").arg(name).arg(unread);
    if (onShow)
        title += QStringLiteral(" ✓");
    return title;
}
