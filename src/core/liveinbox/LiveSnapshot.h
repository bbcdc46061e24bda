#pragma once

#include "LiveMessage.h"

#include <memory>
#include <string_view>
#include <utility>
#include <vector>

struct LiveAccount
{
    std::string_view id;
    std::string_view provider;
    std::string_view origin;

    friend bool operator==(const LiveAccount &, const LiveAccount &) = default;
};

struct LiveScope
{
    std::string_view id;
    std::string_view name;
    std::vector<std::pair<std::string_view, std::string_view>> colors; // label slug -> colour text, in document order

    friend bool operator==(const LiveScope &, const LiveScope &) = default;
};

// Output of the "snapshot" command. All texts are views into `storage`.
struct LiveSnapshot
{
    qint64 version = 0;
    LiveAccount account;
    std::vector<LiveScope> scopes;
    std::vector<LiveMessage> messages;
    double fetchedAt = 0;

    // Keeps alive the texts every view above points into (the parsed document's unescaped strings, without
    // its tape); null when the views point at literals.
    std::shared_ptr<const void> storage;

    friend bool operator==(const LiveSnapshot &a, const LiveSnapshot &b)
    {
        return a.version == b.version && a.account == b.account && a.scopes == b.scopes &&
               a.messages == b.messages && a.fetchedAt == b.fetchedAt;
    }
};
