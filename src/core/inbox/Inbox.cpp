#include "Inbox.h"

#include "ArrivalTracker.h"
#include "DemoEdits.h"
#include "DemoSamples.h"
#include "VisibleRows.h"
#include "WorkspaceLink.h"

#include "notch/NotchMotion.h"

#include <algorithm>
#include <utility>

Inbox::Inbox(bool live, InboxServices services, QObject *parent)
    : QObject(parent), m_services(std::move(services)), m_tasks(*m_services.scheduler),
      m_arrivalTracker(std::make_unique<ArrivalTracker>()), m_list(live), m_live(live), m_account(live),
      m_panel({.geometry = [this] { updateGeometry(); },
               .selecting = [this] { return m_selectedID.has_value(); },
               .deselect = [this] { setSelectedID(std::nullopt); }}),
      m_localChanges(m_services.mutationConnection.get(), m_tasks,
                     {.accountID = [this] { return accountID(); },
                      .projected = [this] { projectChanges(); },
                      .failed = [this](const QString &description) { setActionError(description); },
                      .drained = [this] { m_sync.changesAnswered(); }}),
      m_sync(m_services, m_tasks,
             {.changesWaiting = [this] { return !m_localChanges.isEmpty(); },
              .revision = [this] { return m_localChanges.revision(); },
              .apply =
                  [this](PreparedSnapshot &prepared) {
                      apply(prepared);
                      setLoading(false);
                  },
              .fail = [this](const QString &description) { clearAfterFailure(description); }}),
      m_replies(m_services.replyConnection.get(),
                {.accountID = [this] { return accountID(); },
                 .origin = [this] { return serviceOrigin(); },
                 .actionError = [this](std::optional<QString> error) { setActionError(std::move(error)); },
                 .sent = [this] { m_tasks.post(0, [this] { refresh(); }); }})
{
    if (live)
        m_loading = true;
    else
        m_list.set(DemoSamples::instance().samples());
    m_geometry.update();
    m_counts = {totalUnreadCount(), unreadCount(), scopeName()};

    // The parts' notifications are the inbox's own.
    connect(&m_account, &AccountState::accountIDChanged, this, &Inbox::accountIDChanged);
    connect(&m_account, &AccountState::serviceOriginChanged, this, &Inbox::serviceOriginChanged);
    connect(&m_account, &AccountState::scopeNamesChanged, this, &Inbox::scopeNamesChanged);
    connect(&m_account, &AccountState::availableScopesChanged, this, &Inbox::availableScopesChanged);
    connect(&m_account, &AccountState::labelColorsChanged, this, &Inbox::labelColorsChanged);
    connect(&m_panel, &PanelState::expandedChanged, this, &Inbox::expandedChanged);
    connect(&m_panel, &PanelState::pinnedChanged, this, &Inbox::pinnedChanged);
    connect(&m_panel, &PanelState::focusHoldsOpenChanged, this, &Inbox::focusHoldsOpenChanged);
    connect(&m_panel, &PanelState::readerTuckedChanged, this, &Inbox::readerTuckedChanged);
    connect(&m_panel, &PanelState::geometryProfileChanged, this, &Inbox::geometryProfileChanged);
    connect(&m_panel, &PanelState::notchWidthChanged, this, &Inbox::notchWidthChanged);
    connect(&m_panel, &PanelState::topInsetChanged, this, &Inbox::topInsetChanged);
    connect(&m_panel, &PanelState::hasNotchChanged, this, &Inbox::hasNotchChanged);
    connect(&m_panel, &PanelState::keepsTabChanged, this, &Inbox::keepsTabChanged);
    connect(&m_sync, &SyncCycle::refreshInFlightChanged, this, &Inbox::refreshInFlightChanged);
    connect(&m_sync, &SyncCycle::refreshPendingChanged, this, &Inbox::refreshPendingChanged);
    connect(&m_sync, &SyncCycle::syncingChanged, this, &Inbox::syncingChanged);
    connect(&m_localChanges, &LocalChangeQueue::changesChanged, this, &Inbox::changesChanged);
    connect(&m_localChanges, &LocalChangeQueue::confirmedFocusChanged, this, &Inbox::confirmedFocusChanged);
    connect(&m_localChanges, &LocalChangeQueue::confirmedUnreadChanged, this, &Inbox::confirmedUnreadChanged);
    connect(&m_localChanges, &LocalChangeQueue::drainingChangesChanged, this, &Inbox::drainingChangesChanged);
    connect(&m_localChanges, &LocalChangeQueue::revisionChanged, this, &Inbox::revisionChanged);
    connect(&m_replies, &Replies::directDraftChanged, this, &Inbox::directDraftChanged);
    connect(&m_replies, &Replies::draftsChanged, this, &Inbox::replyDraftsChanged);
    connect(&m_replies, &Replies::pendingChanged, this, &Inbox::pendingRepliesChanged);
    connect(&m_replies, &Replies::identitiesChanged, this, &Inbox::replyIdentitiesChanged);
    connect(&m_replies, &Replies::statusChanged, this, &Inbox::replyStatusChanged);

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
        const QString body = message ? message->body.toString() : QString();
        m_selectedBlocks->show(body, message ? m_contentCache.content(body) : nullptr);
    });
}

