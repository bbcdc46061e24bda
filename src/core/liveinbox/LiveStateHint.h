#pragma once

#include <QtGlobal>

#include <string>

// One message of the sync socket.
struct LiveStateHint
{
    std::string type;
    qint64 version = 0;

    friend bool operator==(const LiveStateHint &, const LiveStateHint &) = default;
};
