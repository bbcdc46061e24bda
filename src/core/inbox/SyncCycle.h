#pragma once

#include "InboxServices.h"

#include "liveinbox/HintSource.h"
#include "liveinbox/LiveMessageCache.h"
#include "liveinbox/PreparedSnapshot.h"

#include <QObject>
#include <QString>

#include <functional>
#include <memory>

class ScheduledTasks;

// The live inbox's sync loop: refresh, then listen for hints and refresh on each; when the hints end
// normally, round again at once; after a failure, refresh, wait 30 seconds and start over.
//
// A refresh fetches one snapshot, prepares it (decodes it and converts its records through the conversion
// cache) and hands it to the model, which applies it. Refreshes coalesce: one runs at a time, and requests
// while it runs make one more afterwards. While local changes wait for their answers no snapshot is fetched,
// and a snapshot fetched across a local change is dropped; either way a refresh follows once the changes are
// answered. Main thread only.
class SyncCycle : public QObject
{
    Q_OBJECT

public:
    struct Hooks
    {
        // Local changes wait for their answers.
        std::function<bool()> changesWaiting;
        // The model's revision, which every local change advances.
        std::function<qint64()> revision;
        // A fresh snapshot for the model (its cache is adopted by the model through cache()).
        std::function<void(PreparedSnapshot &)> apply;
        // The refresh failed with this description.
        std::function<void(const QString &)> fail;
    };

    // Talks to the services' snapshot lane and hint source (a demo inbox has neither).
    SyncCycle(const InboxServices &services, ScheduledTasks &tasks, Hooks hooks);
    ~SyncCycle() override;

    // Starts the loop (once).
    void start();
    // Fetches and applies one snapshot. `done` runs when this call has finished its part (at once when the
    // call was skipped or coalesced).
    void refresh(std::function<void()> done = {});
    // Ends the open hint call, if any: the loop goes round again at once with fresh tickets.
    void renew();
    // Every local change has been answered: runs a refresh that was skipped or dropped for them.
    void changesAnswered();
    // Ends the open hint call silently.
    void stop();

    bool refreshInFlight() const { return m_refreshInFlight; }
    bool refreshPending() const { return m_refreshPending; }
    bool syncing() const { return m_syncing; }
    // The conversion cache of the last applied snapshot.
    LiveMessageCache &cache() { return m_cache; }

Q_SIGNALS:
    void refreshInFlightChanged();
    void refreshPendingChanged();
    void syncingChanged();

private:
    void pass();
    void subscribe();
    void finish(qint64 startRevision, Result<PreparedSnapshot> snapshot);
    void setRefreshInFlight(bool inFlight);
    void setRefreshPending(bool pending);

    const InboxServices &m_services;
    ScheduledTasks &m_tasks;
    Hooks m_hooks;
    LiveMessageCache m_cache;
    bool m_refreshInFlight = false;
    bool m_refreshPending = false;
    bool m_refreshAfterChanges = false; // a refresh was skipped or dropped while local changes waited
    bool m_syncing = false;
    std::shared_ptr<HintSubscription> m_subscription;
};