Inbox::~Inbox()
{
    // Tasks scheduled on behalf of this inbox must not outlive it.
    m_tasks.cancelAll();
    m_sync.stop();
}

VisibleMessageList *Inbox::visibleMessages() const
{
    return m_visibleList;
}

std::optional<Message> Inbox::messageWithID(const QString &id) const
{
    const QUuid uuid = QUuid::fromString(id);
    return uuid.isNull() ? std::nullopt : m_list.find(uuid);
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
    return message ? message->body.toString() : QString();
}

// ---------------------------------------------------------------------------------------------------------
// Field writes

void Inbox::setMessages(QList<Message> messages, std::unique_ptr<ThreadIndex> threads)
{
    m_list.set(std::move(messages), std::move(threads));
    m_geometry.dropReaderSize();
    Q_EMIT messagesChanged();
    updateCounts();
    updateGeometry();
}


void Inbox::setSelectedID(std::optional<QUuid> id)
{
    if (!assignChanged(m_selectedID, id))
        return;
    m_geometry.dropReaderSize();
    Q_EMIT selectedIDChanged();
    m_panel.selectionChanged();
    updateGeometry();
}

void Inbox::setArrival(bool arrival)
{
    if (!assignChanged(m_arrival, arrival))
        return;
    Q_EMIT arrivalChanged();
    m_panel.hoverStateChanged();
}

void Inbox::setFocus(QList<QUuid> order)
{
    write(m_focusOrder, std::move(order), &Inbox::focusOrderChanged);
    write(m_focusedIDs, QSet<QUuid>(m_focusOrder.cbegin(), m_focusOrder.cend()), &Inbox::focusedIDsChanged);
}

QVariant Inbox::connectionErrorValue() const
{
    return m_connectionError ? QVariant(*m_connectionError) : QVariant();
}

void Inbox::setActionErrorValue(const QVariant &value)
{
    setActionError(value.isNull() ? std::nullopt : std::optional<QString>(value.toString()));
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
    if (m_live)
        m_sync.start();
}

void Inbox::refresh(std::function<void()> done)
{
    m_sync.refresh(std::move(done));
}

void Inbox::clearAfterFailure(const QString &description)
{
    setMessages({});
    m_sync.cache().reset();
    m_contentCache.clear();
    setFocus({});
    setSelectedID(std::nullopt);
    setConnectionError(description);
    setLoading(false);
}

void Inbox::apply(PreparedSnapshot &prepared)
{
    const SnapshotRecords &records = prepared.records;

    // 1. Account change: per-account state goes.
    if (m_account.isSwitchedBy(records)) {
        close();
        m_contentCache.clear();
        m_replies.forgetAccount();
    }

    // 2-4. Account, scope names and list (the label colours follow the messages, in step 9).
    m_account.take(records);

    // 5. A vanished scope falls back to the personal inbox (which stays as it is when it is already shown,
    // listed or not).
    if (!availableScopes().contains(m_scope) && !m_scope.isPersonal())
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
        retired = std::make_shared<Retired>(Retired{m_sync.cache(), m_list.messages(), nullptr});
    m_sync.cache() = std::move(prepared.cache);
    QList<Message> converted = std::move(prepared.messages);
    if (retired && converted.constData() != m_list.messages().constData())
        retired->threads = m_list.takeThreads();
    const bool sameRecords =
        converted.size() == m_list.messages().size() && converted.constData() == m_list.messages().constData();
    const std::optional<QUuid> arrived = m_arrivalTracker->consume(prepared.snapshot, sameRecords);
    setMessages(std::move(converted), std::move(prepared.threads));
    if (retired)
        prepared.release(std::move(retired));

    // 8. Pending replies that the snapshot shows back.
    m_replies.dropShown(m_list.messages(), [this](const Message &message) { return threadKey(message); });

    // 9. Label colours by display name.
    m_account.takeLabelColors(records);

    // 10. Announce an arrival.
    if (arrived)
        announceArrival(*arrived);

    // 11-12. Focus and unread state as the service confirms them.
    setFocus(records.focusOrder);
    m_localChanges.confirmSnapshot(records.focusOrder, m_list.messages(), sameRecords);

    // 13. A selection that is gone.
    if (m_selectedID && !selected())
        setSelectedID(std::nullopt);

    // 14.
    setConnectionError(std::nullopt);
    setLoading(false);
}

void Inbox::announceArrival(const QUuid &id)
{
    write(m_latestArrivalID, id, &Inbox::latestArrivalIDChanged);
    setArrival(true);
    if (m_onArrival)
        m_onArrival();
    if (m_arrivalTask)
        m_tasks.cancel(m_arrivalTask);
    m_arrivalTask = m_tasks.post(4, [this] {
        m_arrivalTask = 0;
        setArrival(false);
    });
}

