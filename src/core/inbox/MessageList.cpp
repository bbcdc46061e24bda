#include "MessageList.h"

#include <algorithm>
#include <numeric>
#include <utility>
#include <vector>

void MessageList::set(QList<Message> messages, std::unique_ptr<ThreadIndex> threads)
{
    // The thread index depends on nothing but the list.
    const bool sameList = messages.size() == m_messages.size() && messages.constData() == m_messages.constData();
    m_messages = std::move(messages);
    if (!sameList) {
        const bool built = threads && threads->messages().constData() == m_messages.constData() &&
                           threads->messages().size() == m_messages.size();
        m_threads = built ? std::move(threads) : nullptr;
    }
}

ThreadIndex &MessageList::threads() const
{
    if (!m_threads)
        m_threads = std::make_unique<ThreadIndex>(m_messages, m_live);
    return *m_threads;
}

std::optional<Message> MessageList::find(const QUuid &id) const
{
    for (const Message &message : m_messages) {
        if (message.id == id)
            return message;
    }
    return std::nullopt;
}

QList<Message> MessageList::scoped(const InboxScope &scope) const
{
    QList<Message> result;
    if (const ThreadIndex::ScopeSummary *summary = threads().scope(scope)) {
        result.reserve(qsizetype(summary->positions.size()));
        for (const qsizetype position : summary->positions)
            result.append(m_messages.at(position));
    }
    return result;
}

QList<Message> MessageList::inOrder(const QList<QUuid> &order) const
{
    QList<Message> result;
    for (const QUuid &id : order) {
        const auto it = std::find_if(m_messages.cbegin(), m_messages.cend(),
                                     [&](const Message &message) { return message.id == id && message.released; });
        if (it != m_messages.cend())
            result.append(*it);
    }
    return result;
}

int MessageList::unreadCount(const InboxScope &scope) const
{
    const ThreadIndex::ScopeSummary *summary = threads().scope(scope);
    return summary ? summary->unread : 0;
}

int MessageList::totalUnreadCount() const
{
    return threads().totalUnread();
}

int MessageList::directUnreadCount(const InboxScope &scope) const
{
    const ThreadIndex::ScopeSummary *summary = threads().scope(scope);
    return summary ? summary->directUnread : 0;
}

int MessageList::reviewCount(const InboxScope &scope) const
{
    const ThreadIndex::ScopeSummary *summary = threads().scope(scope);
    return summary ? summary->review : 0;
}

QList<InboxScope> MessageList::sortedScopes(const QList<InboxScope> &scopes,
                                            const QHash<InboxScope, QString> &names) const
{
    std::vector<int> unread;
    unread.reserve(std::size_t(scopes.size()));
    for (const InboxScope &scope : scopes)
        unread.push_back(unreadCount(scope));
    std::vector<qsizetype> order(std::size_t(scopes.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int countA = unread[std::size_t(a)];
        const int countB = unread[std::size_t(b)];
        if (countA != countB)
            return countA > countB;
        return names.value(scopes.at(a)) < names.value(scopes.at(b));
    });
    QList<InboxScope> sorted;
    sorted.reserve(scopes.size());
    for (const qsizetype position : order)
        sorted.append(scopes.at(position));
    return sorted;
}

QStringList MessageList::labels(const InboxScope &scope, const QList<Message> &extra) const
{
    QList<Message> base = extra;
    base.append(scoped(scope));
    QStringList names;
    QSet<QString> seen;
    for (const Message &message : std::as_const(base)) {
        if (message.category.isEmpty() || seen.contains(message.category))
            continue;
        seen.insert(message.category);
        names.append(message.category);
    }
    std::sort(names.begin(), names.end());
    return names;
}

Message MessageList::cardFocusTarget(const Message &message, const QList<QUuid> &focusOrder)
{
    const QList<Message> thread = threads().members(message);
    for (const QUuid &id : focusOrder) {
        for (const Message &member : thread) {
            if (member.id == id)
                return member;
        }
    }
    if (!thread.isEmpty())
        return thread.last();
    return message;
}

bool MessageList::cardIsFocused(const Message &message, const QSet<QUuid> &focused)
{
    const QList<Message> thread = threads().members(message);
    return std::any_of(thread.cbegin(), thread.cend(),
                       [&](const Message &member) { return focused.contains(member.id); });
}
