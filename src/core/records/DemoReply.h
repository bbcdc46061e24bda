#pragma once

#include <QString>
#include <QUuid>

// A reply embedded in a demo message.
struct DemoReply
{
    QUuid id;
    QString sender;
    QString body;
};
