#include "MessageContentCache.h"

std::shared_ptr<const MessageContent> MessageContentCache::content(const QString &body)
{
    const auto found = m_entries.constFind(body);
    if (found != m_entries.constEnd()) {
        m_order.splice(m_order.end(), m_order, found.value());
        return found.value()->content;
    }

    auto content = std::make_shared<const MessageContent>(body);
    const qint64 cost = content->cost();
    if (cost > maximumCost)
        return content;
    while (!m_order.empty() && (m_cost + cost > maximumCost || m_entries.size() >= maximumCount)) {
        const Entry &oldest = m_order.front();
        m_cost -= oldest.content->cost();
        m_entries.remove(oldest.body);
        m_order.pop_front();
    }
    m_order.push_back(Entry{body, content});
    m_entries.insert(body, std::prev(m_order.end()));
    m_cost += cost;
    return content;
}

void MessageContentCache::clear()
{
    m_entries.clear();
    m_order.clear();
    m_cost = 0;
}

QStringList MessageContentCache::order() const
{
    QStringList bodies;
    bodies.reserve(qsizetype(m_order.size()));
    for (const Entry &entry : m_order)
        bodies.append(entry.body);
    return bodies;
}
