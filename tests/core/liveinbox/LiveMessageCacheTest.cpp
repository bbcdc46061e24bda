#include "liveinbox/LiveMessageCache.h"
#include "liveinbox/LiveMessageConversion.h"
#include "liveinbox/WireDecoder.h"

#include <gtest/gtest.h>

#include "records/RecordTextPool.h"

#include <functional>
#include <map>
#include <random>
#include <set>

namespace {

// A record whose texts are string literals (they outlive every test).
LiveMessage record(std::string_view id = "rec-1")
{
    LiveMessage m;
    m.id = id;
    m.messageId = "msg-1";
    m.scopeId = "team-launch";
    m.conversationId = "conv-9";
    m.senderId = "acct-7";
    m.sender = "Nora Patel";
    m.subject = "Launch notes";
    m.body = "Hello **team**";
    m.categories = {"needs-response"};
    m.kind = "thread";
    m.createdAt = 1700000000.25;
    m.unread = true;
    m.focused = true;
    m.focusIndex = 3;
    m.replyTo = "msg-0";
    m.conversationTitle = "Ignored title";
    return m;
}

// One message object; `overrides` replaces or adds keys (raw JSON values).
QByteArray messageJson(const QByteArray &id, std::map<QByteArray, QByteArray> overrides = {})
{
    std::map<QByteArray, QByteArray> fields{
        {"id", '"' + id + '"'},     {"messageId", R"("m-)" + id + '"'}, {"scopeId", R"("personal")"},
        {"conversationId", R"("c")"}, {"senderId", R"("42")"},          {"sender", R"("Owen Brandt")"},
        {"subject", R"("Hi")"},      {"body", R"("Body of )" + id + '"'}, {"categories", R"(["launch-plan"])"},
        {"kind", R"("direct")"},     {"createdAt", "17.5"},              {"unread", "false"},
        {"focused", "false"},        {"focusIndex", "0"},
    };
    for (auto &[key, value] : overrides)
        fields[key] = value;
    QByteArray out = "{";
    for (const auto &[key, value] : fields) {
        if (out.size() > 1)
            out += ',';
        out += '"' + key + "\":" + value;
    }
    return out + '}';
}

LiveSnapshot snapshot(const QList<QByteArray> &messages, const QByteArray &account = "42",
                      const QByteArray &origin = "https://t.example")
{
    const QByteArray json = R"({"version":1,"account":{"id":")" + account + R"(","provider":"x","origin":")" +
                            origin + R"("},"scopes":[],"messages":[)" + messages.join(',') + R"(],"fetchedAt":1})";
    auto result = WireDecoder::snapshot(json);
    if (!result.ok()) {
        ADD_FAILURE() << result.failure().description.toStdString();
        return {};
    }
    return std::move(result).value();
}

// A reused Message shares its texts with the earlier one; a fresh conversion allocates new ones.
bool sameConversion(const Message &a, const Message &b)
{
    return a.id == b.id && a.body.constData() == b.body.constData() && a.sender.constData() == b.sender.constData();
}

QString initials(const char *sender)
{
    LiveMessage m = record();
    m.sender = sender;
    return LiveMessageConversion::message(m).initials;
}

QString category(QVarLengthArray<std::string_view, 2> categories)
{
    LiveMessage m = record();
    m.categories = std::move(categories);
    return LiveMessageConversion::message(m).category;
}

} // namespace

TEST(LiveMessageConversion, LocalIdIsTheLeadingHalfOfTheSha256OfTheRecordId)
{
    // printf %s rec-1 | sha256sum -> a7c73f631276b8ba8eeacf43c2bccc19 7228de7b...
    const QUuid id = LiveMessageConversion::localID(record("rec-1"));
    EXPECT_EQ(id.toRfc4122(), QByteArray::fromHex("a7c73f631276b8ba8eeacf43c2bccc19"));
    EXPECT_EQ(Message::canonical(id), QStringLiteral("A7C73F63-1276-B8BA-8EEA-CF43C2BCCC19"));
    // printf %s Zürich-7 | sha256sum -> 12e2bf5bd18e7afc10fec0307a554100...: UTF-8 bytes, and neither the
    // version nibble (7) nor the variant bits (1) are adjusted.
    EXPECT_EQ(Message::canonical(LiveMessageConversion::localID(record("Z\xC3\xBCrich-7"))),
              QStringLiteral("12E2BF5B-D18E-7AFC-10FE-C0307A554100"));
    // Depends on the id alone.
    LiveMessage other = record("rec-1");
    other.body = "changed";
    other.unread = false;
    EXPECT_EQ(LiveMessageConversion::localID(other), id);
}

