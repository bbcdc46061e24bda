#pragma once

#include "LocalChange.h"

#include "liveinbox/CommandRunner.h"
#include "records/Message.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

class ScheduledTasks;

// The user's optimistic changes (read, focus, unfocus) on their way to the service, and the state the service
// has confirmed. Changes are saved one at a time, oldest first; each answer either confirms its change or
// drops it with a failure. What the panel shows is the confirmed state with every waiting change applied
// (projection()). Main thread only.
class LocalChangeQueue : public QObject
{
    Q_OBJECT

public:
    static inline const QString readOperation = QStringLiteral("read");
    static inline const QString focusOperation = QStringLiteral("focus");
    static inline const QString unfocusOperation = QStringLiteral("unfocus");

    using Save = std::function<void(const QString &operation, const QString &remoteID, CommandRunner::Completion done)>;

    struct Hooks
    {
        // The account whose answers confirm a change (none: no answer confirms).
        std::function<std::optional<QString>()> accountID;
        // The projection changed: the shown state follows it.
        std::function<void()> projected;
        // A change was dropped with this description.
        std::function<void(const QString &)> failed;
        // The queue has run empty.
        std::function<void()> drained;
    };

    // Saves through `runner` (the mutation lane; may be null when save() is set before any change).
    LocalChangeQueue(CommandRunner *runner, ScheduledTasks &tasks, Hooks hooks);

    // Queues `operation` for each target that has a service id. Returns whether changes now wait (then the
    // revision has advanced and the caller projects them and starts the drain).
    bool enqueue(const QString &operation, const QList<Message> &targets);
    // Starts saving the queued changes on the next turn, unless that is under way.
    void startDrain();

    // The confirmed focus order and unread states with every waiting change applied.
    struct Projection
    {
        QList<QUuid> focus;
        QHash<QUuid, bool> unread;
    };
    Projection projection() const;

    // A snapshot's word on focus and unread state: the new confirmed state. `sameRecords` says the snapshot
    // changed no message since the last one.
    void confirmSnapshot(QList<QUuid> focusOrder, const QList<Message> &messages, bool sameRecords);

    const QList<LocalChange> &changes() const { return m_changes; }
    bool isEmpty() const { return m_changes.isEmpty(); }
    const QList<QUuid> &confirmedFocus() const { return m_confirmedFocus; }
    const QHash<QUuid, bool> &confirmedUnread() const { return m_confirmedUnread; }
    bool draining() const { return m_draining; }
    qint64 revision() const { return m_revision; }
    // Saves changes through `save` instead of the runner.
    void setSave(Save save) { m_save = std::move(save); }

Q_SIGNALS:
    void changesChanged();
    void confirmedFocusChanged();
    void confirmedUnreadChanged();
    void drainingChangesChanged();
    void revisionChanged();

private:
    static void applyChange(const LocalChange &change, QList<QUuid> &focus, QHash<QUuid, bool> &unread);
    void drain();
    void finish(const LocalChange &change, Result<QByteArray> output);
    void setDraining(bool draining);

    CommandRunner *m_runner;
    ScheduledTasks &m_tasks;
    Hooks m_hooks;
    Save m_save;
    QList<LocalChange> m_changes;
    QList<QUuid> m_confirmedFocus;
    QHash<QUuid, bool> m_confirmedUnread;
    bool m_confirmedUnreadFromSnapshot = false; // built from the shown list by the last snapshot, unchanged since
    bool m_draining = false;
    qint64 m_revision = 0;
};
