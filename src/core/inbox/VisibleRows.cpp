#include "VisibleRows.h"

#include "QueryMatcher.h"

#include "records/ThreadIndex.h"

#include <QHash>

#include <vector>

bool VisibleRows::admitted(const Message &message, const Criteria &criteria, const QueryMatcher *matcher)
{
    const bool personal = criteria.scope.isPersonal();
    switch (criteria.filter) {
    case InboxFilter::all:
        if (!message.released || (!personal && message.kind == ConversationKind::direct))
            return false;
        break;
    case InboxFilter::direct:
        if (personal || !message.released || message.kind != ConversationKind::direct)
            return false;
        break;
    case InboxFilter::unread:
        if (!message.released || !message.unread)
            return false;
        break;
    case InboxFilter::focused:
        if (!message.released || !criteria.focused.contains(message.id))
            return false;
        break;
    case InboxFilter::review:
        if (message.released)
            return false;
        break;
    }
    if (criteria.label != QLatin1String("All labels") && message.category != criteria.label)
        return false;
    if (!personal && criteria.kind && message.kind != *criteria.kind)
        return false;
    if (!matcher)
        return true;
    return matcher->matches(message.sender) || matcher->matches(message.subject) || matcher->matches(message.body) ||
           matcher->matches(message.conversation);
}

QList<Message> VisibleRows::rows(const QList<Message> &messages, ThreadIndex &threads, const Criteria &criteria)
{
    std::optional<QueryMatcher> matcher;
    if (!criteria.query.isEmpty())
        matcher.emplace(criteria.query);

    std::vector<qsizetype> admittedPositions;
    QHash<QUuid, qsizetype> firstFocused;
    static const std::vector<qsizetype> none;
    const ThreadIndex::ScopeSummary *scoped = threads.scope(criteria.scope);
    for (const qsizetype i : scoped ? scoped->positions : none) {
        const Message &message = messages.at(i);
        if (!admitted(message, criteria, matcher ? &*matcher : nullptr))
            continue;
        admittedPositions.push_back(i);
        if (criteria.focused.contains(message.id) && !firstFocused.contains(message.id))
            firstFocused.insert(message.id, i);
    }

    std::vector<qsizetype> ordered;
    ordered.reserve(admittedPositions.size());
    for (const QUuid &id : criteria.focusOrder) {
        const auto it = firstFocused.constFind(id);
        if (it != firstFocused.constEnd())
            ordered.push_back(*it);
    }
    for (const qsizetype position : admittedPositions) {
        if (!criteria.focused.contains(messages.at(position).id))
            ordered.push_back(position);
    }

    QList<Message> rows;
    if (!criteria.live) {
        rows.reserve(qsizetype(ordered.size()));
        for (const qsizetype position : ordered)
            rows.append(messages.at(position));
        return rows;
    }
    // One row per thread, where the thread first occurs, showing the thread's oldest released member.
    std::vector<char> seen(std::size_t(threads.threadCount()), 0);
    for (const qsizetype position : ordered) {
        const int thread = threads.threadAt(position);
        if (seen[std::size_t(thread)])
            continue;
        seen[std::size_t(thread)] = 1;
        const qsizetype root = threads.rootOf(thread);
        rows.append(messages.at(root >= 0 ? root : position));
    }
    return rows;
}