TEST(LiveMessageConversion, FillsEveryFieldFromTheRecord)
{
    const LiveMessage wire = record();
    const Message m = LiveMessageConversion::message(wire);
    EXPECT_EQ(m.id, LiveMessageConversion::localID(wire));
    EXPECT_EQ(m.sender, QStringLiteral("Nora Patel"));
    EXPECT_EQ(m.initials, QStringLiteral("NP"));
    EXPECT_EQ(m.subject, QStringLiteral("Launch notes"));
    EXPECT_EQ(m.body, QStringLiteral("Hello **team**")); // no files, no fence
    EXPECT_EQ(m.category, QStringLiteral("Needs response"));
    EXPECT_EQ(m.color, (MessageColor{0.68, 0.75, 1.0, 1.0}));
    EXPECT_TRUE(m.unread);
    EXPECT_EQ(m.scope, InboxScope{QStringLiteral("team-launch")});
    EXPECT_EQ(m.kind, ConversationKind::thread);
    EXPECT_EQ(m.conversation, QStringLiteral("Launch notes"));
    EXPECT_EQ(m.conversationID, QStringLiteral("conv-9"));
    EXPECT_EQ(m.senderAccountID, QStringLiteral("acct-7"));
    EXPECT_TRUE(m.released);
    EXPECT_TRUE(m.replies.isEmpty());
    EXPECT_EQ(m.remoteID, QStringLiteral("rec-1"));
    EXPECT_EQ(m.serverMessageID, QStringLiteral("msg-1"));
    EXPECT_EQ(m.replyTo, QStringLiteral("msg-0"));
    EXPECT_EQ(m.sentAt, 1700000000.25);

    LiveMessage root = record();
    root.replyTo.reset();
    root.sender = "Jos\xC3\xA9";
    root.subject = "caf\xC3\xA9 \xE6\x97\xA5\xE6\x9C\xAC";
    const Message converted = LiveMessageConversion::message(root);
    EXPECT_FALSE(converted.replyTo.has_value());
    EXPECT_EQ(converted.sender, QString::fromUtf8("José"));
    EXPECT_EQ(converted.subject, QString::fromUtf8("café 日本"));
}

TEST(LiveMessageConversion, KindsAndConversationTitles)
{
    const std::pair<const char *, std::pair<ConversationKind, QString>> cases[] = {
        {"direct", {ConversationKind::direct, QStringLiteral("Direct message")}},
        {"thread", {ConversationKind::thread, QStringLiteral("Launch notes")}},
        {"Direct", {ConversationKind::inbox, QStringLiteral("Shared inbox")}},
        {"Thread", {ConversationKind::inbox, QStringLiteral("Shared inbox")}},
        {"inbox", {ConversationKind::inbox, QStringLiteral("Shared inbox")}},
        {"", {ConversationKind::inbox, QStringLiteral("Shared inbox")}},
    };
    for (const auto &[kind, expected] : cases) {
        LiveMessage m = record();
        m.kind = kind;
        const Message converted = LiveMessageConversion::message(m);
        EXPECT_EQ(converted.kind, expected.first) << kind;
        EXPECT_EQ(converted.conversation, expected.second) << kind;
    }
}

