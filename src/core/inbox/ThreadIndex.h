#pragma once

#include "Message.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QUuid>

#include <vector>

// Thread keys and thread members of one message list, computed once per list.
//
// A live inbox groups messages into threads: a team conversation that is not a shared-inbox message is one
// thread; personal messages and shared-inbox messages follow their reply chain to its root. The demo inbox
// treats every message as its own thread. The index answers every lookup without searching the whole list
// again: reply parents are found through a (scope, conversation, server message id) table.
class ThreadIndex
{
public:
    ThreadIndex(const QList<Message> &messages, bool live);

    // The thread key of a message (of this list or not).
    QString key(const Message &message) const;
    // The released messages of a thread, oldest first (ties by canonical id text), built once per key.
    const QList<Message> &members(const QString &key);

private:
    static QString prefix(const Message &message);
    QString computeKey(const Message &message) const;
    void groupAll();

    const QList<Message> &m_messages;
    bool m_live;
    // First message (by list position) for each scope, conversation and server message id.
    QHash<QString, int> m_parents;
    QHash<QUuid, int> m_positions;
    // Thread key of each message, by list position; filled on first use.
    mutable std::vector<QString> m_keys;
    bool m_grouped = false;
    QHash<QString, QList<int>> m_groups;
    QHash<QString, QList<Message>> m_members; // the thread-member cache
};
