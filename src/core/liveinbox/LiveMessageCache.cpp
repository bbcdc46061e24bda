#include "LiveMessageCache.h"

#include "LiveMessageConversion.h"

#include <utility>

QList<Message> LiveMessageCache::apply(const LiveSnapshot &snapshot)
{
    const LiveAccount &account = snapshot.account;
    const bool sameAccount = m_account && m_origin && *m_account == account.id && *m_origin == account.origin;
    if (!sameAccount)
        m_records.clear();
    m_account = std::string(account.id);
    m_origin = std::string(account.origin);

    Records records;
    records.reserve(snapshot.messages.size());
    QList<Message> result;
    result.reserve(qsizetype(snapshot.messages.size()));

    for (const LiveMessage &wire : snapshot.messages) {
        if (const auto old = m_records.find(wire.id); old != m_records.end() && old->second.source == wire) {
            // Unchanged: move the entry over and point it at the new snapshot's bytes (equal to the old).
            auto node = m_records.extract(old);
            node.key() = wire.id;
            node.mapped().source = wire;
            result.append(node.mapped().message);
            records.erase(wire.id);
            records.insert(std::move(node));
            continue;
        }
        if (const auto earlier = records.find(wire.id);
            earlier != records.end() && earlier->second.source == wire) {
            // A repeat of a record just stored: its conversion is the same.
            earlier->second.source = wire;
            result.append(earlier->second.message);
            continue;
        }
        Message converted = LiveMessageConversion::message(wire);
        result.append(converted);
        records.insert_or_assign(wire.id, Entry{wire, std::move(converted)});
    }

    // Drops the records that left the snapshot, then the storage their views pointed into.
    m_records = std::move(records);
    m_storage = snapshot.storage;
    return result;
}

void LiveMessageCache::reset()
{
    m_account.reset();
    m_origin.reset();
    m_records.clear();
    m_storage.reset();
}

const LiveMessage *LiveMessageCache::source(std::string_view id) const
{
    const auto it = m_records.find(id);
    return it == m_records.end() ? nullptr : &it->second.source;
}

const Message *LiveMessageCache::message(std::string_view id) const
{
    const auto it = m_records.find(id);
    return it == m_records.end() ? nullptr : &it->second.message;
}
