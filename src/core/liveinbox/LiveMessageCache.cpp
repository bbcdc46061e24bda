#include "LiveMessageCache.h"

#include "LiveMessageConversion.h"

#include <bit>
#include <functional>
#include <utility>

QList<Message> LiveMessageCache::apply(const LiveSnapshot &snapshot)
{
    const LiveAccount &account = snapshot.account;
    const bool sameAccount = m_account && m_origin && *m_account == account.id && *m_origin == account.origin;
    if (!sameAccount) {
        m_sources.clear();
        m_messages.clear();
        m_index.reset(0);
    }
    m_account = std::string(account.id);
    m_origin = std::string(account.origin);

    const std::size_t count = snapshot.messages.size();
    std::vector<LiveMessage> sources;
    sources.reserve(count);
    Index index;
    index.reset(count);
    // With as many messages as before, the result starts as the previous list and is copied only at the
    // first message that differs, so an unchanged snapshot costs no copy of any Message.
    const bool samePositions = count > 0 && qsizetype(count) == m_messages.size();
    QList<Message> messages;
    if (samePositions)
        messages = m_messages;
    else
        messages.reserve(qsizetype(count));
    auto put = [&](std::size_t position, Message message) {
        if (samePositions)
            messages[qsizetype(position)] = std::move(message);
        else
            messages.append(std::move(message));
    };

    for (std::size_t position = 0; position < count; ++position) {
        const LiveMessage &wire = snapshot.messages[position];
        const std::size_t hash = std::hash<std::string_view>{}(wire.id);
        index.assign(wire.id, hash, position);
        if (Index::Slot *old = m_index.find(wire.id, hash)) {
            const std::size_t before = old->entry - 1;
            // Once taken over, the old record lives on (equal) as this snapshot's copy.
            const LiveMessage &record = old->takenBy ? sources[old->takenBy - 1] : m_sources[before];
            if (record == wire) {
                // Unchanged: keep its Message; the record now points at the new snapshot's bytes.
                if (!samePositions || before != position)
                    put(position, m_messages.at(qsizetype(before)));
                if (old->takenBy) {
                    sources.push_back(wire);
                } else {
                    // Taking over the old record reuses its arrays' memory.
                    sources.push_back(std::move(m_sources[before]));
                    sources.back() = wire;
                    old->takenBy = std::uint32_t(position + 1);
                }
                continue;
            }
        }
        put(position, LiveMessageConversion::message(wire));
        sources.push_back(wire);
    }

    // Drops the records that left the snapshot, then the storage their views pointed into.
    m_sources = std::move(sources);
    m_messages = messages;
    m_index = std::move(index);
    m_storage = snapshot.storage;
    return messages;
}

void LiveMessageCache::reset()
{
    m_account.reset();
    m_origin.reset();
    m_sources.clear();
    m_messages.clear();
    m_index.reset(0);
    m_storage.reset();
}

const LiveMessage *LiveMessageCache::source(std::string_view id) const
{
    const Index::Slot *slot = m_index.find(id, std::hash<std::string_view>{}(id));
    return slot ? &m_sources[slot->entry - 1] : nullptr;
}

const Message *LiveMessageCache::message(std::string_view id) const
{
    const Index::Slot *slot = m_index.find(id, std::hash<std::string_view>{}(id));
    return slot ? &m_messages.at(qsizetype(slot->entry - 1)) : nullptr;
}

void LiveMessageCache::Index::reset(std::size_t capacity)
{
    // At most half full, so probe runs stay short.
    const std::size_t slots = capacity ? std::bit_ceil(capacity * 2) : 0;
    m_slots.assign(slots, Slot{});
    m_count = 0;
}

std::size_t LiveMessageCache::Index::slotOf(std::string_view id, std::size_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot &candidate = m_slots[slot];
        if (candidate.entry == 0 || (candidate.hash == std::uint32_t(hash) && candidate.id == id))
            return slot;
    }
}

LiveMessageCache::Index::Slot *LiveMessageCache::Index::find(std::string_view id, std::size_t hash)
{
    if (m_slots.empty())
        return nullptr;
    Slot &slot = m_slots[slotOf(id, hash)];
    return slot.entry == 0 ? nullptr : &slot;
}

const LiveMessageCache::Index::Slot *LiveMessageCache::Index::find(std::string_view id, std::size_t hash) const
{
    return const_cast<Index *>(this)->find(id, hash);
}

void LiveMessageCache::Index::assign(std::string_view id, std::size_t hash, std::size_t position)
{
    Slot &slot = m_slots[slotOf(id, hash)];
    if (slot.entry == 0) {
        slot.id = id;
        slot.hash = std::uint32_t(hash);
        ++m_count;
    }
    slot.entry = std::uint32_t(position + 1);
}
