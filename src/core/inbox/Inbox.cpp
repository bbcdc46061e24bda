#include "Inbox.h"

#include "ArrivalTracker.h"
#include "DemoSamples.h"
#include "QueryMatcher.h"
#include "VisibleMessageList.h"

#include "liveinbox/LiveInboxConnection.h"
#include "liveinbox/WireDecoder.h"

#include "notch/NotchGeometry.h"
#include "notch/ReaderSizeEstimator.h"

#include <QUrlQuery>

#include <algorithm>
#include <numeric>
#include <utility>
#include <QCoreApplication>

namespace {

// Stores a value; tells whether it changed (an equal value is not written, so nobody is notified).
template <class T, class U>
bool assign(T &field, U &&value)
{
    if (field == value)
        return false;
    field = std::forward<U>(value);
    return true;
}

const QString readOperation = QStringLiteral("read");
const QString focusOperation = QStringLiteral("focus");
const QString unfocusOperation = QStringLiteral("unfocus");

} // namespace

Inbox::Inbox(bool live, InboxServices services, QObject *parent)
    : QObject(parent), m_services(std::move(services)), m_scheduler(*m_services.scheduler),
      m_arrivalTracker(std::make_unique<ArrivalTracker>()), m_live(live)
{
    m_scopeNames = {{InboxScope::personal(), QStringLiteral("Personal inbox")},
                    {InboxScope::demoTeamLaunch(), QStringLiteral("Launch crew")}};
    if (live) {
        m_availableScopes = {InboxScope::personal()};
        m_loading = true;
    } else {
        m_messages = DemoSamples::instance().samples();
        m_availableScopes = InboxScope::allCases();
    }
    m_geometry = {presentation(), compactWidth(), contentWidth(), contentHeight(), height(), canResizeReader()};
    m_counts = {totalUnreadCount(), unreadCount(), scopeName()};
    connect(this, &Inbox::scopeChanged, this, &Inbox::updateCounts);
    connect(this, &Inbox::scopeNamesChanged, this, &Inbox::updateCounts);
    m_visibleList = new VisibleMessageList(*this);
    m_controls = new ListControls(*this);
    m_selectedBlocks = new MessageBlockList(this);
    m_selectedBlocks->setFramed(true);
    m_reader = new ReaderState(*this);
    connect(this, &Inbox::selectedIDChanged, this, &Inbox::selectedMessageChanged);
    connect(this, &Inbox::messagesChanged, this, &Inbox::selectedMessageChanged);
    connect(this, &Inbox::selectedMessageChanged, this, [this] {
        const std::optional<Message> message = selected();
        m_selectedBlocks->show(message ? message->body : QString(),
                               message ? m_contentCache.content(message->body) : nullptr);
    });
}

VisibleMessageList *Inbox::visibleMessages() const
{
    return m_visibleList;
}

std::optional<Message> Inbox::messageWithID(const QString &id) const
{
    const QUuid uuid = QUuid::fromString(id);
    if (uuid.isNull())
        return std::nullopt;
    for (const Message &message : m_messages) {
        if (message.id == uuid)
            return message;
    }
    return std::nullopt;
}

void Inbox::selectMessage(const QString &id)
{
    if (const std::optional<Message> message = messageWithID(id))
        select(*message);
}

void Inbox::toggleCardFocus(const QString &id)
{
    if (const std::optional<Message> message = messageWithID(id))
        toggleFocus(cardFocusTarget(*message));
}

void Inbox::toggleMessageFocus(const QString &id)
{
    if (const std::optional<Message> message = messageWithID(id))
        toggleFocus(*message);
}

void Inbox::setTeamLabelFor(const QString &label, const QString &id)
{
    const QUuid uuid = QUuid::fromString(id);
    if (!uuid.isNull())
        setTeamLabel(label, uuid);
}

QString Inbox::selectedSubject() const
{
    const std::optional<Message> message = selected();
    return message ? message->subject : QString();
}

QString Inbox::selectedBody() const
{
    const std::optional<Message> message = selected();
    return message ? message->body : QString();
}

Inbox::~Inbox()
{
    // Tasks scheduled on behalf of this inbox must not outlive it.
    for (const Scheduler::TimerId id : std::as_const(m_posted))
        m_scheduler.cancel(id);
    m_subscription.reset();
}

Scheduler::TimerId Inbox::post(double seconds, std::function<void()> task)
{
    auto id = std::make_shared<Scheduler::TimerId>(0);
    *id = m_scheduler.schedule(seconds, [this, id, task = std::move(task)] {
        m_posted.remove(*id);
        task();
    });
    m_posted.insert(*id);
    return *id;
}

// ---------------------------------------------------------------------------------------------------------
// Field writes

void Inbox::setMessages(QList<Message> messages)
{
    setMessages(std::move(messages), nullptr);
}

void Inbox::setMessages(QList<Message> messages, std::unique_ptr<ThreadIndex> threads)
{
    // The thread index depends on nothing but the list: a write of the very same list (shared data, as a
    // snapshot in which nothing changed gives) leaves it valid.
    const bool sameList = messages.size() == m_messages.size() && messages.constData() == m_messages.constData();
    m_messages = std::move(messages);
    m_cachedReaderSize.reset();
    if (!sameList) {
        const bool built = threads && threads->messages().constData() == m_messages.constData() &&
                           threads->messages().size() == m_messages.size();
        m_threads = built ? std::move(threads) : nullptr;
    }
    Q_EMIT messagesChanged();
    updateCounts();
    updateGeometry();
}

void Inbox::setLoading(bool loading)
{
    if (assign(m_loading, loading))
        Q_EMIT loadingChanged();
}

void Inbox::setConnectionError(std::optional<QString> error)
{
    if (assign(m_connectionError, error))
        Q_EMIT connectionErrorChanged();
}

void Inbox::setActionError(std::optional<QString> error)
{
    if (assign(m_actionError, error))
        Q_EMIT actionErrorChanged();
}

void Inbox::setDirectDraft(const QString &draft)
{
    if (assign(m_directDraft, draft))
        Q_EMIT directDraftChanged();
}

