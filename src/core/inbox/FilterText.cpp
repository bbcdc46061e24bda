#include "FilterText.h"

#include <QStringList>

QString FilterText::directChip(int directUnread)
{
    return directUnread == 0 ? QStringLiteral("DMs") : QStringLiteral("DMs %1").arg(directUnread);
}

QString FilterText::focusedChip(int focusedInScope)
{
    return QStringLiteral("Focused %1").arg(focusedInScope);
}

QString FilterText::unreadEntry(int unread)
{
    return QStringLiteral("Unread (%1)").arg(unread);
}

QString FilterText::reviewWord(bool personalScope)
{
    return personalScope ? QStringLiteral("Spam") : QStringLiteral("Needs review");
}

QString FilterText::reviewEntry(bool personalScope, int reviewCount)
{
    return QStringLiteral("%1 (%2)").arg(reviewWord(personalScope)).arg(reviewCount);
}

QString FilterText::activeFilterSummary(InboxFilter filter, std::optional<ConversationKind> kind, bool personalScope)
{
    QStringList parts;
    if (filter == InboxFilter::unread)
        parts.append(QStringLiteral("Unread"));
    if (filter == InboxFilter::review)
        parts.append(reviewWord(personalScope));
    if (kind)
        parts.append(ConversationKinds::rawValue(*kind));
    return parts.join(QStringLiteral(" · "));
}
