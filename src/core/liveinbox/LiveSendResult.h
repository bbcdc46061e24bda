#pragma once

#include <string>

// Output of "reply".
struct LiveSendResult
{
    std::string id;
    std::string status; // "released", "quarantined", or anything else for a rejection

    friend bool operator==(const LiveSendResult &, const LiveSendResult &) = default;
};
