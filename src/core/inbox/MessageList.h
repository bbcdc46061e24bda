#pragma once

#include "records/InboxScope.h"
#include "records/Message.h"
#include "records/ThreadIndex.h"

#include <QHash>
#include <QList>
#include <QSet>
#include <QStringList>
#include <QUuid>

#include <memory>
#include <optional>

// The messages the inbox shows, with what is derived from the list alone: its thread index (thread keys,
// members and the counts per scope), built when first asked for unless it came with the list.
class MessageList
{
public:
    // A live list groups messages into threads; a demo list treats every message as its own thread.
    explicit MessageList(bool live) : m_live(live) {}

    const QList<Message> &messages() const { return m_messages; }
    // A new list with the thread index built for it (null: built when first asked for). The very same list
    // again (shared data, as a snapshot in which nothing changed gives) keeps the index it has.
    void set(QList<Message> messages, std::unique_ptr<ThreadIndex> threads = nullptr);
    ThreadIndex &threads() const;
    // Hands over the index of the current list (it is built again when next asked for).
    std::unique_ptr<ThreadIndex> takeThreads() { return std::move(m_threads); }

    std::optional<Message> find(const QUuid &id) const;
    QList<Message> scoped(const InboxScope &scope) const;
    // The released messages of `order`, in that order.
    QList<Message> inOrder(const QList<QUuid> &order) const;
    int unreadCount(const InboxScope &scope) const;
    int totalUnreadCount() const;
    int directUnreadCount(const InboxScope &scope) const;
    int reviewCount(const InboxScope &scope) const;
    // The scopes by unread count (most first), then by name.
    QList<InboxScope> sortedScopes(const QList<InboxScope> &scopes, const QHash<InboxScope, QString> &names) const;
    // The labels of the scope's messages (and of `extra`), sorted, each once.
    QStringList labels(const InboxScope &scope, const QList<Message> &extra = {}) const;

    // What a card focuses: the focused member of its thread that comes first in `focusOrder`, else the
    // thread's newest member (the message itself when the thread has none).
    Message cardFocusTarget(const Message &message, const QList<QUuid> &focusOrder);
    bool cardIsFocused(const Message &message, const QSet<QUuid> &focused);

private:
    const bool m_live;
    QList<Message> m_messages;
    mutable std::unique_ptr<ThreadIndex> m_threads; // holds the thread-member cache and the scope counts
};
