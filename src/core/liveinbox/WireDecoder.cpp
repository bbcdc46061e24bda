#include "WireDecoder.h"

#include "JsonSyntax.h"

#include <simdjson.h>

#include <array>
#include <cstring>
#include <string>

namespace {

using namespace simdjson;

// A decoding failure on its way up to the entry point; never escapes this file.
struct DecodeFailure
{
    std::string message;
};

// Where in the document a value sits, built into text only when something fails.
struct Path
{
    const Path *parent = nullptr;
    std::string_view key;
    std::size_t index = 0;
    bool isIndex = false;

    Path field(std::string_view name) const { return {this, name, 0, false}; }
    Path element(std::size_t i) const { return {this, {}, i, true}; }

    std::string text() const
    {
        std::string head = parent ? parent->text() : std::string();
        if (isIndex)
            return head + '[' + std::to_string(index) + ']';
        if (key.empty())
            return head;
        return head.empty() ? std::string(key) : head + '.' + std::string(key);
    }
};

[[noreturn]] void fail(const Path &path, std::string_view what)
{
    std::string where = path.text();
    throw DecodeFailure{(where.empty() ? std::string("document") : where) + ": " + std::string(what)};
}

std::string_view typeName(dom::element_type type)
{
    switch (type) {
    case dom::element_type::ARRAY: return "an array";
    case dom::element_type::OBJECT: return "an object";
    case dom::element_type::INT64:
    case dom::element_type::UINT64: return "an integer";
    case dom::element_type::DOUBLE: return "a number";
    case dom::element_type::STRING: return "a string";
    case dom::element_type::BOOL: return "a boolean";
    case dom::element_type::NULL_VALUE: return "null";
    }
    return "a value";
}

[[noreturn]] void wrongType(const Path &path, std::string_view expected, dom::element value)
{
    fail(path, "expected " + std::string(expected) + ", found " + std::string(typeName(value.type())));
}

// The fields of one JSON object, looked up in a single pass over its members.
template <std::size_t N>
struct Fields
{
    std::array<dom::element, N> value{};
    std::array<bool, N> present{};

    Fields(dom::object object, const std::array<std::string_view, N> &keys)
    {
        for (const dom::key_value_pair member : object) {
            for (std::size_t i = 0; i < N; ++i) {
                if (member.key == keys[i]) {
                    value[i] = member.value;
                    present[i] = true;
                    break;
                }
            }
        }
    }

    // The value of a required key: present and not null.
    dom::element required(std::size_t i, const Path &path) const
    {
        if (!present[i])
            fail(path, "missing");
        if (value[i].is_null())
            fail(path, "must not be null");
        return value[i];
    }

