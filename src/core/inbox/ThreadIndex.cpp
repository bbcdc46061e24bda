#include "ThreadIndex.h"

#include <QVarLengthArray>

#include <algorithm>

ThreadIndex::ThreadIndex(const QList<Message> &messages, bool live) : m_messages(messages), m_live(live)
{
    const std::size_t count = std::size_t(messages.size());
    m_threadOf.resize(count);
    if (!live) {
        // Every message is its own thread.
        m_threads.resize(count);
        for (std::size_t i = 0; i < count; ++i) {
            m_threads[i].positions.push_back(qsizetype(i));
            m_threadOf[i] = int(i);
        }
        return;
    }

    // Walk backwards so that each id ends up pointing at its first position, chained in list order.
    m_nextSameServerID.assign(count, -1);
    m_firstByServerID.reserve(messages.size());
    for (qsizetype i = messages.size() - 1; i >= 0; --i) {
        const Message &message = messages[i];
        if (!message.serverMessageID)
            continue;
        auto it = m_firstByServerID.find(*message.serverMessageID);
        if (it == m_firstByServerID.end()) {
            m_firstByServerID.insert(*message.serverMessageID, i);
        } else {
            m_nextSameServerID[std::size_t(i)] = *it;
            *it = i;
        }
    }

    for (std::size_t i = 0; i < count; ++i) {
        const Message &message = messages[qsizetype(i)];
        const int conversation = conversationOf(message);
        const bool wholeConversation = !message.scope.isPersonal() && message.kind != ConversationKind::inbox;
        const int thread = threadFor(conversation, wholeConversation ? QString() : chainTag(message));
        m_threadOf[i] = thread;
        m_threads[std::size_t(thread)].positions.push_back(qsizetype(i));
    }
}

int ThreadIndex::conversationOf(const Message &message)
{
    // Messages of one conversation usually come together: try the previous one first.
    if (m_lastConversation >= 0) {
        const Conversation &last = m_conversations[std::size_t(m_lastConversation)];
        if (last.id == message.conversationID && last.scope == message.scope.rawValue)
            return m_lastConversation;
    }
    m_lastConversation = findConversation(message);
    return m_lastConversation;
}

int ThreadIndex::findConversation(const Message &message)
{
    const std::pair<QString, QString> key{message.scope.rawValue, message.conversationID};
    const auto it = m_conversationIndex.constFind(key);
    if (it != m_conversationIndex.constEnd())
        return *it;
    const int index = int(m_conversations.size());
    m_conversations.push_back({message.scope.rawValue, message.conversationID});
    m_conversationIndex.insert(key, index);
    return index;
}

int ThreadIndex::threadFor(int conversation, const QString &tag)
{
    const std::pair<int, QString> key{conversation, tag};
    const auto it = m_threadIndex.constFind(key);
    if (it != m_threadIndex.constEnd())
        return *it;
    const int index = int(m_threads.size());
    m_threads.push_back({conversation, tag, {}, std::nullopt, std::nullopt});
    m_threadIndex.insert(key, index);
    return index;
}

QString ThreadIndex::chainTag(const Message &message) const
{
    const Message *current = &message;
    QVarLengthArray<const QString *, 8> visited;
    while (current->replyTo) {
        const QString &reference = *current->replyTo;
        const bool cycle = std::any_of(visited.cbegin(), visited.cend(),
                                       [&](const QString *seen) { return *seen == reference; });
        if (cycle)
            break;
        visited.append(&reference);

        const Message *parent = nullptr;
        const auto first = m_firstByServerID.constFind(reference);
        for (qsizetype at = first == m_firstByServerID.constEnd() ? -1 : *first; at >= 0;
             at = m_nextSameServerID[std::size_t(at)]) {
            const Message &candidate = m_messages[at];
            if (candidate.scope == message.scope && candidate.conversationID == message.conversationID) {
                parent = &candidate;
                break;
            }
        }
        if (!parent)
            return reference; // the parent is not loaded: its id stands for the root
        current = parent;
    }
    return current->serverMessageID ? *current->serverMessageID : Message::canonical(current->id);
}