void Inbox::setReplyDraft(const QString &threadKey, const QString &text)
{
    const auto it = m_replyDrafts.constFind(threadKey);
    if (it != m_replyDrafts.constEnd() && *it == text)
        return;
    m_replyDrafts.insert(threadKey, text);
    Q_EMIT replyDraftsChanged();
}

void Inbox::setReplyStatus(std::optional<QString> status)
{
    if (assign(m_replyStatus, status))
        Q_EMIT replyStatusChanged();
}

void Inbox::setRefreshInFlight(bool inFlight)
{
    if (assign(m_refreshInFlight, inFlight))
        Q_EMIT refreshInFlightChanged();
}

void Inbox::setRefreshPending(bool pending)
{
    if (assign(m_refreshPending, pending))
        Q_EMIT refreshPendingChanged();
}

void Inbox::setDrainingChanges(bool draining)
{
    if (assign(m_drainingChanges, draining))
        Q_EMIT drainingChangesChanged();
}

void Inbox::setGeometryProfile(GeometryProfile profile)
{
    if (assign(m_geometryProfile, profile))
        Q_EMIT geometryProfileChanged();
}

void Inbox::setExpanded(bool expanded)
{
    if (!assign(m_expanded, expanded))
        return;
    Q_EMIT expandedChanged();
    setGeometryProfile(NotchMotion::profileForExpandedChange());
    updateGeometry();
    if (m_onHoverStateChange)
        m_onHoverStateChange();
}

void Inbox::setPinned(bool pinned)
{
    if (!assign(m_pinned, pinned))
        return;
    Q_EMIT pinnedChanged();
    if (m_onHoverStateChange)
        m_onHoverStateChange();
}

void Inbox::setFocusHoldsOpen(bool hold)
{
    if (assign(m_focusHoldsOpen, hold))
        Q_EMIT focusHoldsOpenChanged();
}

void Inbox::setSelectedID(std::optional<QUuid> id)
{
    if (!assign(m_selectedID, id))
        return;
    m_cachedReaderSize.reset();
    Q_EMIT selectedIDChanged();
    setReaderTucked(false);
    setGeometryProfile(NotchMotion::profileForSelectionChange(m_expanded));
    updateGeometry();
}

void Inbox::setReaderTucked(bool tucked)
{
    if (!assign(m_readerTucked, tucked))
        return;
    Q_EMIT readerTuckedChanged();
    setGeometryProfile(NotchMotion::profileForReaderTuckedChange(m_expanded));
    updateGeometry();
}

void Inbox::setFilter(InboxFilter filter)
{
    if (assign(m_filter, filter))
        Q_EMIT filterChanged();
}

void Inbox::setScope(const InboxScope &scope)
{
    if (assign(m_scope, scope))
        Q_EMIT scopeChanged();
}

void Inbox::setQuery(const QString &query)
{
    if (assign(m_query, query))
        Q_EMIT queryChanged();
}

void Inbox::setLabel(const QString &label)
{
    if (assign(m_label, label))
        Q_EMIT labelChanged();
}

void Inbox::setKind(std::optional<ConversationKind> kind)
{
    if (assign(m_kind, kind))
        Q_EMIT kindChanged();
}

void Inbox::setArrival(bool arrival)
{
    if (!assign(m_arrival, arrival))
        return;
    Q_EMIT arrivalChanged();
    if (m_onHoverStateChange)
        m_onHoverStateChange();
}

void Inbox::setNotchWidth(double width)
{
    if (!assign(m_notchWidth, width))
        return;
    Q_EMIT notchWidthChanged();
    updateGeometry();
}

void Inbox::setTopInset(double inset)
{
    if (!assign(m_topInset, inset))
        return;
    Q_EMIT topInsetChanged();
    updateGeometry();
}

void Inbox::setHasNotch(bool hasNotch)
{
    if (!assign(m_hasNotch, hasNotch))
        return;
    Q_EMIT hasNotchChanged();
    updateGeometry();
}

void Inbox::setKeepsTab(bool keepsTab)
{
    if (!assign(m_keepsTab, keepsTab))
        return;
    Q_EMIT keepsTabChanged();
    updateGeometry();
}

void Inbox::setFocus(QList<QUuid> order)
{
    if (m_focusOrder != order) {
        m_focusOrder = std::move(order);
        Q_EMIT focusOrderChanged();
    }
    QSet<QUuid> ids(m_focusOrder.cbegin(), m_focusOrder.cend());
    if (m_focusedIDs != ids) {
        m_focusedIDs = std::move(ids);
        Q_EMIT focusedIDsChanged();
    }
}

QVariant Inbox::connectionErrorValue() const
{
    return m_connectionError ? QVariant(*m_connectionError) : QVariant();
}

QVariant Inbox::actionErrorValue() const
{
    return m_actionError ? QVariant(*m_actionError) : QVariant();
}

void Inbox::setActionErrorValue(const QVariant &value)
{
    setActionError(value.isNull() ? std::nullopt : std::optional<QString>(value.toString()));
}

QVariant Inbox::replyStatusValue() const
{
    return m_replyStatus ? QVariant(*m_replyStatus) : QVariant();
}

void Inbox::setFilterValue(int value)
{
    if (value >= int(InboxFilter::all) && value <= int(InboxFilter::review))
        setFilter(InboxFilter(value));
}

// ---------------------------------------------------------------------------------------------------------
// Sync cycle

void Inbox::startSync()
{
    if (!m_live || m_syncing)
        return;
    m_syncing = true;
    Q_EMIT syncingChanged();
    syncPass();
}

void Inbox::syncPass()
{
    refresh([this] { subscribe(); });
}

void Inbox::subscribe()
{
    if (!m_services.hints)
        return;
    m_subscription = m_services.hints->notifications(
        [this](std::function<void()> handled) { refresh(std::move(handled)); },
        [this](Result<void> result) {
            // The finished call is released on the next turn, not from inside its own callback.
            std::shared_ptr<HintSubscription> finished = std::move(m_subscription);
            post(0, [finished] {});
            if (result.ok()) {
                syncPass();
                return;
            }
            refresh([this] {
                post(30, [this] { syncPass(); });
            });
        });
}

