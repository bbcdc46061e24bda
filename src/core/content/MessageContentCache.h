#pragma once

#include "MessageContent.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <list>
#include <memory>

// Parsed bodies, least recently used evicted first, bounded by total cost and entry count. One per
// application, used on the main thread only.
class MessageContentCache
{
public:
    static constexpr qint64 maximumCost = 64 * 1024 * 1024;
    static constexpr qsizetype maximumCount = 128;

    // The parsed content of `body`, from the cache or parsed now and cached. A content that alone
    // costs more than maximumCost is returned without being cached.
    std::shared_ptr<const MessageContent> content(const QString &body);

    // Forgets every entry.
    void clear();

    qint64 cost() const { return m_cost; }
    qsizetype count() const { return m_entries.size(); }
    bool contains(const QString &body) const { return m_entries.contains(body); }
    // The cached bodies, least recently used first.
    QStringList order() const;

private:
    struct Entry
    {
        QString body;
        std::shared_ptr<const MessageContent> content;
    };

    std::list<Entry> m_order; // least recently used first
    QHash<QString, std::list<Entry>::iterator> m_entries;
    qint64 m_cost = 0;
};
