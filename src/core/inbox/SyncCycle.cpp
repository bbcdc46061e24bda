#include "SyncCycle.h"

#include "ScheduledTasks.h"

#include <utility>

SyncCycle::SyncCycle(const InboxServices &services, ScheduledTasks &tasks, Hooks hooks)
    : m_services(services), m_tasks(tasks), m_hooks(std::move(hooks))
{
}

SyncCycle::~SyncCycle() = default;

void SyncCycle::start()
{
    if (m_syncing)
        return;
    m_syncing = true;
    Q_EMIT syncingChanged();
    pass();
}

void SyncCycle::stop()
{
    m_subscription.reset();
}

void SyncCycle::pass()
{
    refresh([this] { subscribe(); });
}

void SyncCycle::subscribe()
{
    if (!m_services.hints)
        return;
    m_subscription = m_services.hints->notifications(
        [this](std::function<void()> handled) { refresh(std::move(handled)); },
        [this](Result<void> result) {
            // The finished call is released on the next turn, not from inside its own callback.
            std::shared_ptr<HintSubscription> finished = std::move(m_subscription);
            m_tasks.post(0, [finished] {});
            if (result.ok()) {
                pass();
                return;
            }
            refresh([this] {
                m_tasks.post(30, [this] { pass(); });
            });
        });
}

void SyncCycle::renew()
{
    if (m_subscription)
        m_subscription->cancel(); // a normal end: the loop goes round again at once
}

void SyncCycle::changesAnswered()
{
    if (std::exchange(m_refreshAfterChanges, false))
        refresh();
}

void SyncCycle::refresh(std::function<void()> done)
{
    // A demo inbox has no service to ask.
    if (!m_services.connection) {
        if (done)
            done();
        return;
    }
    // No snapshot while local changes wait; the request runs once they are all answered.
    if (m_hooks.changesWaiting()) {
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
    const qint64 startRevision = m_hooks.revision();
    m_services.connection->run(
        QStringLiteral("snapshot"), std::nullopt, std::nullopt, {},
        [this, startRevision, done = std::move(done)](Result<QByteArray> output) mutable {
            auto finished = [this, startRevision, done = std::move(done)](Result<PreparedSnapshot> snapshot) {
                finish(startRevision, std::move(snapshot));
                if (done)
                    done();
            };
            if (!output.ok()) {
                finished(output.failure());
            } else if (m_services.prepareSnapshot) {
                // Decoded and converted away from here, through a copy of the cache as it is now: nothing
                // but an applied snapshot changes the cache, and only one snapshot is on its way at a time.
                m_services.prepareSnapshot(std::move(output).value(), m_cache, std::move(finished));
            } else if (m_services.decodeSnapshot) {
                m_services.decodeSnapshot(std::move(output).value(),
                                          [this, finished = std::move(finished)](Result<LiveSnapshot> snapshot) {
                                              if (!snapshot.ok())
                                                  finished(snapshot.failure());
                                              else
                                                  finished(PreparedSnapshot::convert(std::move(snapshot).value(),
                                                                                     m_cache));
                                          });
            } else {
                finished(PreparedSnapshot::prepare(output.value(), m_cache));
            }
        });
}

void SyncCycle::finish(qint64 startRevision, Result<PreparedSnapshot> snapshot)
{
    if (m_hooks.revision() == startRevision) {
        if (snapshot.ok())
            m_hooks.apply(snapshot.value());
        else
            m_hooks.fail(snapshot.failure().description);
    } else if (!m_hooks.changesWaiting()) {
        // Raced with local changes that are already answered: fetch again now.
        setRefreshPending(true);
    } else {
        // Raced with local changes still waiting: fetch again once they are answered.
        m_refreshAfterChanges = true;
    }
    setRefreshInFlight(false);
    if (m_refreshPending) {
        setRefreshPending(false);
        m_tasks.post(0, [this] { refresh(); });
    }
}

void SyncCycle::setRefreshInFlight(bool inFlight)
{
    if (m_refreshInFlight == inFlight)
        return;
    m_refreshInFlight = inFlight;
    Q_EMIT refreshInFlightChanged();
}

void SyncCycle::setRefreshPending(bool pending)
{
    if (m_refreshPending == pending)
        return;
    m_refreshPending = pending;
    Q_EMIT refreshPendingChanged();
}