void Inbox::renewSync()
{
    if (m_subscription)
        m_subscription->cancel(); // a normal end: the loop goes round again at once
}

void Inbox::refresh(std::function<void()> done)
{
    // A demo inbox has no service to ask.
    if (!m_services.connection) {
        if (done)
            done();
        return;
    }
    // No snapshot while local changes wait; the request runs once they are all answered.
    if (!m_changes.isEmpty()) {
        m_refreshAfterChanges = true;
        if (done)
            done();
        return;
    }
    if (m_refreshInFlight) {
        setRefreshPending(true);
        if (done)
            done();
        return;
    }
    setRefreshInFlight(true);
    const qint64 startRevision = m_revision;
    m_services.connection->run(
        QStringLiteral("snapshot"), std::nullopt, std::nullopt, {},
        [this, startRevision, done = std::move(done)](Result<QByteArray> output) mutable {
            auto finish = [this, startRevision, done = std::move(done)](Result<PreparedSnapshot> snapshot) {
                finishRefresh(startRevision, std::move(snapshot));
                if (done)
                    done();
            };
            if (!output.ok()) {
                finish(output.failure());
            } else if (m_services.prepareSnapshot) {
                // Decoded and converted away from here, through a copy of the cache as it is now: nothing
                // but an applied snapshot changes the cache, and only one snapshot is on its way at a time.
                m_services.prepareSnapshot(std::move(output).value(), m_messageCache, std::move(finish));
            } else if (m_services.decodeSnapshot) {
                m_services.decodeSnapshot(std::move(output).value(),
                                          [this, finish = std::move(finish)](Result<LiveSnapshot> snapshot) {
                                              if (!snapshot.ok())
                                                  finish(snapshot.failure());
                                              else
                                                  finish(PreparedSnapshot::convert(std::move(snapshot).value(),
                                                                                   m_messageCache));
                                          });
            } else {
                finish(PreparedSnapshot::prepare(output.value(), m_messageCache));
            }
        });
}

void Inbox::finishRefresh(qint64 startRevision, Result<PreparedSnapshot> snapshot)
{
    if (m_revision == startRevision) {
        if (snapshot.ok()) {
            apply(snapshot.value());
            setLoading(false);
        } else {
            clearAfterFailure(snapshot.failure().description);
        }
    } else if (m_changes.isEmpty()) {
        // Raced with local changes that are already answered: fetch again now.
        setRefreshPending(true);
    } else {
        // Raced with local changes still waiting: fetch again once they are answered.
        m_refreshAfterChanges = true;
    }
    setRefreshInFlight(false);
    if (m_refreshPending) {
        setRefreshPending(false);
        post(0, [this] { refresh(); });
    }
}

void Inbox::clearAfterFailure(const QString &description)
{
    setMessages({});
    m_messageCache.reset();
    m_contentCache.clear();
    setFocus({});
    setSelectedID(std::nullopt);
    setConnectionError(description);
    setLoading(false);
}