QString ThreadIndex::keyOf(int thread) const
{
    const Thread &t = m_threads[std::size_t(thread)];
    if (!m_live)
        return Message::canonical(m_messages[t.positions.front()].id);
    const Conversation &c = m_conversations[std::size_t(t.conversation)];
    return c.scope + QLatin1Char(':') + c.id + QLatin1Char(':') + t.tag;
}

std::optional<qsizetype> ThreadIndex::positionOf(const QUuid &id)
{
    if (!m_positions) {
        m_positions.emplace();
        m_positions->reserve(m_messages.size());
        for (qsizetype i = m_messages.size() - 1; i >= 0; --i)
            m_positions->insert(m_messages[i].id, i); // backwards: the first occurrence wins
    }
    const auto it = m_positions->constFind(id);
    if (it == m_positions->constEnd())
        return std::nullopt;
    return *it;
}

QString ThreadIndex::keyAt(qsizetype position)
{
    return keyOf(m_threadOf[std::size_t(position)]);
}

QString ThreadIndex::key(const Message &message)
{
    if (const auto position = positionOf(message.id))
        return keyAt(*position);
    // A message from outside the list: same rules, parents looked up in the list.
    if (!m_live)
        return Message::canonical(message.id);
    const QString head = message.scope.rawValue + QLatin1Char(':') + message.conversationID + QLatin1Char(':');
    if (!message.scope.isPersonal() && message.kind != ConversationKind::inbox)
        return head;
    return head + chainTag(message);
}

bool ThreadIndex::older(const Message &a, const Message &b)
{
    if (a.sentAt != b.sentAt)
        return a.sentAt < b.sentAt;
    return Message::canonical(a.id) < Message::canonical(b.id);
}

qsizetype ThreadIndex::rootOf(int thread)
{
    Thread &t = m_threads[std::size_t(thread)];
    if (!t.root) {
        qsizetype best = -1;
        for (const qsizetype position : t.positions) {
            const Message &candidate = m_messages[position];
            if (candidate.released && (best < 0 || older(candidate, m_messages[best])))
                best = position;
        }
        t.root = best;
    }
    return *t.root;
}

const QList<Message> &ThreadIndex::membersOf(int thread)
{
    Thread &t = m_threads[std::size_t(thread)];
    if (!t.members) {
        QList<Message> members;
        members.reserve(qsizetype(t.positions.size()));
        for (const qsizetype position : t.positions) {
            if (m_messages[position].released)
                members.append(m_messages[position]);
        }
        std::stable_sort(members.begin(), members.end(), older);
        t.members = std::move(members);
    }
    return *t.members;
}

const QList<Message> &ThreadIndex::members(const Message &message)
{
    if (const auto position = positionOf(message.id))
        return membersOf(m_threadOf[std::size_t(*position)]);
    // Outside the list: every released list message with the same key.
    const QString wanted = key(message);
    const auto cached = m_foreignMembers.constFind(wanted);
    if (cached != m_foreignMembers.constEnd())
        return *cached;
    for (int thread = 0; thread < threadCount(); ++thread) {
        if (keyOf(thread) == wanted)
            return *m_foreignMembers.insert(wanted, membersOf(thread));
    }
    return *m_foreignMembers.insert(wanted, QList<Message>());
}

void ThreadIndex::summarize()
{
    m_summarized = true;
    ScopeSummary *last = nullptr;
    const QString *lastScope = nullptr;
    for (qsizetype i = 0; i < m_messages.size(); ++i) {
        const Message &message = m_messages.at(i);
        // Runs of one scope are common: look the summary up only when the scope changes.
        if (!lastScope || *lastScope != message.scope.rawValue) {
            last = &m_scopes[message.scope.rawValue];
            lastScope = &message.scope.rawValue;
        }
        last->positions.push_back(i);
        if (!message.released) {
            ++last->review;
        } else if (message.unread) {
            ++last->unread;
            ++m_totalUnread;
            if (message.kind == ConversationKind::direct)
                ++last->directUnread;
        }
    }
}

const ThreadIndex::ScopeSummary *ThreadIndex::scope(const InboxScope &scope)
{
    if (!m_summarized)
        summarize();
    const auto it = m_scopes.constFind(scope.rawValue);
    return it == m_scopes.constEnd() ? nullptr : &*it;
}

int ThreadIndex::totalUnread()
{
    if (!m_summarized)
        summarize();
    return m_totalUnread;
}
