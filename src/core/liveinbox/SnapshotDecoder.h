#pragma once

#include "LiveSnapshot.h"
#include "Result.h"

#include <QByteArray>
#include <QObject>

#include <functional>
#include <memory>

// Decodes "snapshot" output on a worker thread, so a large inbox never stalls the interface, and hands the
// record back on the thread that owns the decoder. The record is exactly what WireDecoder::snapshot gives.
class SnapshotDecoder final : public QObject
{
    Q_OBJECT
public:
    explicit SnapshotDecoder(QObject *parent = nullptr);
    ~SnapshotDecoder() override;

    // `done` runs later on this object's thread; never after the decoder is destroyed.
    void decode(QByteArray bytes, std::function<void(Result<LiveSnapshot>)> done);

private:
    std::shared_ptr<bool> m_alive;
};
