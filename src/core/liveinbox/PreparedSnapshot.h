#pragma once

#include "LiveMessageCache.h"
#include "LiveSnapshot.h"
#include "Result.h"
#include "records/Message.h"
#include "records/SnapshotRecords.h"
#include "records/ThreadIndex.h"

#include <QByteArray>
#include <QList>

#include <functional>
#include <memory>

// A decoded snapshot whose records are already converted: everything of a refresh that does not depend on
// the inbox's state beyond its conversion cache, so it can be done away from the main thread. The inbox
// applies it (or discards it, when a local change came in meanwhile) on the main thread.
struct PreparedSnapshot
{
    LiveSnapshot snapshot;
    // The conversion cache this snapshot was converted through, advanced by it. The inbox adopts it when it
    // applies the snapshot; a discarded snapshot leaves the inbox's own cache as it was.
    LiveMessageCache cache;
    // The snapshot's messages, converted, in snapshot order.
    QList<Message> messages;
    // The account, the scopes with their names and label colours, and the confirmed focus order, as the
    // inbox shows them.
    SnapshotRecords records;
    // The thread index of `messages` (with its scope counts), built when the list is not the cache's previous
    // one; null otherwise.
    std::unique_ptr<ThreadIndex> threads;
    // Where what the applied snapshot replaces can be let go of, when not here: the worker that prepared it
    // frees the previous list and records off the main thread. Empty: let go of in place.
    std::function<void(std::shared_ptr<const void>)> release;

    // Converts the snapshot's records through (a copy of) the cache.
    static PreparedSnapshot convert(LiveSnapshot snapshot, LiveMessageCache cache);
    // Decodes "snapshot" output, then converts it.
    static Result<PreparedSnapshot> prepare(const QByteArray &bytes, LiveMessageCache cache);
};
