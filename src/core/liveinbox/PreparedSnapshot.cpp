#include "PreparedSnapshot.h"

#include "WireDecoder.h"

#include <utility>

PreparedSnapshot PreparedSnapshot::convert(LiveSnapshot snapshot, LiveMessageCache cache)
{
    const QList<Message> before = cache.messages();
    QList<Message> messages = cache.apply(snapshot);
    std::unique_ptr<ThreadIndex> threads;
    if (messages.size() != before.size() || messages.constData() != before.constData()) {
        threads = std::make_unique<ThreadIndex>(messages, true);
        threads->totalUnread(); // counts every scope now
    }
    return PreparedSnapshot{std::move(snapshot), std::move(cache), std::move(messages), std::move(threads), {}};
}

Result<PreparedSnapshot> PreparedSnapshot::prepare(const QByteArray &bytes, LiveMessageCache cache)
{
    Result<LiveSnapshot> decoded = WireDecoder::snapshot(bytes);
    if (!decoded.ok())
        return decoded.failure();
    return convert(std::move(decoded).value(), std::move(cache));
}
