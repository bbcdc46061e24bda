#pragma once

#include "records/Message.h"

#include <QUuid>

// A message with only what the list rules read: its own id, a subject that is also its conversation, a scope
// and whether it is unread.
inline Message sampleMessage(const QString &subject, const InboxScope &scope = InboxScope::personal(),
                             bool unread = false)
{
    Message result;
    result.id = QUuid::createUuid();
    result.subject = subject;
    result.scope = scope;
    result.conversationID = subject;
    result.unread = unread;
    return result;
}
