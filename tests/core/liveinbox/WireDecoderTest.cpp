#include "liveinbox/WireDecoder.h"

#include <gtest/gtest.h>

namespace {

QByteArray messageJson(const QByteArray &extra = {}, const QByteArray &omit = {})
{
    QList<QPair<QByteArray, QByteArray>> fields{
        {"id", R"("rec-1")"},          {"messageId", R"("msg-1")"},    {"scopeId", R"("personal")"},
        {"conversationId", R"("c1")"}, {"senderId", R"("42")"},        {"sender", R"("Nora Patel")"},
        {"subject", R"("Hi")"},        {"body", R"("Hello\nthere \u00e9")"}, {"categories", R"(["needs-response"])"},
        {"kind", R"("direct")"},       {"createdAt", "1700000000.5"},  {"unread", "true"},
        {"focused", "false"},          {"focusIndex", "0"},
    };
    QByteArray out = "{";
    bool first = true;
    for (const auto &[key, value] : fields) {
        if (key == omit)
            continue;
        if (!first)
            out += ',';
        first = false;
        out += '"' + key + "\":" + value;
    }
    if (!extra.isEmpty())
        out += ',' + extra;
    return out + '}';
}

QByteArray snapshotJson(const QByteArray &messages, const QByteArray &scopes = R"([{"id":"personal","name":"Personal","colors":{}}])")
{
    return R"({"version":3,"account":{"id":"42","provider":"x","origin":"https://t.example"},"scopes":)" + scopes +
           R"(,"messages":[)" + messages + R"(],"fetchedAt":12})";
}

std::string error(const auto &result)
{
    return result.ok() ? std::string("<no error>") : result.failure().description.toStdString();
}

} // namespace

TEST(WireDecoder, DecodesAFullSnapshot)
{
    const auto result = WireDecoder::snapshot(snapshotJson(messageJson(R"("replyTo":"msg-0","conversationTitle":"T")")));
    ASSERT_TRUE(result.ok()) << error(result);
    const LiveSnapshot &s = result.value();
    EXPECT_EQ(s.version, 3);
    EXPECT_EQ(s.account.id, "42");
    EXPECT_EQ(s.account.origin, "https://t.example");
    ASSERT_EQ(s.scopes.size(), 1u);
    EXPECT_TRUE(s.scopes[0].colors.empty()); // an empty colour map is valid
    ASSERT_EQ(s.messages.size(), 1u);
    const LiveMessage &m = s.messages[0];
    EXPECT_EQ(m.body, "Hello\nthere \xC3\xA9");
    EXPECT_EQ(m.createdAt, 1700000000.5);
    EXPECT_TRUE(m.unread);
    EXPECT_EQ(m.replyTo, std::optional<std::string_view>("msg-0"));
    EXPECT_EQ(m.conversationTitle, std::optional<std::string_view>("T"));
    EXPECT_EQ(s.fetchedAt, 12.0);
}

TEST(WireDecoder, AbsentNullAndEmptyFilesAreTheSameState)
{
    const auto absent = WireDecoder::snapshot(snapshotJson(messageJson()));
    const auto null = WireDecoder::snapshot(snapshotJson(messageJson(R"("files":null,"replyTo":null)")));
    const auto empty = WireDecoder::snapshot(snapshotJson(messageJson(R"("files":[])")));
    ASSERT_TRUE(absent.ok() && null.ok() && empty.ok());
    EXPECT_EQ(absent.value().messages[0], null.value().messages[0]);
    EXPECT_EQ(absent.value().messages[0], empty.value().messages[0]);
    EXPECT_FALSE(absent.value().messages[0].replyTo.has_value());
    EXPECT_FALSE(absent.value().messages[0].conversationTitle.has_value());
}

TEST(WireDecoder, FailuresNameWhereTheyHappened)
{
    const QByteArray good = messageJson();
    EXPECT_EQ(error(WireDecoder::snapshot(snapshotJson(good + ',' + good + ',' + good + ',' + messageJson({}, "focusIndex")))),
              "messages[3].focusIndex: missing");
    EXPECT_EQ(error(WireDecoder::snapshot(snapshotJson(messageJson(R"("unread2":1)").replace(R"("unread":true)", R"("unread":"true")")))),
              "messages[0].unread: expected a boolean, found a string");
    EXPECT_EQ(error(WireDecoder::snapshot(snapshotJson(messageJson().replace(R"("focusIndex":0)", R"("focusIndex":1.5)")))),
              "messages[0].focusIndex: expected an integer, found a number");
    EXPECT_EQ(error(WireDecoder::snapshot(snapshotJson(messageJson().replace(R"("sender":"Nora Patel")", R"("sender":null)")))),
              "messages[0].sender: must not be null");
    EXPECT_EQ(error(WireDecoder::snapshot(snapshotJson(messageJson(R"("files":[{"name":"a","type":"text/html"}])")))),
              "messages[0].files[0].data: missing");
    EXPECT_EQ(error(WireDecoder::snapshot(snapshotJson(messageJson(R"("replyTo":7)")))),
              "messages[0].replyTo: expected a string, found an integer");
    EXPECT_EQ(error(WireDecoder::snapshot(snapshotJson("", R"([{"id":"p","name":"P","colors":{"a":1}}])"))),
              "scopes[0].colors.a: expected a string, found an integer");
    EXPECT_EQ(error(WireDecoder::snapshot(R"({"version":1})")), "account: missing");
}