    // The value of an optional key, or nothing when it is absent or null.
    bool optional(std::size_t i, dom::element &out) const
    {
        if (!present[i] || value[i].is_null())
            return false;
        out = value[i];
        return true;
    }
};

dom::object asObject(dom::element value, const Path &path)
{
    dom::object object;
    if (value.get_object().get(object))
        wrongType(path, "an object", value);
    return object;
}

dom::array asArray(dom::element value, const Path &path)
{
    dom::array array;
    if (value.get_array().get(array))
        wrongType(path, "an array", value);
    return array;
}

std::string_view asString(dom::element value, const Path &path)
{
    std::string_view text;
    if (value.get_string().get(text))
        wrongType(path, "a string", value);
    return text;
}

qint64 asInteger(dom::element value, const Path &path)
{
    int64_t number = 0;
    const error_code error = value.get_int64().get(number);
    if (error == NUMBER_OUT_OF_RANGE)
        fail(path, "integer out of range");
    if (error)
        wrongType(path, "an integer", value);
    return number;
}

double asNumber(dom::element value, const Path &path)
{
    double number = 0;
    if (value.get_double().get(number))
        wrongType(path, "a number", value);
    return number;
}

bool asBool(dom::element value, const Path &path)
{
    bool flag = false;
    if (value.get_bool().get(flag))
        wrongType(path, "a boolean", value);
    return flag;
}

// Parses the input as exactly one JSON document, or fails with the byte offset of the first error.
[[noreturn]] void explainParseFailure(error_code error, const char *data, std::size_t size)
{
    if (error == MEMALLOC || error == CAPACITY)
        throw DecodeFailure{"document too large"};
    const JsonSyntax::Error syntax = JsonSyntax::firstError(std::string_view(data, size));
    if (syntax.reason.empty())
        throw DecodeFailure{std::string("invalid JSON (") + error_message(error) + ")"};
    throw DecodeFailure{"invalid JSON at byte " + std::to_string(syntax.offset) + " (" + syntax.reason + ")"};
}

dom::element parseDocument(dom::parser &parser, const char *data, std::size_t size, bool padded)
{
    dom::element root;
    const error_code error = parser.parse(reinterpret_cast<const uint8_t *>(data), size, !padded).get(root);
    if (error)
        explainParseFailure(error, data, size);
    return root;
}

dom::parser &threadParser()
{
    thread_local dom::parser parser;
    return parser;
}

bool hasPadding(const QByteArray &bytes)
{
    return bytes.capacity() - bytes.size() > qsizetype(SIMDJSON_PADDING);
}

template <class Record, class Decode>
Result<Record> decode(const QByteArray &bytes, Decode &&body)
{
    try {
        dom::element root = parseDocument(threadParser(), bytes.constData(), std::size_t(bytes.size()), hasPadding(bytes));
        return body(root);
    } catch (const DecodeFailure &failure) {
        return Failure::json(QString::fromStdString(failure.message));
    }
}

std::vector<VisualizationFile> decodeFiles(dom::array array, const Path &path)
{
    static constexpr std::array<std::string_view, 3> keys{"name", "type", "data"};
    std::vector<VisualizationFile> files;
    files.reserve(array.size());
    std::size_t index = 0;
    for (const dom::element item : array) {
        const Path at = path.element(index++);
        const Fields<3> fields(asObject(item, at), keys);
        VisualizationFile file;
        file.name = asString(fields.required(0, at.field("name")), at.field("name"));
        file.type = asString(fields.required(1, at.field("type")), at.field("type"));
        file.data = asString(fields.required(2, at.field("data")), at.field("data"));
        files.push_back(std::move(file));
    }
    return files;
}

LiveAccount decodeAccount(dom::element value, const Path &path)
{
    static constexpr std::array<std::string_view, 3> keys{"id", "provider", "origin"};
    const Fields<3> fields(asObject(value, path), keys);
    LiveAccount account;
    account.id = asString(fields.required(0, path.field("id")), path.field("id"));
    account.provider = asString(fields.required(1, path.field("provider")), path.field("provider"));
    account.origin = asString(fields.required(2, path.field("origin")), path.field("origin"));
    return account;
}

LiveScope decodeScope(dom::element value, const Path &path)
{
    static constexpr std::array<std::string_view, 3> keys{"id", "name", "colors"};
    const Fields<3> fields(asObject(value, path), keys);
    LiveScope scope;
    scope.id = asString(fields.required(0, path.field("id")), path.field("id"));
    scope.name = asString(fields.required(1, path.field("name")), path.field("name"));
    const Path colorsPath = path.field("colors");
    const dom::object colors = asObject(fields.required(2, colorsPath), colorsPath);
    for (const dom::key_value_pair member : colors) {
        const Path at = colorsPath.field(member.key);
        scope.colors.emplace_back(member.key, asString(member.value, at));
    }
    return scope;
}

LiveMessage decodeMessage(dom::element value, const Path &path)
{
    enum Key : std::size_t {
        id, messageId, scopeId, conversationId, senderId, sender, subject, body, files, categories, kind,
        createdAt, unread, focused, focusIndex, replyTo, conversationTitle, count
    };
    static constexpr std::array<std::string_view, count> keys{
        "id", "messageId", "scopeId", "conversationId", "senderId", "sender", "subject", "body", "files",
        "categories", "kind", "createdAt", "unread", "focused", "focusIndex", "replyTo", "conversationTitle"};
    const Fields<count> fields(asObject(value, path), keys);
    auto text = [&](Key key) {
        const Path at = path.field(keys[key]);
        return asString(fields.required(key, at), at);
    };

    LiveMessage message;
    message.id = text(id);
    message.messageId = text(messageId);
    message.scopeId = text(scopeId);
    message.conversationId = text(conversationId);
    message.senderId = text(senderId);
    message.sender = text(sender);
    message.subject = text(subject);
    message.body = text(body);
    dom::element optional;
    if (fields.optional(files, optional)) {
        const Path at = path.field(keys[files]);
        message.files = decodeFiles(asArray(optional, at), at);
    }
    {
        const Path at = path.field(keys[categories]);
        const dom::array list = asArray(fields.required(categories, at), at);
        message.categories.reserve(qsizetype(list.size()));
        std::size_t index = 0;
        for (const dom::element item : list)
            message.categories.push_back(asString(item, at.element(index++)));
    }
    message.kind = text(kind);
    message.createdAt = asNumber(fields.required(createdAt, path.field("createdAt")), path.field("createdAt"));
    message.unread = asBool(fields.required(unread, path.field("unread")), path.field("unread"));
    message.focused = asBool(fields.required(focused, path.field("focused")), path.field("focused"));
    message.focusIndex = asInteger(fields.required(focusIndex, path.field("focusIndex")), path.field("focusIndex"));
    if (fields.optional(replyTo, optional))
        message.replyTo = asString(optional, path.field("replyTo"));
    if (fields.optional(conversationTitle, optional))
        message.conversationTitle = asString(optional, path.field("conversationTitle"));
    return message;
}

} // namespace

