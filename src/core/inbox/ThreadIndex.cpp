#include "ThreadIndex.h"

#include <QSet>

#include <algorithm>

namespace {

QString parentKey(const QString &scope, const QString &conversation, const QString &serverID)
{
    QString key;
    key.reserve(scope.size() + conversation.size() + serverID.size() + 2);
    key += scope;
    key += QChar(0x1F);
    key += conversation;
    key += QChar(0x1F);
    key += serverID;
    return key;
}

} // namespace

ThreadIndex::ThreadIndex(const QList<Message> &messages, bool live) : m_messages(messages), m_live(live)
{
    m_positions.reserve(messages.size());
    for (int i = 0; i < messages.size(); ++i) {
        const Message &message = messages[i];
        if (!m_positions.contains(message.id))
            m_positions.insert(message.id, i);
    }
    // Walk backwards so that the first match in list order is the one that stays.
    if (live) {
        for (int i = messages.size() - 1; i >= 0; --i) {
            const Message &message = messages[i];
            if (message.serverMessageID)
                m_parents.insert(parentKey(message.scope.rawValue, message.conversationID, *message.serverMessageID), i);
        }
    }
    m_keys.resize(std::size_t(messages.size()));
}

QString ThreadIndex::prefix(const Message &message)
{
    return message.scope.rawValue + QLatin1Char(':') + message.conversationID + QLatin1Char(':');
}

QString ThreadIndex::key(const Message &message) const
{
    const auto position = m_positions.constFind(message.id);
    if (position == m_positions.constEnd())
        return computeKey(message);
    QString &cached = m_keys[std::size_t(*position)];
    if (cached.isNull())
        cached = computeKey(m_messages[*position]);
    return cached;
}

QString ThreadIndex::computeKey(const Message &message) const
{
    if (!m_live)
        return Message::canonical(message.id);
    const QString head = prefix(message);
    if (!message.scope.isPersonal() && message.kind != ConversationKind::inbox)
        return head;

    const Message *current = &message;
    QSet<QString> visited;
    while (current->replyTo) {
        const QString &reference = *current->replyTo;
        if (visited.contains(reference))
            break; // a reply cycle: the walk ends here
        visited.insert(reference);
        const auto parent = m_parents.constFind(parentKey(message.scope.rawValue, message.conversationID, reference));
        if (parent == m_parents.constEnd())
            return head + reference; // the parent is not loaded: its id stands for the root
        current = &m_messages[*parent];
    }
    return head + (current->serverMessageID ? *current->serverMessageID : Message::canonical(current->id));
}

void ThreadIndex::groupAll()
{
    m_grouped = true;
    for (int i = 0; i < m_messages.size(); ++i) {
        if (m_messages[i].released)
            m_groups[key(m_messages[i])].append(i);
    }
}

const QList<Message> &ThreadIndex::members(const QString &key)
{
    const auto cached = m_members.constFind(key);
    if (cached != m_members.constEnd())
        return *cached;
    if (!m_grouped)
        groupAll();

    QList<Message> members;
    const QList<int> positions = m_groups.value(key);
    members.reserve(positions.size());
    for (const int position : positions)
        members.append(m_messages[position]);
    if (members.size() > 1) {
        std::stable_sort(members.begin(), members.end(), [](const Message &a, const Message &b) {
            if (a.sentAt != b.sentAt)
                return a.sentAt < b.sentAt;
            return Message::canonical(a.id) < Message::canonical(b.id);
        });
    }
    return *m_members.insert(key, std::move(members));
}
