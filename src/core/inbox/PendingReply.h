#pragma once

#include <QString>
#include <QUuid>

#include <optional>

// A reply sent from the panel that no snapshot has shown back yet.
struct PendingReply
{
    QUuid id;
    QString thread; // thread key of the conversation it answers
    QString body;
    std::optional<QString> serverID;
    QString status;

    friend bool operator==(const PendingReply &, const PendingReply &) = default;
};
