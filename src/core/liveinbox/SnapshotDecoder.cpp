#include "SnapshotDecoder.h"

#include "WireDecoder.h"

#include <QPointer>
#include <QThreadPool>

SnapshotDecoder::SnapshotDecoder(QObject *parent) : QObject(parent), m_alive(std::make_shared<bool>(true)) {}

SnapshotDecoder::~SnapshotDecoder()
{
    *m_alive = false;
}

void SnapshotDecoder::decode(QByteArray bytes, std::function<void(Result<LiveSnapshot>)> done)
{
    QPointer<SnapshotDecoder> self(this);
    QThreadPool::globalInstance()->start([self, bytes = std::move(bytes), done = std::move(done)]() mutable {
        auto result = std::make_shared<Result<LiveSnapshot>>(WireDecoder::snapshot(bytes));
        bytes = QByteArray(); // the record owns copies of every text it needs
        if (!self)
            return;
        // Queued to the decoder's thread; dropped if the decoder is gone by then.
        QMetaObject::invokeMethod(
            self.data(),
            [self, result, done = std::move(done)]() {
                if (self)
                    done(std::move(*result));
            },
            Qt::QueuedConnection);
    });
}
