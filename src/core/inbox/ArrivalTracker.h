#pragma once

#include "liveinbox/LiveSnapshot.h"

#include <QUuid>

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <cstdint>
#include <vector>

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
    // A set of texts in one buffer with an open-addressing table: building it for a whole snapshot costs
    // no allocation per id.
    class TextSet
    {
    public:
        void clear(std::size_t expected = 0);
        bool contains(std::string_view text) const;
        void insert(std::string_view text);
        std::size_t size() const { return m_count; }

    private:
        struct Slot
        {
            std::uint64_t offset = free; // into m_bytes
            std::uint32_t length = 0;
            std::uint32_t hash = 0;
        };
        static constexpr std::uint64_t free = ~std::uint64_t(0);
        std::size_t slotOf(std::string_view text, std::uint32_t hash) const;
        void rehash(std::size_t slots);

        std::string m_bytes;
        std::vector<Slot> m_slots;
        std::size_t m_count = 0;
    };

    std::optional<std::array<std::string, 3>> m_account; // origin, provider, id
    TextSet m_seen;   // every service message id seen for this account
    TextSet m_scopes; // every scope id seen for this account
};
