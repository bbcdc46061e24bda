#include "SnapshotDecoder.h"

#include "WireDecoder.h"

#include <QPointer>
#include <QThreadPool>

#include <optional>

SnapshotDecoder::SnapshotDecoder(QObject *parent) : QObject(parent), m_alive(std::make_shared<bool>(true)) {}

SnapshotDecoder::~SnapshotDecoder()
{
    *m_alive = false;
}

template <class Record, class Work>
void SnapshotDecoder::runAway(Work work, std::function<void(Result<Record>)> done)
{
    QPointer<SnapshotDecoder> self(this);
    QThreadPool::globalInstance()->start([self, work = std::move(work), done = std::move(done)]() mutable {
        std::optional<Work> pending(std::move(work));
        auto result = std::make_shared<Result<Record>>((*pending)());
        pending.reset(); // the input goes here: the record owns or shares everything it needs
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

void SnapshotDecoder::decode(QByteArray bytes, std::function<void(Result<LiveSnapshot>)> done)
{
    runAway<LiveSnapshot>(
        [bytes = std::move(bytes)]() -> Result<LiveSnapshot> { return WireDecoder::snapshot(bytes); },
        std::move(done));
}

void SnapshotDecoder::prepare(QByteArray bytes, LiveMessageCache cache,
                              std::function<void(Result<PreparedSnapshot>)> done)
{
    runAway<PreparedSnapshot>(
        [bytes = std::move(bytes), cache = std::move(cache)]() -> Result<PreparedSnapshot> {
            Result<PreparedSnapshot> prepared = PreparedSnapshot::prepare(bytes, cache);
            if (prepared.ok()) {
                prepared.value().release = &SnapshotDecoder::releaseAway;
            }
            return prepared;
        },
        std::move(done));
}

void SnapshotDecoder::releaseAway(std::shared_ptr<const void> retired)
{
    QThreadPool::globalInstance()->start([retired = std::move(retired)]() mutable { retired.reset(); });
}
