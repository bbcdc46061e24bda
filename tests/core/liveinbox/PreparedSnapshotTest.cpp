#include "SnapshotJson.h"
#include "liveinbox/LiveMessageConversion.h"
#include "liveinbox/PreparedSnapshot.h"
#include "liveinbox/SnapshotDecoder.h"
#include "liveinbox/WireDecoder.h"
#include "records/RecordIdentity.h"

#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <map>
#include <random>

namespace {

QByteArray snapshotBytes(const QList<TestMessage> &messages, const QString &account = QStringLiteral("me"))
{
    SnapshotJson json;
    json.account(account);
    json.scope({QStringLiteral("personal"), QStringLiteral("P"), {}});
    for (const TestMessage &message : messages)
        json.message(message);
    return json.bytes();
}

bool sameConversion(const Message &a, const Message &b)
{
    return a.id == b.id && a.body.constData() == b.body.constData() && a.sender.constData() == b.sender.constData();
}

// Prepares on the decoder's worker thread and waits for the product.
Result<PreparedSnapshot> prepareAway(SnapshotDecoder &decoder, const QByteArray &bytes, const LiveMessageCache &cache)
{
    std::optional<Result<PreparedSnapshot>> result;
    decoder.prepare(bytes, cache, [&](Result<PreparedSnapshot> prepared) { result.emplace(std::move(prepared)); });
    EXPECT_TRUE(QTest::qWaitFor([&] { return result.has_value(); }, 10000));
    if (!result)
        return Failure::json(QStringLiteral("timed out"));
    return std::move(*result);
}

} // namespace

TEST(PreparedSnapshot, ConvertingThroughACopyLeavesTheOriginalCacheAsItWas)
{
    LiveMessageCache cache;
    const QList<Message> first =
        cache.apply(WireDecoder::snapshot(snapshotBytes({{.id = QStringLiteral("a")}, {.id = QStringLiteral("b")}})).value());

    // A snapshot prepared and then discarded (a local change came in meanwhile).
    const Result<PreparedSnapshot> discarded = PreparedSnapshot::prepare(
        snapshotBytes({{.id = QStringLiteral("a"), .unread = true}}, QStringLiteral("other")), cache);
    ASSERT_TRUE(discarded.ok());
    EXPECT_EQ(discarded->cache.account(), "other");
    EXPECT_EQ(discarded->messages.size(), 1);
    EXPECT_EQ(cache.account(), "me");
    EXPECT_EQ(cache.size(), 2u);
    ASSERT_NE(cache.message("b"), nullptr);

    // The next one still reuses what the original cache remembers.
    Result<PreparedSnapshot> next =
        PreparedSnapshot::prepare(snapshotBytes({{.id = QStringLiteral("b")}, {.id = QStringLiteral("a")}}), cache);
    ASSERT_TRUE(next.ok());
    ASSERT_EQ(next->messages.size(), 2);
    EXPECT_TRUE(sameConversion(next->messages[0], first[1]));
    EXPECT_TRUE(sameConversion(next->messages[1], first[0]));
    // A new list comes with its thread index, built for exactly that list.
    ASSERT_NE(next->threads, nullptr);
    EXPECT_EQ(next->threads->messages().constData(), next->messages.constData());
    EXPECT_EQ(next->threads->totalUnread(), 0);

    // Adopted, the copy is the cache: the same records again give the very same list, with no index to build.
    cache = next.value().cache;
    const Result<PreparedSnapshot> again =
        PreparedSnapshot::prepare(snapshotBytes({{.id = QStringLiteral("b")}, {.id = QStringLiteral("a")}}), cache);
    ASSERT_TRUE(again.ok());
    EXPECT_EQ(again->messages.constData(), next->messages.constData());
    EXPECT_EQ(again->threads, nullptr);

    const Result<PreparedSnapshot> broken = PreparedSnapshot::prepare("{\"version\":1}", cache);
    ASSERT_FALSE(broken.ok());
    EXPECT_EQ(broken.failure().description, QStringLiteral("account: missing"));
}