TEST(LiveMessageConversion, InitialsTakeWholeCharactersOfTheFirstTwoPieces)
{
    EXPECT_EQ(initials("nora_patel smith"), QStringLiteral("NP"));
    EXPECT_EQ(initials("Nora"), QStringLiteral("N"));
    EXPECT_EQ(initials("   "), QString());
    EXPECT_EQ(initials(""), QString());
    EXPECT_EQ(initials("  owen   brandt  x"), QStringLiteral("OB"));
    EXPECT_EQ(initials("__lena__"), QStringLiteral("L"));
    EXPECT_EQ(initials("\r\nx y"), QStringLiteral("\r\nY")); // CR LF is one character
    EXPECT_EQ(initials("\r\n\xC3\xA9 y"), QStringLiteral("\r\nY"));
    // Only the space character and the underscore split.
    EXPECT_EQ(initials("nora\tpatel"), QStringLiteral("N"));
    EXPECT_EQ(initials("nora\xC2\xA0patel"), QStringLiteral("N"));
    // A letter with a combining mark, an emoji with a skin tone, a flag and a joined emoji sequence are
    // each one character.
    EXPECT_EQ(initials("e\xCC\x81lodie martin"), QString::fromUtf8("E\xCC\x81M"));
    EXPECT_EQ(initials("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBD ok"), QString::fromUtf8("\xF0\x9F\x91\x8D\xF0\x9F\x8F\xBDO"));
    EXPECT_EQ(initials("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAA team"), QString::fromUtf8("\xF0\x9F\x87\xA9\xF0\x9F\x87\xAAT"));
    EXPECT_EQ(initials("\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7 family"),
              QString::fromUtf8("\xF0\x9F\x91\xA9\xE2\x80\x8D\xF0\x9F\x91\xA7"
                                "F"));
    // Upper-casing is the full mapping.
    EXPECT_EQ(initials("\xC3\xA5sa lindqvist"), QString::fromUtf8("ÅL"));
    EXPECT_EQ(initials("\xC3\x9F x"), QStringLiteral("SSX"));
}

TEST(LiveMessageConversion, CategoryIsTheDisplayNameOfTheFirstSlug)
{
    EXPECT_EQ(category({"needs-response", "launch-plan"}), QStringLiteral("Needs response"));
    EXPECT_EQ(category({"updates-context"}), QStringLiteral("Updates & context"));
    EXPECT_EQ(category({"feedback-ideas"}), QStringLiteral("Feedback & ideas"));
    EXPECT_EQ(category({"introductions-opportunities"}), QStringLiteral("Introductions & opportunities"));
    EXPECT_EQ(category({"launch-plan", "needs-response"}), QStringLiteral("Launch Plan"));
    EXPECT_EQ(category({}), QString());

    EXPECT_EQ(LiveMessageConversion::categoryName("design"), QStringLiteral("Design"));
    EXPECT_EQ(LiveMessageConversion::categoryName("LAUNCH-pLAN"), QStringLiteral("Launch Plan"));
    EXPECT_EQ(LiveMessageConversion::categoryName("two words-here"), QStringLiteral("Two Words Here"));
    EXPECT_EQ(LiveMessageConversion::categoryName("a--b-"), QStringLiteral("A  B "));
    EXPECT_EQ(LiveMessageConversion::categoryName("\xC3\xBC" "ber-\xC3\x89T\xC3\x89"), QString::fromUtf8("Über Été"));
    EXPECT_EQ(LiveMessageConversion::categoryName(""), QString());
}

TEST(LiveMessageConversion, FilesTravelInOneFenceAfterTheBody)
{
    LiveMessage m = record();
    EXPECT_EQ(LiveMessageConversion::attachmentEnvelope(m), "");

    m.files = {{"pulse \"v2\".html", "text/html", "PGI+"}, {"notes\n\xC3\xA9.txt", "text/plain", ""}};
    const std::string envelope = LiveMessageConversion::attachmentEnvelope(m);
    const std::string open = "\n\n```tandrel-files-v1\n";
    ASSERT_TRUE(envelope.starts_with(open));
    ASSERT_TRUE(envelope.ends_with("\n```"));
    const std::string json = envelope.substr(open.size(), envelope.size() - open.size() - 4);
    const auto decoded = WireDecoder::visualizationFiles(json);
    ASSERT_TRUE(decoded.ok()) << decoded.failure().description.toStdString();
    EXPECT_EQ(decoded.value(), m.files);

    const QString body = LiveMessageConversion::message(m).body;
    EXPECT_EQ(body, QStringLiteral("Hello **team**") + QString::fromStdString(envelope));
    EXPECT_EQ(body.count(QStringLiteral("```tandrel-files-v1")), 1);
    EXPECT_EQ(body.count(QStringLiteral("```")), 2);
    EXPECT_FALSE(body.endsWith(u'\n'));
}