// ---------------------------------------------------------------------------------------------------------
// Visible list, threads and counts


QList<Message> Inbox::visible()
{
    return VisibleRows::rows(m_list.messages(), m_list.threads(),
                             {m_scope, m_filter, m_label, m_kind, m_query, m_focusedIDs, m_focusOrder, m_live});
}

std::optional<Message> Inbox::selected() const
{
    return m_selectedID ? m_list.find(*m_selectedID) : std::nullopt;
}

QList<ConversationReply> Inbox::replyRows(const Message &message, bool excludingRoot)
{
    const QString key = threadKey(message);
    return m_replies.rows(key, members(message), excludingRoot ? std::optional<QUuid>(message.id) : std::nullopt);
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

void Inbox::projectChanges()
{
    LocalChangeQueue::Projection projection = m_localChanges.projection();
    setFocus(std::move(projection.focus));

    QList<Message> messages = m_list.messages();
    for (Message &message : messages) {
        const auto it = projection.unread.constFind(message.id);
        if (it != projection.unread.constEnd())
            message.unread = *it;
    }
    setMessages(std::move(messages));
}

void Inbox::mutate(const QString &operation, const Message &message)
{
    if (!message.remoteID || !message.released)
        return;
    QList<Message> targets;
    if (operation == LocalChangeQueue::readOperation) {
        for (const Message &member : members(message)) {
            if (member.unread)
                targets.append(member);
        }
    } else {
        targets.append(message);
    }
    if (!m_localChanges.enqueue(operation, targets))
        return;
    projectChanges();
    if (operation == LocalChangeQueue::focusOperation) {
        setFocusHoldsOpen(true);
        setPinned(true);
        open();
    }
    m_localChanges.startDrain();
}

void Inbox::select(const Message &message)
{
    // The message may be an element of the list that marking it read replaces.
    const QUuid id = message.id;
    if (m_live)
        mutate(LocalChangeQueue::readOperation, message);
    setSelectedID(id);
    setReaderTucked(canResizeReader() ? m_focusedIDs.contains(id) : false);
    if (QList<Message> messages = m_list.messages(); !m_live && DemoEdits::markRead(messages, id))
        setMessages(std::move(messages));
    setPinned(true);
    open();
}

void Inbox::toggleFocus(const Message &message)
{
    const std::optional<Message> known = m_list.find(message.id);
    if (!known || !known->released)
        return;
    const bool focused = m_focusedIDs.contains(message.id);
    if (!focused && canResizeReader())
        setReaderTucked(true);
    if (m_live) {
        mutate(focused ? LocalChangeQueue::unfocusOperation : LocalChangeQueue::focusOperation, message);
        return;
    }
    setFocus(DemoEdits::toggledFocus(m_focusOrder, message.id, focused));
    if (!focused) {
        setFocusHoldsOpen(true);
        setPinned(true);
        open();
    }
}

void Inbox::setTeamLabel(const QString &label, const QUuid &id)
{
    if (QList<Message> messages = m_list.messages(); !m_live && DemoEdits::setTeamLabel(messages, label, id))
        setMessages(std::move(messages));
}

QStringList Inbox::labels() const
{
    return m_list.labels(m_scope, m_live ? QList<Message>() : DemoEdits::samplesIn(m_scope));
}

QUrl Inbox::workspaceUrl(const std::optional<Message> &message) const
{
    return WorkspaceLink::url(serviceOrigin(), message);
}

void Inbox::openWorkspace(const std::optional<Message> &message)
{
    const QUrl url = workspaceUrl(message);
    if (url.isValid() && !url.isEmpty() && m_services.openUrl)
        m_services.openUrl(url);
}

// ---------------------------------------------------------------------------------------------------------
// Replies and demo

void Inbox::sendReply(const Message &message)
{
    const QString key = threadKey(message);
    m_replies.send(message, key);
}

void Inbox::confirmReply(const QUuid &id, const QString &serverID, const QString &status)
{
    m_replies.confirm(id, serverID, status);
}

void Inbox::simulate(const std::optional<InboxScope> &scope)
{
    if (m_live)
        return;
    const Message message = DemoSamples::instance().arrival(m_demoIndex, scope.value_or(m_scope));
    QList<Message> messages = m_list.messages();
    messages.prepend(message);
    setMessages(std::move(messages));
    setDemoIndex(m_demoIndex + 1);
    announceArrival(message.id);
}

void Inbox::addDemoReply(const QUuid &id, const QString &body)
{
    if (m_live)
        return;
    QList<Message> messages = m_list.messages();
    if (Replies::addLocalReply(messages, id, body))
        setMessages(std::move(messages));
}

// ---------------------------------------------------------------------------------------------------------
// Panel state and geometry

void Inbox::toggleReaderSize()
{
    if (canResizeReader())
        setReaderTucked(!readerTucked());
}

void Inbox::setTextMeasurer(const TextMeasurer *measurer)
{
    if (m_geometry.setTextMeasurer(measurer))
        updateGeometry();
}

void Inbox::updateGeometry()
{
    if (m_geometry.update())
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
