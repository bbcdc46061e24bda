#pragma once

#include "ConversationKind.h"
#include "DemoReply.h"
#include "InboxScope.h"
#include "MessageColor.h"
#include "Utf8Text.h"

#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// One message as the panel shows it. Identity is `id` alone: there is no whole-record equality.
struct Message
{
    QUuid id;
    QString sender;
    QString initials;
    QString subject;
    Utf8Text body; // with any attachments in their fence after the text
    QString category;
    MessageColor color;
    InboxScope scope;
    QString conversation;
    QString conversationID;
    QString senderAccountID;
    QList<DemoReply> replies;
    std::optional<QString> remoteID;
    std::optional<QString> serverMessageID;
    std::optional<QString> replyTo;
    double sentAt = 0;
    // The small fields together at the end, where they share one word instead of padding three.
    ConversationKind kind = ConversationKind::inbox;
    bool unread = false;
    bool released = true;

    // The canonical text form of a UUID: 36 upper-case characters with hyphens.
    static QString canonical(const QUuid &id) { return id.toString(QUuid::WithoutBraces).toUpper(); }
};