void Inbox::apply(PreparedSnapshot &prepared)
{
    const LiveSnapshot &snapshot = prepared.snapshot;
    const SnapshotRecords &records = prepared.records;
    const QString &accountID = records.accountID;
    const QString &origin = records.origin;

    // 1. Account change: per-account state goes.
    if (m_accountID && (*m_accountID != accountID || !m_serviceOrigin || *m_serviceOrigin != origin)) {
        close();
        m_contentCache.clear();
        if (!m_replyDrafts.isEmpty()) {
            m_replyDrafts.clear();
            Q_EMIT replyDraftsChanged();
        }
        m_pendingReplies.clear();
        Q_EMIT pendingRepliesChanged();
        if (!m_replyIdentities.isEmpty()) {
            m_replyIdentities.clear();
            Q_EMIT replyIdentitiesChanged();
        }
        setReplyStatus(std::nullopt);
    }

    // 2. Account.
    if (m_accountID != accountID) {
        m_accountID = accountID;
        Q_EMIT accountIDChanged();
    }
    if (m_serviceOrigin != origin) {
        m_serviceOrigin = origin;
        Q_EMIT serviceOriginChanged();
    }

    // 3-4. Scope names and list.
    QHash<InboxScope, QString> names;
    QList<InboxScope> scopes;
    scopes.reserve(records.scopes.size());
    for (const ScopeRecord &scope : records.scopes) {
        names.insert(scope.id, scope.name);
        scopes.append(scope.id);
    }
    if (m_scopeNames != names) {
        m_scopeNames = std::move(names);
        Q_EMIT scopeNamesChanged();
    }
    if (m_availableScopes != scopes) {
        m_availableScopes = std::move(scopes);
        Q_EMIT availableScopesChanged();
    }

    // 5. A vanished scope falls back to the personal inbox (which stays as it is when it is already shown,
    // listed or not).
    if (!m_availableScopes.contains(m_scope) && !m_scope.isPersonal())
        switchScope(InboxScope::personal());

    // 6-7. Arrival detection, then the messages through the conversion cache (converted already; the cache
    // that converted them takes the place of the inbox's). When the cache hands back the very list the inbox
    // already shows, every record is one it has seen, which spares the tracker its lookups.
    // What the new list and cache replace goes where the snapshot was prepared, when that is elsewhere.
    struct Retired
    {
        LiveMessageCache cache;
        QList<Message> messages;
        std::unique_ptr<ThreadIndex> threads;
    };
    std::shared_ptr<Retired> retired;
    if (prepared.release)
        retired = std::make_shared<Retired>(Retired{m_messageCache, m_messages, nullptr});
    m_messageCache = std::move(prepared.cache);
    QList<Message> converted = std::move(prepared.messages);
    if (retired && converted.constData() != m_messages.constData())
        retired->threads = std::move(m_threads);
    const bool sameRecords = converted.size() == m_messages.size() && converted.constData() == m_messages.constData();
    const std::optional<QUuid> arrived = m_arrivalTracker->consume(snapshot, sameRecords);
    setMessages(std::move(converted), std::move(prepared.threads));
    if (retired)
        prepared.release(std::move(retired));

    // 8. Pending replies that the snapshot shows back.
    if (!m_pendingReplies.isEmpty()) {
        QHash<QString, QSet<QString>> shownByServerID;
        for (const Message &message : std::as_const(m_messages)) {
            if (message.serverMessageID)
                shownByServerID[*message.serverMessageID].insert(threadKey(message));
        }
        QList<PendingReply> remaining;
        for (const PendingReply &reply : std::as_const(m_pendingReplies)) {
            const bool shown = reply.serverID && shownByServerID.value(*reply.serverID).contains(reply.thread);
            if (!shown)
                remaining.append(reply);
        }
        if (remaining.size() != m_pendingReplies.size()) {
            m_pendingReplies = std::move(remaining);
            Q_EMIT pendingRepliesChanged();
        }
    }

    // 9. Label colours by display name.
    QHash<InboxScope, QHash<QString, QString>> colors;
    for (const ScopeRecord &scope : records.scopes)
        colors.insert(scope.id, scope.labelColors);
    if (m_labelColors != colors) {
        m_labelColors = std::move(colors);
        Q_EMIT labelColorsChanged();
    }

    // 10. Announce an arrival.
    if (arrived)
        announceArrival(*arrived);

    // 11. Confirmed focus: focused messages by focus index (stable), as local ids.
    QList<QUuid> focusOrder = records.focusOrder;
    setFocus(focusOrder);
    if (m_confirmedFocus != focusOrder) {
        m_confirmedFocus = std::move(focusOrder);
        Q_EMIT confirmedFocusChanged();
    }

    // 12. Confirmed unread state.
    // A snapshot that changed no record leaves the map as the last snapshot made it, unless a saved change
    // has been confirmed since.
    bool unreadUnchanged = sameRecords && m_confirmedUnreadFromSnapshot;
    if (!unreadUnchanged)
        unreadUnchanged = m_confirmedUnread.size() <= m_messages.size();
    for (qsizetype i = 0; unreadUnchanged && !(sameRecords && m_confirmedUnreadFromSnapshot) && i < m_messages.size();
         ++i) {
        const auto it = m_confirmedUnread.constFind(m_messages.at(i).id);
        unreadUnchanged = it != m_confirmedUnread.constEnd() && *it == m_messages.at(i).unread;
    }
    if (unreadUnchanged && !(sameRecords && m_confirmedUnreadFromSnapshot)) {
        // Same keys? Every message has an entry; the map may still hold ids that left.
        QSet<QUuid> ids;
        if (m_confirmedUnread.size() != m_messages.size()) {
            for (const Message &message : std::as_const(m_messages))
                ids.insert(message.id);
            unreadUnchanged = ids.size() == m_confirmedUnread.size();
        }
    }
    if (!unreadUnchanged) {
        QHash<QUuid, bool> unread;
        unread.reserve(m_messages.size());
        for (const Message &message : std::as_const(m_messages))
            unread.insert(message.id, message.unread);
        m_confirmedUnread = std::move(unread);
        Q_EMIT confirmedUnreadChanged();
    }
    m_confirmedUnreadFromSnapshot = true;

    // 13. A selection that is gone.
    if (m_selectedID && !selected())
        setSelectedID(std::nullopt);

    // 14.
    setConnectionError(std::nullopt);
    setLoading(false);
}

void Inbox::announceArrival(const QUuid &id)
{
    if (m_latestArrivalID != id) {
        m_latestArrivalID = id;
        Q_EMIT latestArrivalIDChanged();
    }
    setArrival(true);
    if (m_onArrival)
        m_onArrival();
    if (m_arrivalTask) {
        m_scheduler.cancel(m_arrivalTask);
        m_posted.remove(m_arrivalTask);
    }
    m_arrivalTask = post(4, [this] {
        m_arrivalTask = 0;
        setArrival(false);
    });
}

// ---------------------------------------------------------------------------------------------------------
// Visible list, threads and counts

ThreadIndex &Inbox::threads() const
{
    if (!m_threads)
        m_threads = std::make_unique<ThreadIndex>(m_messages, m_live);
    return *m_threads;
}

QList<Message> Inbox::scopedMessages() const
{
    QList<Message> result;
    if (const ThreadIndex::ScopeSummary *summary = threads().scope(m_scope)) {
        result.reserve(qsizetype(summary->positions.size()));
        for (const qsizetype position : summary->positions)
            result.append(m_messages.at(position));
    }
    return result;
}

bool Inbox::admitted(const Message &message, const QueryMatcher *matcher) const
{
    const bool personal = m_scope.isPersonal();
    switch (m_filter) {
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
        if (!message.released || !m_focusedIDs.contains(message.id))
            return false;
        break;
    case InboxFilter::review:
        if (message.released)
            return false;
        break;
    }
    if (m_label != allLabels && message.category != m_label)
        return false;
    if (!personal && m_kind && message.kind != *m_kind)
        return false;
    if (!matcher)
        return true;
    return matcher->matches(message.sender) || matcher->matches(message.subject) || matcher->matches(message.body) ||
           matcher->matches(message.conversation);
}

