#include "LocalChangeQueue.h"

#include "ScheduledTasks.h"

#include "liveinbox/WireDecoder.h"

#include <QCoreApplication>
#include <QSet>

#include <utility>

LocalChangeQueue::LocalChangeQueue(CommandRunner *runner, ScheduledTasks &tasks, Hooks hooks)
    : m_runner(runner), m_tasks(tasks), m_hooks(std::move(hooks))
{
}

bool LocalChangeQueue::enqueue(const QString &operation, const QList<Message> &targets)
{
    bool queued = false;
    for (const Message &target : targets) {
        if (target.remoteID) {
            m_changes.append({operation, target.id, *target.remoteID});
            queued = true;
        }
    }
    if (queued)
        Q_EMIT changesChanged();
    if (m_changes.isEmpty())
        return false;
    ++m_revision;
    Q_EMIT revisionChanged();
    return true;
}

void LocalChangeQueue::startDrain()
{
    if (m_draining)
        return;
    setDraining(true);
    m_tasks.post(0, [this] { drain(); });
}

void LocalChangeQueue::applyChange(const LocalChange &change, QList<QUuid> &focus, QHash<QUuid, bool> &unread)
{
    if (change.operation == readOperation) {
        unread.insert(change.localID, false);
        return;
    }
    focus.removeAll(change.localID);
    if (change.operation == focusOperation)
        focus.prepend(change.localID);
}

LocalChangeQueue::Projection LocalChangeQueue::projection() const
{
    Projection projection{m_confirmedFocus, m_confirmedUnread};
    for (const LocalChange &change : m_changes)
        applyChange(change, projection.focus, projection.unread);
    return projection;
}

void LocalChangeQueue::drain()
{
    if (m_changes.isEmpty()) {
        setDraining(false);
        if (m_hooks.drained)
            m_hooks.drained();
        return;
    }
    const LocalChange change = m_changes.first();
    auto finished = [this, change](Result<QByteArray> output) { finish(change, std::move(output)); };
    if (m_save)
        m_save(change.operation, change.remoteID, std::move(finished));
    else
        m_runner->run(change.operation, change.remoteID, std::nullopt, {}, std::move(finished));
}

void LocalChangeQueue::finish(const LocalChange &change, Result<QByteArray> output)
{
    std::optional<Failure> failure;
    if (output.ok()) {
        const Result<LiveMutationResult> result = WireDecoder::mutationResult(output.value());
        if (!result.ok()) {
            failure = result.failure();
        } else {
            const LiveMutationResult &answer = result.value();
            const std::optional<QString> account = m_hooks.accountID();
            const bool confirmed = answer.saved && QString::fromStdString(answer.id) == change.remoteID && account &&
                                   QString::fromStdString(answer.account.id) == *account;
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
        m_hooks.failed(failure->description);

    if (!m_changes.isEmpty())
        m_changes.removeFirst();
    Q_EMIT changesChanged();
    m_hooks.projected();
    drain();
}

void LocalChangeQueue::confirmSnapshot(QList<QUuid> focusOrder, const QList<Message> &messages, bool sameRecords)
{
    if (m_confirmedFocus != focusOrder) {
        m_confirmedFocus = std::move(focusOrder);
        Q_EMIT confirmedFocusChanged();
    }

    // A snapshot that changed no record leaves the map as the last snapshot made it, unless a saved change
    // has been confirmed since.
    const bool asLastSnapshotMadeIt = sameRecords && m_confirmedUnreadFromSnapshot;
    bool unreadUnchanged = asLastSnapshotMadeIt || m_confirmedUnread.size() <= messages.size();
    for (qsizetype i = 0; unreadUnchanged && !asLastSnapshotMadeIt && i < messages.size(); ++i) {
        const auto it = m_confirmedUnread.constFind(messages.at(i).id);
        unreadUnchanged = it != m_confirmedUnread.constEnd() && *it == messages.at(i).unread;
    }
    if (unreadUnchanged && !asLastSnapshotMadeIt && m_confirmedUnread.size() != messages.size()) {
        // Same keys? Every message has an entry; the map may still hold ids that left.
        QSet<QUuid> ids;
        for (const Message &message : messages)
            ids.insert(message.id);
        unreadUnchanged = ids.size() == m_confirmedUnread.size();
    }
    if (!unreadUnchanged) {
        QHash<QUuid, bool> unread;
        unread.reserve(messages.size());
        for (const Message &message : messages)
            unread.insert(message.id, message.unread);
        m_confirmedUnread = std::move(unread);
        Q_EMIT confirmedUnreadChanged();
    }
    m_confirmedUnreadFromSnapshot = true;
}

void LocalChangeQueue::setDraining(bool draining)
{
    if (m_draining == draining)
        return;
    m_draining = draining;
    Q_EMIT drainingChangesChanged();
}
