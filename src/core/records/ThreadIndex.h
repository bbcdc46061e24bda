#pragma once

#include "Message.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringView>
#include <QUuid>

#include <optional>
#include <utility>
#include <vector>

// Thread keys and thread members of one message list, computed once per list.
//
// A live inbox groups messages into threads: a team conversation that is not a shared-inbox message is one
// thread; personal messages and shared-inbox messages follow their reply chain to its root. The demo inbox
// treats every message as its own thread.
//
// Every message of the list gets a small integer thread number in one linear pass (reply parents are found
// through a table of server message ids, not by searching the list); key texts and member lists are built
// only for the threads somebody asks about.
class ThreadIndex
{
public:
    // Keeps (a shared copy of) the list, so an index can be built on another thread and handed over with
    // its list.
    ThreadIndex(const QList<Message> &messages, bool live);

    const QList<Message> &messages() const { return m_messages; }

    // The thread key of a message (of this list or not).
    QString key(const Message &message);
    QString keyAt(qsizetype position);
    // The released members of the thread of a message, oldest first (ties by canonical id text).
    const QList<Message> &members(const Message &message);
    // Thread number of the message at a list position.
    int threadAt(qsizetype position) const { return m_threadOf[std::size_t(position)]; }
    int threadCount() const { return int(m_threads.size()); }
    // List position of the oldest released member of a thread, or -1 when it has none.
    qsizetype rootOf(int thread);

    // What the list holds per scope, counted once per list.
    struct ScopeSummary
    {
        std::vector<qsizetype> positions; // in list order
        int unread = 0;                   // unread and released
        int directUnread = 0;             // unread, released, direct
        int review = 0;                   // not released
    };
    // The summary of a scope, or null when the list has no message in it.
    const ScopeSummary *scope(const InboxScope &scope);
    int totalUnread();

private:
    struct Thread
    {
        int conversation = -1; // index into m_conversations
        QString tag;           // what follows "scope:conversation:" in the key
        std::vector<qsizetype> positions;
        std::optional<qsizetype> root;
        std::optional<QList<Message>> members;
    };
    struct Conversation
    {
        QString scope;
        QString id;
    };

    int conversationOf(const Message &message);
    int findConversation(const Message &message);
    int threadFor(int conversation, const QString &tag);
    // The tag of a message's thread: its reply chain's root server id (or local id), or a missing parent's id.
    QString chainTag(const Message &message) const;
    // The same for the message at a list position, sharing the work of walks that meet.
    struct ChainTags
    {
        explicit ChainTags(std::size_t count) : state(count, 0), tag(count) {}
        std::vector<char> state;
        std::vector<QString> tag;
        std::vector<qsizetype> walk;
    };
    QString chainTagAt(qsizetype position, ChainTags &tags) const;
    // The first list position holding `reference` in the message's conversation, or -1.
    qsizetype parentOf(const Message &message, const QString &reference) const;
    QString keyOf(int thread) const;
    const QList<Message> &membersOf(int thread);
    std::optional<qsizetype> positionOf(const QUuid &id);
    static bool older(const Message &a, const Message &b);

    // The first list position holding each server message id: a flat table sized once for the list, with
    // each id's hash beside its position, so a lookup reads message texts only when the hashes agree.
    class ServerIDTable
    {
    public:
        ServerIDTable(const QList<Message> &messages, qsizetype expected);
        Q_DISABLE_COPY_MOVE(ServerIDTable) // it reads the index's own list
        // The slot's position for `id`: -1 while none is stored (assign it to store one).
        qsizetype &slot(QStringView id);
        qsizetype find(QStringView id) const;

    private:
        struct Slot
        {
            std::size_t hash = 0;
            qsizetype position = -1;
        };
        static std::size_t hashOf(QStringView id);
        std::size_t slotOf(QStringView id, std::size_t hash) const;

        const QList<Message> &m_messages;
        std::vector<Slot> m_slots;
        std::size_t m_mask = 0;
    };

    const QList<Message> m_messages;
    const bool m_live;
    ServerIDTable m_firstByServerID;
    std::vector<qsizetype> m_nextSameServerID;   // the next position with the same server id, or -1
    QHash<std::pair<QString, QString>, int> m_conversationIndex;
    std::vector<Conversation> m_conversations;
    int m_lastConversation = -1;
    QHash<std::pair<int, QString>, int> m_threadIndex;
    std::vector<Thread> m_threads;
    std::vector<int> m_threadOf; // by list position
    std::optional<QHash<QUuid, qsizetype>> m_positions;
    QHash<QString, QList<Message>> m_foreignMembers; // members asked for messages outside the list
    void summarize();
    bool m_summarized = false;
    QHash<QString, ScopeSummary> m_scopes;
    int m_totalUnread = 0;
};
