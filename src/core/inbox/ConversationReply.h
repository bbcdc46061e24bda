#pragma once

#include "records/Message.h"

#include <QString>
#include <QUuid>

#include <optional>

// One row of a conversation view.
struct ConversationReply
{
    QUuid id;
    QString sender; // "You" for the user's own rows
    QString body;
    std::optional<Message> message; // absent for a row made from a pending reply
    QString status;
};
