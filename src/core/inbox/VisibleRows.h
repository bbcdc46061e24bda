#pragma once

#include "InboxFilter.h"

#include "records/ConversationKind.h"
#include "records/InboxScope.h"
#include "records/Message.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QUuid>

#include <optional>

class QueryMatcher;
class ThreadIndex;

// Which messages of a list the panel shows as rows, and in what order: the messages of the scope that the
// filter, label, kind and search admit, focused ones first (by focus order); a live inbox shows one row per
// thread, where the thread first occurs, with the thread's oldest released member.
class VisibleRows
{
public:
    struct Criteria
    {
        InboxScope scope;
        InboxFilter filter = InboxFilter::all;
        QString label;                        // "All labels": any
        std::optional<ConversationKind> kind; // team inboxes only
        QString query;                        // empty: no search
        QSet<QUuid> focused;
        QList<QUuid> focusOrder;
        bool live = false;
    };

    // The rows of `messages`, whose thread index is `threads`.
    static QList<Message> rows(const QList<Message> &messages, ThreadIndex &threads, const Criteria &criteria);
    // Whether the message passes the filter, label, kind and search (`matcher`: none without a search).
    static bool admitted(const Message &message, const Criteria &criteria, const QueryMatcher *matcher);
};
