#include "liveinbox/LiveMessageCache.h"
#include "liveinbox/SyncSocket.h"
#include "liveinbox/WireDecoder.h"

#include "FuzzChecks.h"

#include <QByteArray>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string_view>

// Decodes arbitrary bytes as one wire record (chosen at build time through WIRE_RECORD) and checks what
// every decoder promises: the same bytes decode the same way whether or not the buffer carries spare
// capacity; a document followed by anything but white space fails; every decoded text is valid UTF-8;
// a failure has a one-line description. Decoded snapshots also go through the conversion cache, twice,
// the way consecutive refreshes do.

namespace {

void text(std::string_view value)
{
    require(validUtf8(value));
}

[[maybe_unused]] void visit(const NotchConfiguration &c)
{
    for (const std::string *value : {&c.node, &c.cli, &c.origin, &c.config, &c.provider})
        text(*value);
}

[[maybe_unused]] void visit(const LiveSnapshot &snapshot)
{
    text(snapshot.account.id);
    text(snapshot.account.provider);
    text(snapshot.account.origin);
    for (const LiveScope &scope : snapshot.scopes) {
        text(scope.id);
        text(scope.name);
        for (const auto &[slug, color] : scope.colors) {
            text(slug);
            text(color);
        }
    }
    for (const LiveMessage &m : snapshot.messages) {
        for (std::string_view value : {m.id, m.messageId, m.scopeId, m.conversationId, m.senderId, m.sender,
                                       m.subject, m.body, m.kind})
            text(value);
        for (std::string_view category : m.categories)
            text(category);
        for (const VisualizationFile &file : m.files) {
            text(file.name);
            text(file.type);
            text(file.data);
        }
        if (m.replyTo)
            text(*m.replyTo);
        if (m.conversationTitle)
            text(*m.conversationTitle);
    }
    // Two refreshes in a row: the second reuses every record of the first.
    LiveMessageCache cache;
    const QList<Message> first = cache.apply(snapshot);
    require(first.size() == qsizetype(snapshot.messages.size()));
    const QList<Message> second = cache.apply(snapshot);
    require(second.size() == first.size());
    for (qsizetype i = 0; i < first.size(); ++i)
        require(first.at(i).id == second.at(i).id && first.at(i).body == second.at(i).body);
}

[[maybe_unused]] void visit(const LiveMutationResult &r)
{
    text(r.id);
    text(r.account.id);
    text(r.account.provider);
    text(r.account.origin);
}

[[maybe_unused]] void visit(const LiveSendResult &r)
{
    text(r.id);
    text(r.status);
}

[[maybe_unused]] void visit(const LiveSubscriptions &list)
{
    for (const LiveSubscription &s : list.subscriptions) {
        text(s.urlText);
        text(s.ticket);
        (void)SyncSocket::isAllowedAddress(s);
    }
}

[[maybe_unused]] void visit(const LiveStateHint &hint)
{
    text(hint.type);
}

template <class Record>
void check(Result<Record> (*decode)(const QByteArray &), const std::uint8_t *data, std::size_t size)
{
    // Exactly sized (the decoder has to copy) and with spare capacity (it parses in place).
    const QByteArray tight(reinterpret_cast<const char *>(data), qsizetype(size));
    QByteArray roomy;
    roomy.reserve(qsizetype(size) + 256);
    roomy.append(tight);

    const Result<Record> a = decode(tight);
    const Result<Record> b = decode(roomy);
    require(a.ok() == b.ok());
    if (!a.ok()) {
        require(a.failure() == b.failure());
        require(!a.failure().description.isEmpty());
        require(!a.failure().description.contains(QLatin1Char('\n')));
        return;
    }
    require(a.value() == b.value());
    visit(a.value());

    // Nothing may follow the document.
    QByteArray trailing = tight;
    trailing.append(" x");
    require(!decode(trailing).ok());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    check(&WireDecoder::WIRE_RECORD, data, size);
    return 0;
}
