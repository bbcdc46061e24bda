#pragma once

#include "records/InboxScope.h"
#include "records/Message.h"

#include <QList>
#include <QString>
#include <QUuid>

// What the demo does itself where a live inbox asks the service: its own edits of the shown messages and of
// the focus.
class DemoEdits
{
public:
    // Marks the message read; false when it is not there or already read (nothing changed).
    static bool markRead(QList<Message> &messages, const QUuid &id);
    // Gives the team message one of the labels the demo offers; false when the message is not a team
    // message shown here or the label is not one of those.
    static bool setTeamLabel(QList<Message> &messages, const QString &label, const QUuid &id);
    // The focus order with the message focused, first, or without it when it was focused.
    static QList<QUuid> toggledFocus(QList<QUuid> order, const QUuid &id, bool focused);
    // The demo's samples in `scope`: the label menu offers their labels even when no message shown has them.
    static QList<Message> samplesIn(const InboxScope &scope);
};
