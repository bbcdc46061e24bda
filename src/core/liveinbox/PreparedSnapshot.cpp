#include "PreparedSnapshot.h"

#include "LiveMessageConversion.h"
#include "WireDecoder.h"

#include "records/RecordIdentity.h"
#include "records/RecordText.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace {

SnapshotRecords recordsOf(const LiveSnapshot &snapshot)
{
    SnapshotRecords records;
    records.accountID = RecordText::fromUtf8(snapshot.account.id);
    records.origin = RecordText::fromUtf8(snapshot.account.origin);
    records.scopes.reserve(qsizetype(snapshot.scopes.size()));
    for (const LiveScope &scope : snapshot.scopes) {
        QHash<QString, QString> colors;
        for (const auto &[slug, color] : scope.colors)
            colors.insert(LiveMessageConversion::categoryName(slug), RecordText::fromUtf8(color));
        records.scopes.append(
            ScopeRecord{InboxScope{RecordText::fromUtf8(scope.id)}, RecordText::fromUtf8(scope.name), std::move(colors)});
    }
    std::vector<const LiveMessage *> focused;
    for (const LiveMessage &message : snapshot.messages) {
        if (message.focused)
            focused.push_back(&message);
    }
    std::stable_sort(focused.begin(), focused.end(),
                     [](const LiveMessage *a, const LiveMessage *b) { return a->focusIndex < b->focusIndex; });
    records.focusOrder.reserve(qsizetype(focused.size()));
    for (const LiveMessage *message : focused)
        records.focusOrder.append(RecordIdentity::localID(message->id));
    return records;
}

} // namespace

PreparedSnapshot PreparedSnapshot::convert(LiveSnapshot snapshot, LiveMessageCache cache)
{
    const QList<Message> before = cache.messages();
    QList<Message> messages = cache.apply(snapshot);
    std::unique_ptr<ThreadIndex> threads;
    if (messages.size() != before.size() || messages.constData() != before.constData()) {
        threads = std::make_unique<ThreadIndex>(messages, true);
        threads->totalUnread(); // counts every scope now
    }
    SnapshotRecords records = recordsOf(snapshot);
    return PreparedSnapshot{std::move(snapshot), std::move(cache), std::move(messages), std::move(records),
                            std::move(threads), {}};
}

Result<PreparedSnapshot> PreparedSnapshot::prepare(const QByteArray &bytes, LiveMessageCache cache)
{
    Result<LiveSnapshot> decoded = WireDecoder::snapshot(bytes);
    if (!decoded.ok())
        return decoded.failure();
    return convert(std::move(decoded).value(), std::move(cache));
}
