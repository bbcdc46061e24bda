#include "FilterText.h"

#include <QStringList>
#include <QCoreApplication>

QString FilterText::directChip(int directUnread)
{
    return directUnread == 0 ? QCoreApplication::translate("FilterText", "DMs") : QCoreApplication::translate("FilterText", "DMs %1").arg(directUnread);
}

QString FilterText::focusedChip(int focusedInScope)
{
    return QCoreApplication::translate("FilterText", "Focused %1").arg(focusedInScope);
}

QString FilterText::unreadEntry(int unread)
{
    return QCoreApplication::translate("FilterText", "Unread (%1)").arg(unread);
}

QString FilterText::reviewWord(bool personalScope)
{
    return personalScope ? QCoreApplication::translate("FilterText", "Spam") : QCoreApplication::translate("FilterText", "Needs review");
}

QString FilterText::reviewEntry(bool personalScope, int reviewCount)
{
    return QStringLiteral("%1 (%2)").arg(reviewWord(personalScope)).arg(reviewCount);
}

QString FilterText::kindTitle(ConversationKind kind)
{
    switch (kind) {
    case ConversationKind::inbox: return QCoreApplication::translate("FilterText", "Shared inbox");
    case ConversationKind::thread: return QCoreApplication::translate("FilterText", "Thread");
    case ConversationKind::direct: return QCoreApplication::translate("FilterText", "Direct");
    }
    return ConversationKinds::rawValue(kind);
}

QString FilterText::activeFilterSummary(InboxFilter filter, std::optional<ConversationKind> kind, bool personalScope)
{
    QStringList parts;
    if (filter == InboxFilter::unread)
        parts.append(QCoreApplication::translate("FilterText", "Unread"));
    if (filter == InboxFilter::review)
        parts.append(reviewWord(personalScope));
    if (kind)
        parts.append(kindTitle(*kind));
    return parts.join(QStringLiteral(" · "));
}
