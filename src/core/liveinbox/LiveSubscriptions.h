#pragma once

#include <QUrl>

#include <string>
#include <vector>

struct LiveSubscription
{
    QUrl url;
    std::string urlText; // the address exactly as written
    std::string ticket;
    double expiresAt = 0;

    friend bool operator==(const LiveSubscription &a, const LiveSubscription &b)
    {
        return a.urlText == b.urlText && a.ticket == b.ticket && a.expiresAt == b.expiresAt;
    }
};

// Output of "subscriptions".
struct LiveSubscriptions
{
    std::vector<LiveSubscription> subscriptions;

    friend bool operator==(const LiveSubscriptions &, const LiveSubscriptions &) = default;
};