Result<NotchConfiguration> WireDecoder::configuration(const QByteArray &bytes)
{
    return decode<NotchConfiguration>(bytes, [](dom::element root) {
        static constexpr std::array<std::string_view, 5> keys{"node", "cli", "origin", "config", "provider"};
        const Path top;
        const Fields<5> fields(asObject(root, top), keys);
        auto text = [&](std::size_t i) {
            const Path at = top.field(keys[i]);
            return std::string(asString(fields.required(i, at), at));
        };
        return NotchConfiguration{text(0), text(1), text(2), text(3), text(4)};
    });
}

Result<LiveSnapshot> WireDecoder::snapshot(const QByteArray &bytes)
{
    try {
        // A document of its own: the snapshot keeps its texts, and only them.
        dom::document document;
        dom::element root;
        const error_code error = threadParser()
                                     .parse_into_document(document, reinterpret_cast<const uint8_t *>(bytes.constData()),
                                                          std::size_t(bytes.size()), !hasPadding(bytes))
                                     .get(root);
        if (error)
            explainParseFailure(error, bytes.constData(), std::size_t(bytes.size()));

        static constexpr std::array<std::string_view, 5> keys{"version", "account", "scopes", "messages", "fetchedAt"};
        const Path top;
        const Fields<5> fields(asObject(root, top), keys);
        LiveSnapshot snapshot;
        snapshot.version = asInteger(fields.required(0, top.field("version")), top.field("version"));
        snapshot.account = decodeAccount(fields.required(1, top.field("account")), top.field("account"));

        const Path scopesPath = top.field("scopes");
        const dom::array scopes = asArray(fields.required(2, scopesPath), scopesPath);
        snapshot.scopes.reserve(scopes.size());
        std::size_t index = 0;
        for (const dom::element scope : scopes)
            snapshot.scopes.push_back(decodeScope(scope, scopesPath.element(index++)));

        const Path messagesPath = top.field("messages");
        const dom::array messages = asArray(fields.required(3, messagesPath), messagesPath);
        snapshot.messages.reserve(messages.size());
        index = 0;
        for (const dom::element message : messages)
            snapshot.messages.push_back(decodeMessage(message, messagesPath.element(index++)));

        snapshot.fetchedAt = asNumber(fields.required(4, top.field("fetchedAt")), top.field("fetchedAt"));
        // Every text above is a view into the document's string buffer; the tape goes with the document.
        snapshot.storage = std::shared_ptr<const void>(document.string_buf.release(), std::default_delete<uint8_t[]>());
        return snapshot;
    } catch (const DecodeFailure &failure) {
        return Failure::json(QString::fromStdString(failure.message));
    }
}

