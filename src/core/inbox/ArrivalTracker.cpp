#include "ArrivalTracker.h"

#include "records/RecordIdentity.h"

#include <algorithm>
#include <bit>
#include <functional>
#include <utility>

std::optional<QUuid> ArrivalTracker::consume(const LiveSnapshot &snapshot, bool sameMessagesAsBefore)
{
    const std::array<std::string, 3> account{std::string(snapshot.account.origin),
                                             std::string(snapshot.account.provider),
                                             std::string(snapshot.account.id)};
    if (!m_account || *m_account != account) {
        m_account = account;
        m_seen.clear(snapshot.messages.size());
        m_scopes.clear(snapshot.scopes.size());
        for (const LiveMessage &message : snapshot.messages)
            m_seen.insert(message.id);
        for (const LiveScope &scope : snapshot.scopes)
            m_scopes.insert(scope.id);
        return std::nullopt;
    }

    if (sameMessagesAsBefore) {
        for (const LiveScope &scope : snapshot.scopes) {
            if (!m_scopes.contains(scope.id))
                m_scopes.insert(scope.id);
        }
        return std::nullopt;
    }

    const LiveMessage *picked = nullptr;
    for (const LiveMessage &message : snapshot.messages) {
        if (message.unread && message.senderId != snapshot.account.id && m_scopes.contains(message.scopeId) &&
            !m_seen.contains(message.id)) {
            picked = &message;
            break;
        }
    }
    for (const LiveMessage &message : snapshot.messages) {
        if (!m_seen.contains(message.id))
            m_seen.insert(message.id);
    }
    for (const LiveScope &scope : snapshot.scopes) {
        if (!m_scopes.contains(scope.id))
            m_scopes.insert(scope.id);
    }
    if (!picked)
        return std::nullopt;
    return RecordIdentity::localID(picked->id);
}

void ArrivalTracker::TextSet::clear(std::size_t expected)
{
    m_bytes.clear();
    m_count = 0;
    m_slots.assign(std::bit_ceil(std::max<std::size_t>(expected * 2, 16)), Slot{});
}

std::size_t ArrivalTracker::TextSet::slotOf(std::string_view text, std::uint32_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot &candidate = m_slots[slot];
        if (candidate.offset == free ||
            (candidate.hash == hash && std::string_view(m_bytes).substr(candidate.offset, candidate.length) == text))
            return slot;
    }
}

bool ArrivalTracker::TextSet::contains(std::string_view text) const
{
    if (m_slots.empty())
        return false;
    return m_slots[slotOf(text, std::uint32_t(std::hash<std::string_view>{}(text)))].offset != free;
}

void ArrivalTracker::TextSet::insert(std::string_view text)
{
    // At most half full, so probe runs stay short.
    if ((m_count + 1) * 2 > m_slots.size())
        rehash(std::max<std::size_t>(m_slots.size() * 2, 16));
    const std::uint32_t hash = std::uint32_t(std::hash<std::string_view>{}(text));
    Slot &slot = m_slots[slotOf(text, hash)];
    if (slot.offset != free)
        return;
    slot = Slot{m_bytes.size(), std::uint32_t(text.size()), hash};
    m_bytes.append(text);
    ++m_count;
}

void ArrivalTracker::TextSet::rehash(std::size_t slots)
{
    std::vector<Slot> old = std::exchange(m_slots, std::vector<Slot>(slots));
    const std::size_t mask = slots - 1;
    for (const Slot &entry : old) {
        if (entry.offset == free)
            continue;
        std::size_t at = entry.hash & mask;
        while (m_slots[at].offset != free)
            at = (at + 1) & mask;
        m_slots[at] = entry;
    }
}
