#pragma once

#include "liveinbox/LiveSnapshot.h"

#include <QUuid>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

// Notices messages the user has not seen before, from one snapshot to the next.
class ArrivalTracker
{
public:
    // The local id of the first newly arrived unread message from someone else in an already known scope,
    // or nothing. The first snapshot of an account never reports an arrival. `sameMessagesAsBefore` says the
    // snapshot's messages are exactly those of the previous snapshot, which are all seen already.
    std::optional<QUuid> consume(const LiveSnapshot &snapshot, bool sameMessagesAsBefore = false);

    bool tracking() const { return m_account.has_value(); }
    std::size_t seenCount() const { return m_seen.size(); }

private:
    struct Hash
    {
        using is_transparent = void;
        std::size_t operator()(std::string_view text) const { return std::hash<std::string_view>{}(text); }
    };
    using TextSet = std::unordered_set<std::string, Hash, std::equal_to<>>;

    std::optional<std::array<std::string, 3>> m_account; // origin, provider, id
    TextSet m_seen;   // every service message id seen for this account
    TextSet m_scopes; // every scope id seen for this account
};
