#include "LiveMessageCache.h"

#include "LiveMessageConversion.h"

#include "records/RecordTextPool.h"

#include <bit>
#include <functional>
#include <utility>

QList<Message> LiveMessageCache::apply(const LiveSnapshot &snapshot)
{
    const LiveAccount &account = snapshot.account;
    const State &old = state();
    const bool sameAccount = old.account && old.origin && *old.account == account.id && *old.origin == account.origin;
    static const State empty;
    const State &previous = sameAccount ? old : empty;

    auto next = std::make_shared<State>();
    next->account = std::string(account.id);
    next->origin = std::string(account.origin);

    const std::size_t count = snapshot.messages.size();
    std::vector<LiveMessage> &sources = next->sources;
    sources.reserve(count);
    Index &index = next->index;
    index.reset(count);
    // With as many messages as before, the result starts as the previous list and is copied only at the
    // first message that differs, so an unchanged snapshot costs no copy of any Message.
    const bool samePositions = count > 0 && qsizetype(count) == previous.messages.size();
    QList<Message> &messages = next->messages;
    if (samePositions)
        messages = previous.messages;
    else
        messages.reserve(qsizetype(count));
    auto put = [&](std::size_t position, Message message) {
        if (samePositions)
            messages[qsizetype(position)] = std::move(message);
        else
            messages.append(std::move(message));
    };

    RecordTextPool pool;
    for (std::size_t position = 0; position < count; ++position) {
        const LiveMessage &wire = snapshot.messages[position];
        const std::size_t hash = std::hash<std::string_view>{}(wire.id);
        index.assign(wire.id, hash, position);
        // The remembered record now points at the new snapshot's bytes.
        sources.push_back(wire);
        if (const Index::Slot *old = previous.index.find(wire.id, hash)) {
            const std::size_t before = old->entry - 1;
            if (previous.sources[before] == wire) {
                // Unchanged: keep its Message.
                if (!samePositions || before != position)
                    put(position, previous.messages.at(qsizetype(before)));
                continue;
            }
        }
        put(position, LiveMessageConversion::message(wire, pool));
    }

    // The state of the previous snapshot (its records, then the storage they pointed into) goes once no copy
    // holds it any more.
    next->storage = snapshot.storage;
    m_state = std::move(next);
    return m_state->messages;
}

void LiveMessageCache::reset()
{
    m_state.reset();
}

const LiveMessageCache::State &LiveMessageCache::state() const
{
    static const State empty;
    return m_state ? *m_state : empty;
}

const std::optional<std::string> &LiveMessageCache::account() const
{
    return state().account;
}

const std::optional<std::string> &LiveMessageCache::origin() const
{
    return state().origin;
}

const QList<Message> &LiveMessageCache::messages() const
{
    return state().messages;
}

std::size_t LiveMessageCache::size() const
{
    return state().index.size();
}

const LiveMessage *LiveMessageCache::source(std::string_view id) const
{
    const State &current = state();
    const Index::Slot *slot = current.index.find(id, std::hash<std::string_view>{}(id));
    return slot ? &current.sources[slot->entry - 1] : nullptr;
}

const Message *LiveMessageCache::message(std::string_view id) const
{
    const State &current = state();
    const Index::Slot *slot = current.index.find(id, std::hash<std::string_view>{}(id));
    return slot ? &current.messages.at(qsizetype(slot->entry - 1)) : nullptr;
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

const LiveMessageCache::Index::Slot *LiveMessageCache::Index::find(std::string_view id, std::size_t hash) const
{
    if (m_slots.empty())
        return nullptr;
    const Slot &slot = m_slots[slotOf(id, hash)];
    return slot.entry == 0 ? nullptr : &slot;
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