QList<Message> Inbox::visible()
{
    std::optional<QueryMatcher> matcher;
    if (!m_query.isEmpty())
        matcher.emplace(m_query);

    std::vector<qsizetype> admittedPositions;
    QHash<QUuid, qsizetype> firstFocused;
    static const std::vector<qsizetype> none;
    const ThreadIndex::ScopeSummary *scoped = threads().scope(m_scope);
    for (const qsizetype i : scoped ? scoped->positions : none) {
        const Message &message = m_messages.at(i);
        if (!admitted(message, matcher ? &*matcher : nullptr))
            continue;
        admittedPositions.push_back(i);
        if (m_focusedIDs.contains(message.id) && !firstFocused.contains(message.id))
            firstFocused.insert(message.id, i);
    }

    std::vector<qsizetype> ordered;
    ordered.reserve(admittedPositions.size());
    for (const QUuid &id : std::as_const(m_focusOrder)) {
        const auto it = firstFocused.constFind(id);
        if (it != firstFocused.constEnd())
            ordered.push_back(*it);
    }
    for (const qsizetype position : admittedPositions) {
        if (!m_focusedIDs.contains(m_messages.at(position).id))
            ordered.push_back(position);
    }

    QList<Message> rows;
    if (!m_live) {
        rows.reserve(qsizetype(ordered.size()));
        for (const qsizetype position : ordered)
            rows.append(m_messages.at(position));
        return rows;
    }
    // One row per thread, where the thread first occurs, showing the thread's oldest released member.
    ThreadIndex &index = threads();
    std::vector<char> seen(std::size_t(index.threadCount()), 0);
    for (const qsizetype position : ordered) {
        const int thread = index.threadAt(position);
        if (seen[std::size_t(thread)])
            continue;
        seen[std::size_t(thread)] = 1;
        const qsizetype root = index.rootOf(thread);
        rows.append(m_messages.at(root >= 0 ? root : position));
    }
    return rows;
}

std::optional<Message> Inbox::selected() const
{
    if (!m_selectedID)
        return std::nullopt;
    for (const Message &message : m_messages) {
        if (message.id == *m_selectedID)
            return message;
    }
    return std::nullopt;
}

QList<Message> Inbox::focusedMessages() const
{
    QList<Message> result;
    for (const QUuid &id : m_focusOrder) {
        for (const Message &message : m_messages) {
            if (message.id == id && message.released) {
                result.append(message);
                break;
            }
        }
    }
    return result;
}

QString Inbox::threadKey(const Message &message)
{
    return threads().key(message);
}

QList<Message> Inbox::members(const Message &message)
{
    return threads().members(message);
}

QList<ConversationReply> Inbox::replyRows(const Message &message, bool excludingRoot)
{
    const QString key = threadKey(message);
    QList<ConversationReply> rows;
    QSet<QString> serverIDs;
    for (const Message &member : members(message)) {
        if (excludingRoot && member.id == message.id)
            continue;
        QUuid id = member.id;
        if (member.serverMessageID) {
            serverIDs.insert(*member.serverMessageID);
            const auto identity = m_replyIdentities.constFind(*member.serverMessageID);
            if (identity != m_replyIdentities.constEnd())
                id = *identity;
        }
        const bool mine = m_accountID && *m_accountID == member.senderAccountID;
        rows.append({id, mine ? QStringLiteral("You") : member.sender, member.body, member, QString()});
    }
    for (const PendingReply &reply : std::as_const(m_pendingReplies)) {
        if (reply.thread == key && (!reply.serverID || !serverIDs.contains(*reply.serverID)))
            rows.append({reply.id, QStringLiteral("You"), reply.body, std::nullopt, reply.status});
    }
    return rows;
}

int Inbox::unreadCount() const
{
    return unreadCount(m_scope);
}

int Inbox::unreadCount(const InboxScope &scope) const
{
    const ThreadIndex::ScopeSummary *summary = threads().scope(scope);
    return summary ? summary->unread : 0;
}

int Inbox::totalUnreadCount() const
{
    return threads().totalUnread();
}

int Inbox::directUnreadCount() const
{
    const ThreadIndex::ScopeSummary *summary = threads().scope(m_scope);
    return summary ? summary->directUnread : 0;
}

int Inbox::reviewCount() const
{
    const ThreadIndex::ScopeSummary *summary = threads().scope(m_scope);
    return summary ? summary->review : 0;
}

QString Inbox::scopeName() const
{
    const auto it = m_scopeNames.constFind(m_scope);
    return it == m_scopeNames.constEnd() ? QCoreApplication::translate("Inbox", "Inbox") : *it;
}

QList<InboxScope> Inbox::sortedScopes() const
{
    QList<InboxScope> scopes = m_availableScopes;
    std::vector<int> unread;
    unread.reserve(std::size_t(scopes.size()));
    for (const InboxScope &scope : std::as_const(scopes))
        unread.push_back(unreadCount(scope));
    std::vector<qsizetype> order(std::size_t(scopes.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int countA = unread[std::size_t(a)];
        const int countB = unread[std::size_t(b)];
        if (countA != countB)
            return countA > countB;
        return m_scopeNames.value(scopes.at(a)) < m_scopeNames.value(scopes.at(b));
    });
    QList<InboxScope> sorted;
    sorted.reserve(scopes.size());
    for (const qsizetype position : order)
        sorted.append(scopes.at(position));
    return sorted;
}

void Inbox::switchScope(const InboxScope &scope)
{
    setScope(scope);
    setSelectedID(std::nullopt);
    setFilter(InboxFilter::all);
    setQuery(QString());
    setLabel(allLabels);
    setKind(std::nullopt);
}

// ---------------------------------------------------------------------------------------------------------
// Local changes

void Inbox::applyChange(const LocalChange &change, QList<QUuid> &focus, QHash<QUuid, bool> &unread)
{
    if (change.operation == readOperation) {
        unread.insert(change.localID, false);
        return;
    }
    focus.removeAll(change.localID);
    if (change.operation == focusOperation)
        focus.prepend(change.localID);
}

void Inbox::projectChanges()
{
    QList<QUuid> focus = m_confirmedFocus;
    QHash<QUuid, bool> unread = m_confirmedUnread;
    for (const LocalChange &change : std::as_const(m_changes))
        applyChange(change, focus, unread);
    setFocus(std::move(focus));

    QList<Message> messages = m_messages;
    for (Message &message : messages) {
        const auto it = unread.constFind(message.id);
        if (it != unread.constEnd())
            message.unread = *it;
    }
    setMessages(std::move(messages));
}