// Random sequences prepared on the worker thread, each applied or discarded at random, against the plain rule:
// a record is reused exactly when the last applied snapshot of the same account held an equal record as the
// last one with its id.
TEST(PreparedSnapshot, AwayFromTheMainThreadReusesExactlyWhatThePlainRuleReuses)
{
    std::mt19937 random(11);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const QStringList ids{QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("d")};
    const QStringList bodies{QStringLiteral("One"), QStringLiteral("Zwei é"), QStringLiteral("日本語 three")};

    SnapshotDecoder decoder;
    LiveMessageCache cache;
    std::optional<LiveSnapshot> applied; // the last applied snapshot, as decoded in place
    QList<Message> appliedResult;
    for (int round = 0; round < 120; ++round) {
        QList<TestMessage> messages;
        const int count = pick(6);
        for (int i = 0; i < count; ++i) {
            messages.append({.id = ids[pick(int(ids.size()))], .body = bodies[pick(int(bodies.size()))],
                             .category = pick(2) ? QStringLiteral("needs-response") : QString(),
                             .unread = pick(2) == 0, .focused = pick(3) == 0});
        }
        const QByteArray bytes = snapshotBytes(messages, pick(8) == 0 ? QStringLiteral("you") : QStringLiteral("me"));
        Result<PreparedSnapshot> prepared = prepareAway(decoder, bytes, cache);
        ASSERT_TRUE(prepared.ok());
        const LiveSnapshot current = WireDecoder::snapshot(bytes).value();
        ASSERT_EQ(prepared->snapshot, current);
        ASSERT_EQ(prepared->messages.size(), qsizetype(current.messages.size()));
        ASSERT_TRUE(static_cast<bool>(prepared->release)); // the worker frees what an applied snapshot replaces

        const bool sameAccount = applied && applied->account == current.account;
        std::map<std::string_view, std::size_t> lastBefore;
        if (applied) {
            for (std::size_t i = 0; i < applied->messages.size(); ++i)
                lastBefore[applied->messages[i].id] = i;
        }
        for (std::size_t i = 0; i < current.messages.size(); ++i) {
            const LiveMessage &wire = current.messages[i];
            const Message &message = prepared->messages[qsizetype(i)];
            EXPECT_EQ(message.id, LiveMessageConversion::localID(wire));
            EXPECT_EQ(message.unread, wire.unread);
            const auto before = lastBefore.find(wire.id);
            const bool reusable =
                sameAccount && before != lastBefore.end() && applied->messages[before->second] == wire;
            const bool reused =
                before != lastBefore.end() && sameConversion(message, appliedResult[qsizetype(before->second)]);
            EXPECT_EQ(reused, reusable) << "round " << round << " position " << i;
        }

        if (pick(3) != 0) { // applied; otherwise discarded and the cache stays
            cache = prepared.value().cache;
            applied = current;
            appliedResult = prepared->messages;
        }
    }
}

TEST(PreparedSnapshot, CarriesTheAccountScopesAndFocusOrderAsThePanelShowsThem)
{
    SnapshotJson json;
    json.account(QStringLiteral("acct-1"), QStringLiteral("https://example.test"));
    json.scope({QStringLiteral("personal"), QStringLiteral("Personal"), {}});
    json.scope({QStringLiteral("team-z"), QString::fromUtf8("Z\xC3\xBCrich crew"),
                {{QStringLiteral("needs-response"), QStringLiteral("#ff0000")},
                 {QStringLiteral("launch-plan"), QStringLiteral("#00ff00")}}});
    json.message({.id = QStringLiteral("late"), .focused = true, .focusIndex = 2});
    json.message({.id = QStringLiteral("plain")});
    json.message({.id = QStringLiteral("first"), .focused = true, .focusIndex = 1});
    json.message({.id = QStringLiteral("tie"), .focused = true, .focusIndex = 2});

    const Result<PreparedSnapshot> prepared = PreparedSnapshot::prepare(json.bytes(), LiveMessageCache());
    ASSERT_TRUE(prepared.ok());
    const SnapshotRecords &records = prepared->records;
    EXPECT_EQ(records.accountID, QStringLiteral("acct-1"));
    EXPECT_EQ(records.origin, QStringLiteral("https://example.test"));
    ASSERT_EQ(records.scopes.size(), 2);
    EXPECT_EQ(records.scopes[0], (ScopeRecord{InboxScope::personal(), QStringLiteral("Personal"), {}}));
    EXPECT_EQ(records.scopes[1].id, InboxScope{QStringLiteral("team-z")});
    EXPECT_EQ(records.scopes[1].name, QString::fromUtf8("Z\xC3\xBCrich crew"));
    // Label colours are keyed by the label's display name.
    EXPECT_EQ(records.scopes[1].labelColors,
              (QHash<QString, QString>{{QStringLiteral("Needs response"), QStringLiteral("#ff0000")},
                                       {QStringLiteral("Launch Plan"), QStringLiteral("#00ff00")}}));
    // Focused records by focus index; equal indices keep snapshot order.
    EXPECT_EQ(records.focusOrder, (QList<QUuid>{RecordIdentity::localID("first"), RecordIdentity::localID("late"),
                                                RecordIdentity::localID("tie")}));
}