TEST(WireDecoder, OutputMustBeExactlyOneDocument)
{
    const QByteArray json = snapshotJson(messageJson());
    EXPECT_TRUE(WireDecoder::snapshot(json + "\n").ok());
    EXPECT_EQ(error(WireDecoder::snapshot("warning: update available\n" + json)),
              "invalid JSON at byte 0 (unexpected character)");
    const auto trailing = WireDecoder::snapshot(json + "\nDone.\n");
    EXPECT_EQ(error(trailing), "invalid JSON at byte " + std::to_string(json.size() + 1) +
                                   " (unexpected content after the document)");
    EXPECT_EQ(error(WireDecoder::snapshot(R"({"version":)")), "invalid JSON at byte 11 (unexpected end of input)");
    EXPECT_EQ(error(WireDecoder::snapshot("")), "invalid JSON at byte 0 (unexpected end of input)");
}

TEST(WireDecoder, EmptyMessagesIsAnEmptyInbox)
{
    const auto result = WireDecoder::snapshot(snapshotJson(""));
    ASSERT_TRUE(result.ok()) << error(result);
    EXPECT_TRUE(result.value().messages.empty());
}

TEST(WireDecoder, StateHintVersionMustBeAnInteger)
{
    const auto hint = WireDecoder::stateHint(R"({"type":"stateChange","version":1})");
    ASSERT_TRUE(hint.ok());
    EXPECT_EQ(hint.value(), (LiveStateHint{"stateChange", 1}));
    // Integral floats are refused where an integer is required; fractions always are.
    EXPECT_FALSE(WireDecoder::stateHint(R"({"type":"stateChange","version":1.0})").ok());
    EXPECT_FALSE(WireDecoder::stateHint(R"({"type":"stateChange","version":1.5})").ok());
    EXPECT_EQ(error(WireDecoder::stateHint(R"({"type":"stateChange","version":9223372036854775808})")),
              "version: integer out of range");
}

TEST(WireDecoder, SmallRecords)
{
    const auto config = WireDecoder::configuration(
        R"({"node":"/usr/bin/node","cli":"cli.js","origin":"https://o","config":"/c","provider":"x","extra":1})");
    ASSERT_TRUE(config.ok());
    EXPECT_EQ(config.value(), (NotchConfiguration{"/usr/bin/node", "cli.js", "https://o", "/c", "x"}));
    EXPECT_EQ(error(WireDecoder::configuration(R"({"node":"n","cli":"c","origin":"o","config":"c"})")),
              "provider: missing");

    const auto mutation = WireDecoder::mutationResult(R"({"saved":true,"id":"r","account":{"id":"a","provider":"x","origin":"o"}})");
    ASSERT_TRUE(mutation.ok());
    EXPECT_TRUE(mutation.value().saved);
    EXPECT_EQ(mutation.value().account.id, "a");

    const auto send = WireDecoder::sendResult(R"({"id":"s1","status":"quarantined"})");
    ASSERT_TRUE(send.ok());
    EXPECT_EQ(send.value(), (LiveSendResult{"s1", "quarantined"}));

    const auto subs = WireDecoder::subscriptions(
        R"({"subscriptions":[{"url":"ws://localhost:9/x","ticket":"t","expiresAt":5}]})");
    ASSERT_TRUE(subs.ok()) << error(subs);
    EXPECT_EQ(subs.value().subscriptions[0].urlText, "ws://localhost:9/x");
    EXPECT_EQ(subs.value().subscriptions[0].url.host(), QStringLiteral("localhost"));
    EXPECT_EQ(error(WireDecoder::subscriptions(R"({"subscriptions":[{"url":"ws://exa mple:x","ticket":"t","expiresAt":5}]})")),
              "subscriptions[0].url: not a valid URL");
}

TEST(WireDecoder, VisualizationFilesRoundTrip)
{
    const std::vector<VisualizationFile> files{{"a \"b\".html", "text/html", "PGI+"}, {"c\n", "text/plain", ""}};
    const auto decoded = WireDecoder::visualizationFiles(VisualizationFile::encodeArray(files));
    ASSERT_TRUE(decoded.ok()) << error(decoded);
    EXPECT_EQ(decoded.value(), files);
    EXPECT_EQ(VisualizationFile::encodeArray({}), "[]");
}

TEST(WireDecoder, RejectsInvalidUtf8AndBadEscapes)
{
    EXPECT_EQ(error(WireDecoder::stateHint("{\"type\":\"a\xFF\",\"version\":1}")),
              "invalid JSON at byte 10 (invalid UTF-8)");
    EXPECT_EQ(error(WireDecoder::stateHint(R"({"type":"\ud800","version":1})")),
              "invalid JSON at byte 9 (unpaired surrogate escape)");
}