void Inbox::mutate(const QString &operation, const Message &message)
{
    if (!message.remoteID || !message.released)
        return;
    QList<Message> targets;
    if (operation == readOperation) {
        for (const Message &member : members(message)) {
            if (member.unread)
                targets.append(member);
        }
    } else {
        targets.append(message);
    }
    bool queued = false;
    for (const Message &target : std::as_const(targets)) {
        if (target.remoteID) {
            m_changes.append({operation, target.id, *target.remoteID});
            queued = true;
        }
    }
    if (queued)
        Q_EMIT changesChanged();
    if (m_changes.isEmpty())
        return;

    ++m_revision;
    Q_EMIT revisionChanged();
    projectChanges();
    if (operation == focusOperation) {
        setFocusHoldsOpen(true);
        setPinned(true);
        open();
    }
    if (!m_drainingChanges) {
        setDrainingChanges(true);
        post(0, [this] { drain(); });
    }
}

void Inbox::drain()
{
    if (m_changes.isEmpty()) {
        setDrainingChanges(false);
        if (std::exchange(m_refreshAfterChanges, false))
            refresh();
        return;
    }
    const LocalChange change = m_changes.first();
    auto finish = [this, change](Result<QByteArray> output) { finishChange(change, std::move(output)); };
    if (m_saveLocalChange)
        m_saveLocalChange(change.operation, change.remoteID, std::move(finish));
    else
        m_services.mutationConnection->run(change.operation, change.remoteID, std::nullopt, {}, std::move(finish));
}

void Inbox::finishChange(const LocalChange &change, Result<QByteArray> output)
{
    std::optional<Failure> failure;
    if (output.ok()) {
        const Result<LiveMutationResult> result = WireDecoder::mutationResult(output.value());
        if (!result.ok()) {
            failure = result.failure();
        } else {
            const LiveMutationResult &answer = result.value();
            const bool confirmed = answer.saved && QString::fromStdString(answer.id) == change.remoteID &&
                                   m_accountID && QString::fromStdString(answer.account.id) == *m_accountID;
            if (confirmed) {
                QList<QUuid> focus = m_confirmedFocus;
                QHash<QUuid, bool> unread = m_confirmedUnread;
                applyChange(change, focus, unread);
                if (m_confirmedFocus != focus) {
                    m_confirmedFocus = std::move(focus);
                    Q_EMIT confirmedFocusChanged();
                }
                if (m_confirmedUnread != unread) {
                    m_confirmedUnread = std::move(unread);
                    m_confirmedUnreadFromSnapshot = false;
                    Q_EMIT confirmedUnreadChanged();
                }
            } else {
                failure = Failure::tandrel(1, QCoreApplication::translate("Inbox", "Could not confirm the saved change."));
            }
        }
    } else {
        failure = output.failure();
    }
    if (failure)
        setActionError(failure->description);

    if (!m_changes.isEmpty())
        m_changes.removeFirst();
    Q_EMIT changesChanged();
    projectChanges();
    drain();
}

void Inbox::select(const Message &message)
{
    if (m_live)
        mutate(readOperation, message);
    setSelectedID(message.id);
    setReaderTucked(canResizeReader() ? m_focusedIDs.contains(message.id) : false);
    if (!m_live) {
        for (qsizetype i = 0; i < m_messages.size(); ++i) {
            if (m_messages.at(i).id == message.id) {
                if (m_messages.at(i).unread) {
                    QList<Message> messages = m_messages;
                    messages[i].unread = false;
                    setMessages(std::move(messages));
                }
                break;
            }
        }
    }
    setPinned(true);
    open();
}

void Inbox::toggleFocus(const Message &message)
{
    const bool known = std::any_of(m_messages.cbegin(), m_messages.cend(), [&](const Message &candidate) {
        return candidate.id == message.id && candidate.released;
    });
    if (!known)
        return;
    const bool focused = m_focusedIDs.contains(message.id);
    if (!focused && canResizeReader())
        setReaderTucked(true);
    if (m_live) {
        mutate(focused ? unfocusOperation : focusOperation, message);
        return;
    }
    QList<QUuid> order = m_focusOrder;
    order.removeAll(message.id);
    if (!focused)
        order.prepend(message.id);
    setFocus(std::move(order));
    if (!focused) {
        setFocusHoldsOpen(true);
        setPinned(true);
        open();
    }
}

void Inbox::setTeamLabel(const QString &label, const QUuid &id)
{
    if (m_live)
        return;
    for (qsizetype i = 0; i < m_messages.size(); ++i) {
        const Message &message = m_messages.at(i);
        if (message.id != id || message.scope != InboxScope::demoTeamLaunch())
            continue;
        const QList<Message> samples = DemoSamples::instance().samples();
        const bool offered = std::any_of(samples.cbegin(), samples.cend(), [&](const Message &sample) {
            return sample.scope == InboxScope::demoTeamLaunch() && sample.category == label;
        });
        if (!offered)
            return;
        QList<Message> messages = m_messages;
        messages[i].category = label;
        setMessages(std::move(messages));
        return;
    }
}