TEST(LiveMessageConversion, EnvelopeEscapesCharactersWhereverTheySit)
{
    for (const char special : {'"', '\\', '\x01', '\n', '\x1f', '\x7f'}) {
        for (std::size_t offset = 0; offset < 17; ++offset) {
            LiveMessage m = record();
            const std::string name = std::string(offset, 'a') + special + std::string(20, 'b') + special;
            m.files = {{name, "text/html", std::string(offset, 'Z') + "\xC3\xA9"}};
            const std::string envelope = LiveMessageConversion::attachmentEnvelope(m);
            const std::string json = envelope.substr(21, envelope.size() - 25);
            const auto decoded = WireDecoder::visualizationFiles(json);
            ASSERT_TRUE(decoded.ok()) << int(special) << ' ' << offset << ' ' << json;
            EXPECT_EQ(decoded.value(), m.files) << int(special) << ' ' << offset;
        }
    }
}

// The check that lets a cached Message stand for a record: true exactly when converting the record would
// give that Message, whatever the record's other fields say.
TEST(LiveMessageConversion, ConvertsToHoldsExactlyWhenTheConversionWouldBeEqual)
{
    RecordTextPool pool;
    const LiveMessage base = record();
    const Message converted = LiveMessageConversion::message(base);
    EXPECT_TRUE(LiveMessageConversion::convertsTo(base, converted, pool));

    const std::vector<std::pair<const char *, std::function<void(LiveMessage &)>>> carried{
        {"id", [](LiveMessage &m) { m.id = "rec-2"; }},
        {"messageId", [](LiveMessage &m) { m.messageId = "msg-2"; }},
        {"scopeId", [](LiveMessage &m) { m.scopeId = "personal"; }},
        {"conversationId", [](LiveMessage &m) { m.conversationId = "conv-8"; }},
        {"senderId", [](LiveMessage &m) { m.senderId = "acct-8"; }},
        {"sender", [](LiveMessage &m) { m.sender = "Nora Pate"; }},
        {"non-ASCII sender", [](LiveMessage &m) { m.sender = "Nora P\xC3\xA4tel"; }},
        {"sender of the same length", [](LiveMessage &m) { m.sender = "Nora Petal"; }},
        {"subject", [](LiveMessage &m) { m.subject = "Launch notes "; }},
        {"body", [](LiveMessage &m) { m.body = "Hello **team*"; }},
        {"non-ASCII body", [](LiveMessage &m) { m.body = "HÃ©llo **team**"; }},
        {"files", [](LiveMessage &m) { m.files = {{"a.html", "text/html", "PGI+"}}; }},
        {"category", [](LiveMessage &m) { m.categories = {"launch-plan"}; }},
        {"no category", [](LiveMessage &m) { m.categories = {}; }},
        {"kind", [](LiveMessage &m) { m.kind = "direct"; }},
        {"createdAt", [](LiveMessage &m) { m.createdAt += 0.001; }},
        {"unread", [](LiveMessage &m) { m.unread = false; }},
        {"replyTo", [](LiveMessage &m) { m.replyTo = "msg-00"; }},
        {"no replyTo", [](LiveMessage &m) { m.replyTo.reset(); }},
    };
    for (const auto &[field, change] : carried) {
        LiveMessage changed = base;
        change(changed);
        EXPECT_FALSE(LiveMessageConversion::convertsTo(changed, converted, pool)) << field;
        EXPECT_TRUE(LiveMessageConversion::convertsTo(changed, LiveMessageConversion::message(changed), pool)) << field;
    }

    // What the Message does not carry, or carries only through a rule that maps both values alike.
    LiveMessage same = base;
    same.focused = false;
    same.focusIndex = 9;
    same.conversationTitle.reset();
    same.categories = {"needs-response", "design"};
    EXPECT_TRUE(LiveMessageConversion::convertsTo(same, converted, pool));
    // Unknown kinds are all the shared inbox.
    LiveMessage inbox = base;
    inbox.kind = "inbox";
    const Message shared = LiveMessageConversion::message(inbox);
    inbox.kind = "Inbox";
    EXPECT_TRUE(LiveMessageConversion::convertsTo(inbox, shared, pool));

    // A Message changed here since (read locally, replied to) is not what the record converts to.
    Message read = converted;
    read.unread = false;
    EXPECT_FALSE(LiveMessageConversion::convertsTo(base, read, pool));
    Message replied = converted;
    replied.replies.append(DemoReply{});
    EXPECT_FALSE(LiveMessageConversion::convertsTo(base, replied, pool));
}

