#pragma once

#include <QString>
#include <QUuid>

// One optimistic change still to be confirmed by the service: "read", "focus" or "unfocus".
struct LocalChange
{
    QString operation;
    QUuid localID;
    QString remoteID;

    friend bool operator==(const LocalChange &, const LocalChange &) = default;
};
