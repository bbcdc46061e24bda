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

    ++m_generation;

    // While every record so far is unchanged and in its old place, the result is the previous result: it is
    // only copied out once something differs.
    const qsizetype count = qsizetype(snapshot.messages.size());
    bool identical = sameAccount && count == m_lastResult.size();
    QList<Message> result;
    std::size_t distinct = 0; // records of this snapshot, each id once
    // Previous records that a changed record replaced during this apply, for repeats of their id.
    std::unordered_map<std::string, std::pair<LiveMessage, Message>, TextHash, std::equal_to<>> replaced;
    auto differ = [&](qsizetype position) {
        if (!identical)
            return;
        identical = false;
        result.reserve(count);
        result.append(m_lastResult.mid(0, position));
    };

    for (qsizetype position = 0; position < count; ++position) {
        const LiveMessage &wire = snapshot.messages[std::size_t(position)];
        auto found = m_records.find(wire.id);
        if (found != m_records.end() && found->second.generation == m_generation) {
            // A repeat of an id within this snapshot: it is compared with the previous snapshot's record of
            // that id, and replaces the earlier copy in the cache.
            differ(position);
            Entry &entry = found->second;
            const LiveMessage *oldSource = nullptr;
            const Message *oldMessage = nullptr;
            if (entry.holdsPrevious) {
                oldSource = &entry.source;
                oldMessage = &entry.message;
            } else if (const auto stashed = replaced.find(wire.id); stashed != replaced.end()) {
                oldSource = &stashed->second.first;
                oldMessage = &stashed->second.second;
            }
            Message message = oldSource && *oldSource == wire ? *oldMessage : LiveMessageConversion::message(wire);
            if (entry.holdsPrevious)
                replaced.emplace(std::string(wire.id), std::make_pair(entry.source, entry.message));
            result.append(message);
            entry = Entry{wire, std::move(message), m_generation, false};
            continue;
        }
        if (found != m_records.end() && found->second.source == wire) {
            // Unchanged: keep its Message; point the record at the new snapshot's bytes (equal to the old).
            Entry &entry = found->second;
            entry.source = wire;
            entry.generation = m_generation;
            entry.holdsPrevious = true;
            ++distinct;
            if (identical && m_lastResult.at(position).id != entry.message.id)
                differ(position);
            if (!identical)
                result.append(entry.message);
            continue;
        }
        differ(position);
        ++distinct;
        Message converted = LiveMessageConversion::message(wire);
        result.append(converted);
        if (found != m_records.end()) {
            replaced.emplace(std::string(wire.id), std::make_pair(found->second.source, found->second.message));
            found->second = Entry{wire, std::move(converted), m_generation, false};
        } else {
            m_records.emplace(std::string(wire.id), Entry{wire, std::move(converted), m_generation, false});
        }
    }
    // Records that left the snapshot are forgotten.
    if (m_records.size() != distinct) {
        for (auto it = m_records.begin(); it != m_records.end();) {
            if (it->second.generation != m_generation)
                it = m_records.erase(it);
            else
                ++it;
        }
    }
    if (!identical)
        m_lastResult = std::move(result);

    // Every remembered record now points into this snapshot's storage; the previous one can go.
    m_storage = snapshot.storage;
    return m_lastResult;
}

void LiveMessageCache::reset()
{
    m_account.reset();
    m_origin.reset();
    m_records.clear();
    m_storage.reset();
    m_lastResult.clear();
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