// What the Message leaves out changes the digest: the focus fields, the conversation title (absent is not
// empty), and the kind and label slugs as sent (where one slug ends counts).
TEST(LiveMessageCache, TheDigestCoversWhatTheMessageDoesNotCarry)
{
    const LiveMessage base = record();
    const std::vector<std::function<void(LiveMessage &)>> changes{
        [](LiveMessage &m) { m.focused = false; },
        [](LiveMessage &m) { m.focusIndex = 4; },
        [](LiveMessage &m) { m.conversationTitle.reset(); },
        [](LiveMessage &m) { m.conversationTitle = ""; },
        [](LiveMessage &m) { m.conversationTitle = "Ignored titles"; },
        [](LiveMessage &m) { m.kind = "Thread"; },
        [](LiveMessage &m) { m.categories = {"needs-response", "x"}; },
        [](LiveMessage &m) { m.categories = {"needs-responsex"}; },
        [](LiveMessage &m) { m.categories = {"needs-", "response"}; },
        [](LiveMessage &m) { m.categories = {}; },
    };
    const LiveMessageCache::Digest digest = LiveMessageCache::digest(base);
    EXPECT_EQ(LiveMessageCache::digest(record()), digest);
    std::set<LiveMessageCache::Digest> seen{digest};
    for (std::size_t i = 0; i < changes.size(); ++i) {
        LiveMessage changed = base;
        changes[i](changed);
        EXPECT_TRUE(seen.insert(LiveMessageCache::digest(changed)).second) << "change " << i;
    }
}

TEST(LiveMessageCache, UnchangedRecordsOfTheSameAccountKeepTheirMessage)
{
    LiveMessageCache cache;
    EXPECT_FALSE(cache.account().has_value());
    std::weak_ptr<const void> firstStorage;
    QList<Message> first;
    {
        const LiveSnapshot one = snapshot({messageJson("a"), messageJson("b")});
        firstStorage = one.storage;
        first = cache.apply(one);
    }
    ASSERT_EQ(first.size(), 2);
    EXPECT_EQ(cache.account(), "42");
    EXPECT_EQ(cache.origin(), "https://t.example");
    EXPECT_TRUE(firstStorage.expired()); // nothing of the snapshot is kept: it goes with the snapshot

    const LiveSnapshot two = snapshot({messageJson("a"), messageJson("b")});
    const QList<Message> second = cache.apply(two);
    ASSERT_EQ(second.size(), 2);
    EXPECT_TRUE(sameConversion(second[0], first[0]));
    EXPECT_TRUE(sameConversion(second[1], first[1]));
    ASSERT_NE(cache.digestOf("a"), nullptr);
    EXPECT_EQ(*cache.digestOf("a"), LiveMessageCache::digest(two.messages[0]));

    // The same records in another order.
    const QList<Message> swapped = cache.apply(snapshot({messageJson("b"), messageJson("a")}));
    ASSERT_EQ(swapped.size(), 2);
    EXPECT_TRUE(sameConversion(swapped[0], first[1]));
    EXPECT_TRUE(sameConversion(swapped[1], first[0]));
    EXPECT_EQ(second[0].remoteID, QStringLiteral("a")); // earlier results are left as they were
}

