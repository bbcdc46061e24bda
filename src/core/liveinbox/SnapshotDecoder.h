#pragma once

#include "LiveMessageCache.h"
#include "LiveSnapshot.h"
#include "PreparedSnapshot.h"
#include "Result.h"

#include <QByteArray>
#include <QObject>

#include <functional>
#include <memory>

// Decodes "snapshot" output on a worker thread, so a large inbox never stalls the interface, and hands the
// record back on the thread that owns the decoder. The record is exactly what WireDecoder::snapshot gives.
// It can convert the records there too (PreparedSnapshot), through a copy of the inbox's conversion cache.
class SnapshotDecoder final : public QObject
{
    Q_OBJECT
public:
    explicit SnapshotDecoder(QObject *parent = nullptr);
    ~SnapshotDecoder() override;

    // `done` runs later on this object's thread; never after the decoder is destroyed.
    void decode(QByteArray bytes, std::function<void(Result<LiveSnapshot>)> done);
    // Decodes and converts; the same as PreparedSnapshot::prepare on this thread.
    void prepare(QByteArray bytes, LiveMessageCache cache, std::function<void(Result<PreparedSnapshot>)> done);
    // Lets go of something on a worker thread (what an applied snapshot replaced: freeing ten thousand
    // messages is work the main thread need not do).
    static void releaseAway(std::shared_ptr<const void> retired);

private:
    template <class Record, class Work>
    void runAway(Work work, std::function<void(Result<Record>)> done);

    std::shared_ptr<bool> m_alive;
};
