#include "MessageRowText.h"
#include <QCoreApplication>

MessageRowText::Meta MessageRowText::meta(const Message &message, bool live, int memberCount)
{
    Meta meta;
    const bool personal = message.scope.isPersonal();
    if (personal)
        meta.chipLabel = message.category;
    else if (message.kind != ConversationKind::inbox)
        meta.conversation = message.conversation;
    const QString prefix = personal || message.kind != ConversationKind::inbox ? QStringLiteral("· ") : QString();
    if (live && memberCount > 1)
        meta.counts.append(prefix + QCoreApplication::translate("MessageRowText", "%n messages", nullptr, memberCount));
    if (const qsizetype replies = message.replies.size(); replies > 0)
        meta.counts.append(prefix + QCoreApplication::translate("MessageRowText", "%n replies", nullptr, int(replies)));
    meta.review = !message.released;
    return meta;
}

QString MessageRowText::focusTitle(bool focused)
{
    return focused ? QCoreApplication::translate("MessageRowText", "Focused") : QCoreApplication::translate("MessageRowText", "Focus");
}

QString MessageRowText::focusTooltip(bool released, bool focused)
{
    if (!released)
        return QCoreApplication::translate("MessageRowText", "Owner approval is required before agent focus");
    return focused ? QCoreApplication::translate("MessageRowText", "Remove from focused messages") : QCoreApplication::translate("MessageRowText", "Focus for agent context");
}

QString MessageRowText::focusAccessibleName(bool focused, const QString &sender, const QString &subject)
{
    return QCoreApplication::translate("MessageRowText", "%1 message from %2: %3")
        .arg(focused ? QCoreApplication::translate("MessageRowText", "Unfocus") : QCoreApplication::translate("MessageRowText", "Focus"), sender, subject);
}

QString MessageRowText::focusAccessibleValue(bool focused)
{
    return focused ? QCoreApplication::translate("MessageRowText", "Focused") : QCoreApplication::translate("MessageRowText", "Not focused");
}

QString MessageRowText::teamLabelAccessibleName(const QString &subject, const QString &category)
{
    return QCoreApplication::translate("MessageRowText", "Change label for %1: %2").arg(subject, category);
}

QString MessageRowText::colorHex(const MessageColor &color)
{
    auto channel = [](double value) { return qBound(0, qRound(value * 255), 255); };
    return QStringLiteral("#%1%2%3")
        .arg(channel(color.red), 2, 16, QLatin1Char('0'))
        .arg(channel(color.green), 2, 16, QLatin1Char('0'))
        .arg(channel(color.blue), 2, 16, QLatin1Char('0'));
}