TEST(LiveMessageCache, TheRecordsOfOneSnapshotShareTheTextsTheyRepeat)
{
    LiveMessageCache cache;
    const QList<Message> messages = cache.apply(snapshot(
        {messageJson("a"), messageJson("b"),
         messageJson("c", {{"conversationId", R"("other")"}, {"sender", R"("Nora Patel")"}, {"senderId", R"("7")"},
                           {"scopeId", R"("team")"}})}));
    ASSERT_EQ(messages.size(), 3);
    const Message &a = messages[0];
    const Message &b = messages[1];
    const Message &c = messages[2];
    // One copy of each repeated text, in every record that carries it.
    EXPECT_EQ(a.conversationID.constData(), b.conversationID.constData());
    EXPECT_EQ(a.scope.rawValue.constData(), b.scope.rawValue.constData());
    EXPECT_EQ(a.sender.constData(), b.sender.constData());
    EXPECT_EQ(a.senderAccountID.constData(), b.senderAccountID.constData());
    // Other bytes, other texts; and each is the record's own.
    EXPECT_EQ(a.conversationID, QStringLiteral("c"));
    EXPECT_EQ(c.conversationID, QStringLiteral("other"));
    EXPECT_EQ(c.sender, QStringLiteral("Nora Patel"));
    EXPECT_EQ(c.senderAccountID, QStringLiteral("7"));
    EXPECT_EQ(c.scope.rawValue, QStringLiteral("team"));
    EXPECT_EQ(b.sender, QStringLiteral("Owen Brandt"));
    // The bodies are each record's own.
    EXPECT_NE(a.body, b.body);
}

TEST(LiveMessageCache, AnotherAccountOrOriginConvertsAfresh)
{
    LiveMessageCache cache;
    const QList<Message> first = cache.apply(snapshot({messageJson("a")}));

    const QList<Message> otherAccount = cache.apply(snapshot({messageJson("a")}, "43"));
    ASSERT_EQ(otherAccount.size(), 1);
    EXPECT_EQ(otherAccount[0].id, first[0].id);
    EXPECT_FALSE(sameConversion(otherAccount[0], first[0]));
    EXPECT_EQ(cache.account(), "43");

    const QList<Message> otherOrigin = cache.apply(snapshot({messageJson("a")}, "43", "https://u.example"));
    EXPECT_FALSE(sameConversion(otherOrigin[0], otherAccount[0]));
    EXPECT_EQ(cache.origin(), "https://u.example");

    // Origins compare exactly.
    const QList<Message> slash = cache.apply(snapshot({messageJson("a")}, "43", "https://u.example/"));
    EXPECT_FALSE(sameConversion(slash[0], otherOrigin[0]));

    const QList<Message> again = cache.apply(snapshot({messageJson("a")}, "43", "https://u.example/"));
    EXPECT_TRUE(sameConversion(again[0], slash[0]));
}

TEST(LiveMessageCache, ChangedRecordsAreConvertedAgainAndDepartedOnesForgotten)
{
    LiveMessageCache cache;
    const QList<Message> first = cache.apply(snapshot({messageJson("a"), messageJson("b"), messageJson("c")}));
    // A field the Message does not carry still counts as a change of the record.
    const QList<Message> second = cache.apply(snapshot(
        {messageJson("c", {{"conversationTitle", R"("T")"}}), messageJson("a", {{"unread", "true"}})}));
    ASSERT_EQ(second.size(), 2);
    EXPECT_FALSE(sameConversion(second[0], first[2]));
    EXPECT_FALSE(sameConversion(second[1], first[0]));
    EXPECT_TRUE(second[1].unread);
    EXPECT_EQ(second[1].id, first[0].id);
    EXPECT_EQ(cache.size(), 2u);
    EXPECT_EQ(cache.digestOf("b"), nullptr);
    EXPECT_EQ(cache.message("b"), nullptr);
    const LiveSnapshot titled = snapshot({messageJson("c", {{"conversationTitle", R"("T")"}})});
    EXPECT_EQ(*cache.digestOf("c"), LiveMessageCache::digest(titled.messages[0]));

    const QList<Message> back = cache.apply(snapshot({messageJson("b")}));
    EXPECT_FALSE(sameConversion(back[0], first[1]));
    EXPECT_EQ(back[0].id, first[1].id);
    EXPECT_TRUE(cache.apply(snapshot({})).isEmpty());
    EXPECT_EQ(cache.size(), 0u);
}