QStringList Inbox::labels() const
{
    QList<Message> base;
    if (!m_live) {
        for (const Message &sample : DemoSamples::instance().samples()) {
            if (sample.scope == m_scope)
                base.append(sample);
        }
    }
    base.append(scopedMessages());
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

Message Inbox::cardFocusTarget(const Message &message)
{
    const QList<Message> thread = members(message);
    for (const QUuid &id : std::as_const(m_focusOrder)) {
        for (const Message &member : thread) {
            if (member.id == id)
                return member;
        }
    }
    if (!thread.isEmpty())
        return thread.last();
    return message;
}

bool Inbox::cardIsFocused(const Message &message)
{
    const QList<Message> thread = members(message);
    return std::any_of(thread.cbegin(), thread.cend(),
                       [&](const Message &member) { return m_focusedIDs.contains(member.id); });
}

QUrl Inbox::workspaceUrl(const std::optional<Message> &message) const
{
    if (!m_serviceOrigin)
        return {};
    QUrl url(*m_serviceOrigin + QStringLiteral("/workspace"), QUrl::StrictMode);
    const QString scheme = url.scheme().toLower();
    if (!url.isValid() || (scheme != QLatin1String("http") && scheme != QLatin1String("https")))
        return {};
    if (message && !message->scope.isPersonal()) {
        QUrlQuery fragment;
        fragment.addQueryItem(QStringLiteral("team"), message->scope.rawValue);
        if (message->kind == ConversationKind::inbox)
            fragment.addQueryItem(QStringLiteral("view"), QStringLiteral("inbox"));
        else
            fragment.addQueryItem(QStringLiteral("conversation"), message->conversationID);
        url.setFragment(fragment.toString(QUrl::FullyEncoded), QUrl::StrictMode);
    }
    return url;
}

void Inbox::openWorkspace(const std::optional<Message> &message)
{
    const QUrl url = workspaceUrl(message);
    if (url.isValid() && !url.isEmpty() && m_services.openUrl)
        m_services.openUrl(url);
}

// ---------------------------------------------------------------------------------------------------------
// Replies

void Inbox::setPendingReplies(QList<PendingReply> replies)
{
    m_pendingReplies = std::move(replies);
    Q_EMIT pendingRepliesChanged();
}

void Inbox::sendReply(const Message &message)
{
    const QString key = threadKey(message);
    const auto draftEntry = m_replyDrafts.constFind(key);
    if (!message.remoteID || draftEntry == m_replyDrafts.constEnd() || draftEntry->trimmed().isEmpty() || !m_accountID)
        return;
    const QString draft = *draftEntry;

    const PendingReply pending{QUuid::createUuid(), key, draft, std::nullopt, QString()};
    QList<PendingReply> replies = m_pendingReplies;
    replies.append(pending);
    setPendingReplies(std::move(replies));
    setReplyDraft(key, QString());
    setReplyStatus(std::nullopt);
    setActionError(std::nullopt);

    const QStringList arguments = LiveInboxConnection::replyArguments(
        *m_accountID, message.scope.isPersonal(), message.senderAccountID, message.conversationID,
        message.serverMessageID);
    const QUuid pendingID = pending.id;
    const SentReply sentReply{pendingID, key, draft, *m_accountID, m_serviceOrigin};
    m_services.replyConnection->run(
        QStringLiteral("reply"), message.remoteID, draft, arguments,
        [this, sentReply, pendingID](Result<QByteArray> output) {
            if (!output.ok()) {
                failReply(sentReply, output.failure());
                return;
            }
            const Result<LiveSendResult> result = WireDecoder::sendResult(output.value());
            if (!result.ok()) {
                failReply(sentReply, result.failure());
                return;
            }
            const QString status = QString::fromStdString(result.value().status);
            if (status != QLatin1String("released") && status != QLatin1String("quarantined")) {
                failReply(sentReply, Failure::tandrel(1, QCoreApplication::translate("Inbox", "The service rejected this reply.")));
                return;
            }
            confirmReply(pendingID, QString::fromStdString(result.value().id), status);
            post(0, [this] { refresh(); });
        });
}

void Inbox::failReply(const SentReply &sent, const Failure &failure)
{
    QList<PendingReply> replies;
    for (const PendingReply &reply : std::as_const(m_pendingReplies)) {
        if (reply.id != sent.pendingID)
            replies.append(reply);
    }
    if (replies.size() != m_pendingReplies.size())
        setPendingReplies(std::move(replies));
    QString error =
        QCoreApplication::translate("Inbox", "Could not confirm sending. Check the conversation before trying again.") +
        QLatin1Char(' ') + failure.description;
    if (m_accountID == sent.accountID && m_serviceOrigin == sent.origin) {
        // The returned text goes first; anything typed meanwhile follows after a blank line.
        const QString current = m_replyDrafts.value(sent.key);
        setReplyDraft(sent.key, current.isEmpty() ? sent.draft : sent.draft + QStringLiteral("\n\n") + current);
    } else {
        // The account changed meanwhile: its conversations are gone, so the text cannot go back. Name it.
        constexpr qsizetype shown = 60;
        QString start = sent.draft.simplified();
        if (start.size() > shown)
            start = start.first(shown).trimmed() + QStringLiteral("…");
        error += QLatin1Char(' ') +
                 QCoreApplication::translate("Inbox", "The reply was not restored because the account changed; it began: “%1”")
                     .arg(start);
    }
    setActionError(error);
}

void Inbox::confirmReply(const QUuid &id, const QString &serverID, const QString &status)
{
    if (m_replyIdentities.value(serverID) != id || !m_replyIdentities.contains(serverID)) {
        m_replyIdentities.insert(serverID, id);
        Q_EMIT replyIdentitiesChanged();
    }
    for (qsizetype i = 0; i < m_pendingReplies.size(); ++i) {
        if (m_pendingReplies.at(i).id != id)
            continue;
        QList<PendingReply> replies = m_pendingReplies;
        replies[i].serverID = serverID;
        replies[i].status = status == QLatin1String("quarantined") ? QCoreApplication::translate("Inbox", "Sent · awaiting review") : QString();
        setPendingReplies(std::move(replies));
        return;
    }
}

bool Inbox::hasUnsentDrafts() const
{
    if (!m_directDraft.trimmed().isEmpty())
        return true;
    return std::any_of(m_replyDrafts.cbegin(), m_replyDrafts.cend(),
                       [](const QString &draft) { return !draft.trimmed().isEmpty(); });
}

bool Inbox::hasSendingReplies() const
{
    return std::any_of(m_pendingReplies.cbegin(), m_pendingReplies.cend(),
                       [](const PendingReply &reply) { return !reply.serverID; });
}

// ---------------------------------------------------------------------------------------------------------
// Demo

void Inbox::setDemoIndex(int index)
{
    if (assign(m_demoIndex, index))
        Q_EMIT demoIndexChanged();
}

void Inbox::simulate(const std::optional<InboxScope> &scope)
{
    if (m_live)
        return;
    const InboxScope target = scope.value_or(m_scope);
    const Message &templateMessage = DemoSamples::instance().arrivals().at(m_demoIndex % 2);

    Message message;
    message.id = QUuid::createUuid();
    message.sender = templateMessage.sender;
    message.initials = templateMessage.initials;
    message.subject = templateMessage.subject;
    message.color = templateMessage.color;
    if (target.isPersonal()) {
        message.body = templateMessage.body;
        message.category = templateMessage.category;
        message.conversation = QStringLiteral("Personal message");
    } else {
        message.body = QStringLiteral("The updated launch checklist is ready for the team to review.\n\n"
                                      "This is a local demo arrival.");
        message.category = QStringLiteral("Launch");
        message.conversation = QStringLiteral("Shared inbox");
    }
    message.unread = true;
    message.scope = target;
    message.kind = ConversationKind::inbox;
    message.conversationID = QStringLiteral("demo-arrival-%1").arg(m_demoIndex);
    message.senderAccountID = QStringLiteral("demo-devon");
    message.released = true;
    message.sentAt = 0;

    QList<Message> messages = m_messages;
    messages.prepend(message);
    setMessages(std::move(messages));
    setDemoIndex(m_demoIndex + 1);
    announceArrival(message.id);
}

void Inbox::addDemoReply(const QUuid &id, const QString &body)
{
    if (m_live)
        return;
    const QString text = body.trimmed();
    if (text.isEmpty())
        return;
    for (qsizetype i = 0; i < m_messages.size(); ++i) {
        const Message &message = m_messages.at(i);
        if (message.id != id || message.scope != InboxScope::demoTeamLaunch() || message.kind != ConversationKind::direct)
            continue;
        if (!message.released)
            return;
        QList<Message> messages = m_messages;
        messages[i].replies.append({QUuid::createUuid(), QStringLiteral("You"), text});
        setMessages(std::move(messages));
        return;
    }
}

// ---------------------------------------------------------------------------------------------------------
// Panel state and geometry hooks

void Inbox::open()
{
    setExpanded(true);
    if (m_onOpen)
        m_onOpen();
}

void Inbox::close()
{
    setFocusHoldsOpen(false);
    setPinned(false);
    setSelectedID(std::nullopt);
    setExpanded(false);
}

bool Inbox::closeFromOutsideClick(int clickCount)
{
    if (clickCount >= 2) {
        close();
        return true;
    }
    if (m_focusHoldsOpen || m_selectedID)
        return false;
    close();
    return true;
}

// ---------------------------------------------------------------------------------------------------------
// Geometry

NotchPresentation Inbox::presentation()
{
    const NotchPresentation::Phase phase = !m_expanded        ? NotchPresentation::Phase::collapsed
                                           : !hasSelection()  ? NotchPresentation::Phase::list
                                           : m_readerTucked   ? NotchPresentation::Phase::preview
                                                              : NotchPresentation::Phase::reader;
    return {phase, QSizeF(m_expanded ? contentWidth() + NotchGeometry::horizontalPadding : compactWidth(), height())};
}

double Inbox::compactWidth() const
{
    return NotchGeometry::compactWidth(totalUnreadCount(), m_hasNotch, m_notchWidth, m_keepsTab);
}

double Inbox::contentWidth()
{
    const bool selection = hasSelection();
    return NotchGeometry::contentWidth(selection, selection ? readerSize() : QSizeF());
}

double Inbox::contentHeight()
{
    const bool selection = hasSelection();
    return NotchGeometry::contentHeight(selection, m_readerTucked,
                                        selection && !m_readerTucked ? readerSize() : QSizeF());
}

double Inbox::height()
{
    return NotchGeometry::height(m_expanded, totalUnreadCount(), m_hasNotch, m_topInset,
                                 m_expanded ? contentHeight() : 0, m_keepsTab);
}

bool Inbox::canResizeReader()
{
    const bool selection = hasSelection();
    return NotchGeometry::canResizeReader(selection, selection ? readerSize().height() : 0);
}

void Inbox::toggleReaderSize()
{
    if (!canResizeReader())
        return;
    setReaderTucked(!m_readerTucked);
}

QSizeF Inbox::readerSize()
{
    if (!m_cachedReaderSize)
        m_cachedReaderSize = measureReaderSize();
    return *m_cachedReaderSize;
}

QSizeF Inbox::measureReaderSize()
{
    const std::optional<Message> message = selected();
    if (!message)
        return {NotchGeometry::listContentWidth, NotchGeometry::listContentHeight};

    ReaderSizeEstimator::Input input;
    input.subject = message->subject;
    input.body = message->body;
    input.hasAttachment = !m_contentCache.content(message->body)->attachments().empty();
    input.live = m_live;
    if (input.hasAttachment || !m_textMeasurer) {
        // Without text measurement every message fits the standard card.
        return input.hasAttachment
                   ? QSizeF(ReaderSizeEstimator::attachmentWidth, ReaderSizeEstimator::attachmentHeight)
                   : QSizeF(NotchGeometry::listContentWidth, NotchGeometry::listContentHeight);
    }
    for (const Message &member : members(*message)) {
        if (member.id != message->id)
            input.memberBodies.append(member.body);
    }
    for (const DemoReply &reply : message->replies)
        input.replyBodies.append(reply.body);
    return ReaderSizeEstimator::measureReaderSize(input, *m_textMeasurer);
}

void Inbox::setTextMeasurer(const TextMeasurer *measurer)
{
    if (m_textMeasurer == measurer)
        return;
    m_textMeasurer = measurer;
    m_cachedReaderSize.reset();
    updateGeometry();
}

void Inbox::updateGeometry()
{
    Geometry now{presentation(), compactWidth(), contentWidth(), contentHeight(), height(), canResizeReader()};
    if (now == m_geometry)
        return;
    m_geometry = std::move(now);
    Q_EMIT geometryChanged();
}

void Inbox::updateCounts()
{
    Counts now{totalUnreadCount(), unreadCount(), scopeName()};
    if (now == m_counts)
        return;
    m_counts = std::move(now);
    Q_EMIT countsChanged();
}
