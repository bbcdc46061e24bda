#include "ThreadIndex.h"

#include <QVarLengthArray>

#include <algorithm>
#include <functional>
#include <string_view>

ThreadIndex::ServerIDTable::ServerIDTable(const QList<Message> &messages, qsizetype expected) : m_messages(messages)
{
    std::size_t slots = 16;
    while (slots < std::size_t(expected) * 2)
        slots *= 2;
    m_slots.resize(slots);
    m_mask = slots - 1;
}

std::size_t ThreadIndex::ServerIDTable::hashOf(QStringView id)
{
    return std::hash<std::u16string_view>{}(std::u16string_view(id.utf16(), std::size_t(id.size())));
}

std::size_t ThreadIndex::ServerIDTable::slotOf(QStringView id, std::size_t hash) const
{
    for (std::size_t at = hash & m_mask;; at = (at + 1) & m_mask) {
        const Slot &candidate = m_slots[at];
        if (candidate.position < 0 ||
            (candidate.hash == hash && QStringView(*m_messages.at(candidate.position).serverMessageID) == id))
            return at;
    }
}

qsizetype &ThreadIndex::ServerIDTable::slot(QStringView id)
{
    const std::size_t hash = hashOf(id);
    Slot &slot = m_slots[slotOf(id, hash)];
    slot.hash = hash;
    return slot.position;
}

qsizetype ThreadIndex::ServerIDTable::find(QStringView id) const
{
    return m_slots[slotOf(id, hashOf(id))].position;
}

ThreadIndex::ThreadIndex(const QList<Message> &messages, bool live)
    : m_messages(messages), m_live(live), m_firstByServerID(m_messages, live ? messages.size() : 0)
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
    for (qsizetype i = messages.size() - 1; i >= 0; --i) {
        const Message &message = messages[i];
        if (!message.serverMessageID)
            continue;
        qsizetype &first = m_firstByServerID.slot(*message.serverMessageID);
        m_nextSameServerID[std::size_t(i)] = first; // -1 when it is the last holder of its id
        first = i;
    }

    ChainTags tags(count);
    for (std::size_t i = 0; i < count; ++i) {
        const Message &message = messages[qsizetype(i)];
        const int conversation = conversationOf(message);
        const bool wholeConversation = !message.scope.isPersonal() && message.kind != ConversationKind::inbox;
        const int thread = threadFor(conversation, wholeConversation ? QString() : chainTagAt(qsizetype(i), tags));
        m_threadOf[i] = thread;
        m_threads[std::size_t(thread)].positions.push_back(qsizetype(i));
    }
}

QString ThreadIndex::chainTagAt(qsizetype position, ChainTags &tags) const
{
    // Every message on an acyclic walk has the walk's tag, so each message is walked through once: the walk
    // stops at the first message whose tag is known. A walk that runs into a cycle takes the plain walk for
    // each message on it (its tag depends on where it starts).
    enum : char { unknown, onWalk, known, cyclic };
    const Message &start = m_messages.at(position);
    std::vector<qsizetype> &walk = tags.walk;
    walk.clear();
    QString tag;
    bool cycle = false;
    for (qsizetype at = position;;) {
        char &state = tags.state[std::size_t(at)];
        if (state == known) {
            tag = tags.tag[std::size_t(at)];
            break;
        }
        if (state != unknown) {
            cycle = true;
            break;
        }
        state = onWalk;
        walk.push_back(at);
        const Message &current = m_messages.at(at);
        if (!current.replyTo) {
            tag = current.serverMessageID ? *current.serverMessageID : Message::canonical(current.id);
            break;
        }
        const qsizetype parent = parentOf(start, *current.replyTo);
        if (parent < 0) {
            tag = *current.replyTo; // the parent is not loaded: its id stands for the root
            break;
        }
        at = parent;
    }
    for (const qsizetype at : walk) {
        tags.state[std::size_t(at)] = cycle ? cyclic : known;
        tags.tag[std::size_t(at)] = cycle ? chainTag(m_messages.at(at)) : tag;
    }
    return tags.tag[std::size_t(position)];
}

qsizetype ThreadIndex::parentOf(const Message &message, const QString &reference) const
{
    for (qsizetype at = m_firstByServerID.find(reference); at >= 0; at = m_nextSameServerID[std::size_t(at)]) {
        const Message &candidate = m_messages[at];
        if (candidate.scope == message.scope && candidate.conversationID == message.conversationID)
            return at;
    }
    return -1;
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

        const qsizetype parent = parentOf(message, reference);
        if (parent < 0)
            return reference; // the parent is not loaded: its id stands for the root
        current = &m_messages[parent];
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