TEST(LiveMessageCache, RepeatedIdsAllAppearAndTheLastIsRemembered)
{
    LiveMessageCache cache;
    const QList<QByteArray> messages{messageJson("a"), messageJson("b"), messageJson("a", {{"unread", "true"}}),
                                     messageJson("b")};
    const QList<Message> first = cache.apply(snapshot(messages));
    ASSERT_EQ(first.size(), 4);
    EXPECT_FALSE(first[0].unread);
    EXPECT_TRUE(first[2].unread);
    EXPECT_EQ(first[0].id, first[2].id);
    EXPECT_EQ(cache.size(), 2u);
    const LiveSnapshot again = snapshot(messages);
    EXPECT_EQ(*cache.digestOf("a"), LiveMessageCache::digest(again.messages[2]));
    EXPECT_TRUE(cache.message("a")->unread);

    // The first "a" differs from the remembered (last) one and is converted; the rest are reused.
    const QList<Message> second = cache.apply(snapshot(messages));
    EXPECT_FALSE(sameConversion(second[0], first[0]));
    EXPECT_TRUE(sameConversion(second[2], first[2]));
    EXPECT_TRUE(sameConversion(second[1], first[3]));
    EXPECT_TRUE(sameConversion(second[3], first[3]));
}

TEST(LiveMessageCache, ResetForgetsEverything)
{
    LiveMessageCache cache;
    std::weak_ptr<const void> storage;
    QList<Message> first;
    {
        const LiveSnapshot one = snapshot({messageJson("a")});
        storage = one.storage;
        first = cache.apply(one);
    }
    cache.reset();
    EXPECT_FALSE(cache.account().has_value());
    EXPECT_FALSE(cache.origin().has_value());
    EXPECT_EQ(cache.size(), 0u);
    EXPECT_TRUE(storage.expired());

    const QList<Message> again = cache.apply(snapshot({messageJson("a")}));
    EXPECT_FALSE(sameConversion(again[0], first[0]));
    EXPECT_EQ(again[0].id, first[0].id);
}

// Random sequences of snapshots (changes, reorders, repeats, departures, account switches) against the
// plain rule: a record is reused exactly when the previous snapshot of the same account held an equal
// record as the last one with its id.
TEST(LiveMessageCache, ReusesExactlyWhatThePlainRuleReuses)
{
    std::mt19937 random(7);
    auto pick = [&](int n) { return int(random() % unsigned(n)); };
    const QList<QByteArray> ids{"a", "b", "c", "d", "e", "f"};
    const QList<QByteArray> subjects{R"("One")", R"("Two")"};

    LiveMessageCache cache;
    LiveSnapshot previous;
    QList<Message> previousResult;
    bool havePrevious = false;
    for (int round = 0; round < 400; ++round) {
        QList<QByteArray> messages;
        const int count = pick(9);
        for (int i = 0; i < count; ++i) {
            messages.append(messageJson(ids[pick(ids.size())], {{"unread", pick(2) ? "true" : "false"},
                                                               {"subject", subjects[pick(2)]},
                                                               {"categories", pick(2) ? "[]" : R"(["x"])"}}));
        }
        const QByteArray account = pick(10) == 0 ? "43" : "42";
        LiveSnapshot current = snapshot(messages, account);
        const QList<Message> result = cache.apply(current);
        ASSERT_EQ(result.size(), qsizetype(current.messages.size()));

        const bool sameAccount = havePrevious && previous.account == current.account;
        std::map<std::string_view, std::size_t> lastBefore, lastNow;
        for (std::size_t i = 0; i < previous.messages.size(); ++i)
            lastBefore[previous.messages[i].id] = i;
        for (std::size_t i = 0; i < current.messages.size(); ++i) {
            const LiveMessage &wire = current.messages[i];
            lastNow[wire.id] = i;
            const Message &message = result[qsizetype(i)];
            EXPECT_EQ(message.id, LiveMessageConversion::localID(wire));
            EXPECT_EQ(message.unread, wire.unread);
            EXPECT_EQ(message.subject.toStdString(), wire.subject);

            const auto before = lastBefore.find(wire.id);
            const bool reusable =
                sameAccount && before != lastBefore.end() && previous.messages[before->second] == wire;
            const bool reused =
                before != lastBefore.end() && sameConversion(message, previousResult[qsizetype(before->second)]);
            EXPECT_EQ(reused, reusable) << "round " << round << " position " << i;
        }
        ASSERT_EQ(cache.size(), lastNow.size());
        for (const auto &[id, position] : lastNow)
            EXPECT_EQ(*cache.digestOf(id), LiveMessageCache::digest(current.messages[position]));

        previous = std::move(current);
        previousResult = result;
        havePrevious = true;
    }
}