Result<LiveMutationResult> WireDecoder::mutationResult(const QByteArray &bytes)
{
    return decode<LiveMutationResult>(bytes, [](dom::element root) {
        static constexpr std::array<std::string_view, 3> keys{"saved", "id", "account"};
        const Path top;
        const Fields<3> fields(asObject(root, top), keys);
        LiveMutationResult result;
        result.saved = asBool(fields.required(0, top.field("saved")), top.field("saved"));
        result.id = asString(fields.required(1, top.field("id")), top.field("id"));
        const Path accountPath = top.field("account");
        static constexpr std::array<std::string_view, 3> accountKeys{"id", "provider", "origin"};
        const Fields<3> account(asObject(fields.required(2, accountPath), accountPath), accountKeys);
        result.account.id = asString(account.required(0, accountPath.field("id")), accountPath.field("id"));
        result.account.provider =
            asString(account.required(1, accountPath.field("provider")), accountPath.field("provider"));
        result.account.origin =
            asString(account.required(2, accountPath.field("origin")), accountPath.field("origin"));
        return result;
    });
}

Result<LiveSendResult> WireDecoder::sendResult(const QByteArray &bytes)
{
    return decode<LiveSendResult>(bytes, [](dom::element root) {
        static constexpr std::array<std::string_view, 2> keys{"id", "status"};
        const Path top;
        const Fields<2> fields(asObject(root, top), keys);
        LiveSendResult result;
        result.id = asString(fields.required(0, top.field("id")), top.field("id"));
        result.status = asString(fields.required(1, top.field("status")), top.field("status"));
        return result;
    });
}

Result<LiveSubscriptions> WireDecoder::subscriptions(const QByteArray &bytes)
{
    return decode<LiveSubscriptions>(bytes, [](dom::element root) {
        static constexpr std::array<std::string_view, 1> keys{"subscriptions"};
        static constexpr std::array<std::string_view, 3> itemKeys{"url", "ticket", "expiresAt"};
        const Path top;
        const Fields<1> fields(asObject(root, top), keys);
        const Path listPath = top.field("subscriptions");
        const dom::array list = asArray(fields.required(0, listPath), listPath);
        LiveSubscriptions result;
        std::size_t index = 0;
        for (const dom::element item : list) {
            const Path at = listPath.element(index++);
            const Fields<3> sub(asObject(item, at), itemKeys);
            LiveSubscription subscription;
            subscription.urlText = asString(sub.required(0, at.field("url")), at.field("url"));
            subscription.url = QUrl(QString::fromStdString(subscription.urlText), QUrl::StrictMode);
            if (!subscription.url.isValid())
                fail(at.field("url"), "not a valid URL");
            subscription.ticket = asString(sub.required(1, at.field("ticket")), at.field("ticket"));
            subscription.expiresAt = asNumber(sub.required(2, at.field("expiresAt")), at.field("expiresAt"));
            result.subscriptions.push_back(std::move(subscription));
        }
        return result;
    });
}

Result<LiveStateHint> WireDecoder::stateHint(const QByteArray &bytes)
{
    return decode<LiveStateHint>(bytes, [](dom::element root) {
        static constexpr std::array<std::string_view, 2> keys{"type", "version"};
        const Path top;
        const Fields<2> fields(asObject(root, top), keys);
        LiveStateHint hint;
        hint.type = asString(fields.required(0, top.field("type")), top.field("type"));
        hint.version = asInteger(fields.required(1, top.field("version")), top.field("version"));
        return hint;
    });
}

Result<std::vector<VisualizationFile>> WireDecoder::visualizationFiles(std::string_view json)
{
    try {
        dom::element root = parseDocument(threadParser(), json.data(), json.size(), false);
        return decodeFiles(asArray(root, Path{}), Path{});
    } catch (const DecodeFailure &failure) {
        return Failure::json(QString::fromStdString(failure.message));
    }
}
