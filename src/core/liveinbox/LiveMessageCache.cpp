#include "LiveMessageCache.h"

#include "LiveMessageConversion.h"

#include "records/RecordTextPool.h"

#include <QRandomGenerator>

#include <bit>
#include <cstring>
#include <functional>
#include <utility>

namespace {

std::uint64_t digestKey()
{
    static const std::uint64_t key = QRandomGenerator::system()->generate64();
    return key;
}

// Folds a value into the hash (a multiply and shift round: the texts folded in are a few bytes long, where
// a general string hash costs more in set-up than in bytes).
std::uint64_t mixed(std::uint64_t hash, std::uint64_t value)
{
    hash = (hash ^ value) * 0x9E3779B97F4A7C15u;
    return hash ^ (hash >> 29);
}

// Folds a text in, after its length, so that field boundaries count.
std::uint64_t folded(std::uint64_t hash, std::string_view text)
{
    hash = mixed(hash, text.size());
    std::size_t i = 0;
    for (; i + 8 <= text.size(); i += 8) {
        std::uint64_t word;
        std::memcpy(&word, text.data() + i, 8);
        hash = mixed(hash, word);
    }
    std::uint64_t rest = 0;
    if (i < text.size())
        std::memcpy(&rest, text.data() + i, text.size() - i);
    return mixed(hash, rest);
}

} // namespace

LiveMessageCache::Digest LiveMessageCache::digest(const LiveMessage &record)
{
    std::uint64_t hash = digestKey();
    hash = mixed(hash, record.categories.size());
    for (const std::string_view category : record.categories)
        hash = folded(hash, category);
    hash = folded(hash, record.kind);
    hash = mixed(hash, record.conversationTitle.has_value());
    if (record.conversationTitle)
        hash = folded(hash, *record.conversationTitle);
    hash = mixed(hash, std::uint64_t(record.focusIndex));
    return mixed(hash, record.focused);
}

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
    std::vector<Digest> &digests = next->digests;
    digests.reserve(count);
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
        const Digest digest = LiveMessageCache::digest(wire);
        index.assign(wire.id, hash, position);
        digests.push_back(digest);
        if (const Index::Slot *old = previous.index.find(wire.id, hash)) {
            const std::size_t before = old->entry - 1;
            const Message &kept = previous.messages.at(qsizetype(before));
            if (previous.digests[before] == digest && LiveMessageConversion::convertsTo(wire, kept, pool)) {
                // Unchanged: keep its Message.
                if (!samePositions || before != position)
                    put(position, kept);
                continue;
            }
        }
        put(position, LiveMessageConversion::message(wire, pool));
    }

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

const LiveMessageCache::Digest *LiveMessageCache::digestOf(std::string_view id) const
{
    const State &current = state();
    const Index::Slot *slot = current.index.find(id, std::hash<std::string_view>{}(id));
    return slot ? &current.digests[slot->entry - 1] : nullptr;
}

const Message *LiveMessageCache::message(std::string_view id) const
{
    const State &current = state();
    const Index::Slot *slot = current.index.find(id, std::hash<std::string_view>{}(id));
    return slot ? &current.messages.at(qsizetype(slot->entry - 1)) : nullptr;
}

void LiveMessageCache::Index::reset(std::size_t capacity)
{
    // At most two thirds full, so probe runs stay short.
    const std::size_t slots = capacity ? std::bit_ceil(capacity + capacity / 2 + 1) : 0;
    m_slots.assign(slots, Slot{});
    m_ids.clear();
    m_count = 0;
}

std::size_t LiveMessageCache::Index::slotOf(std::string_view id, std::size_t hash) const
{
    const std::size_t mask = m_slots.size() - 1;
    for (std::size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        const Slot &candidate = m_slots[slot];
        if (candidate.entry == 0 || (candidate.hash == std::uint32_t(hash) && idOf(candidate) == id))
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
        slot.offset = std::uint32_t(m_ids.size());
        slot.length = std::uint32_t(id.size());
        m_ids.append(id);
        slot.hash = std::uint32_t(hash);
        ++m_count;
    }
    slot.entry = std::uint32_t(position + 1);
}
