#include "LiveMessageConversion.h"

#include "records/RecordIdentity.h"
#include "records/RecordText.h"
#include "records/RecordTextPool.h"

#include <QStringView>
#include <QTextBoundaryFinder>

#include <array>
#include <utility>

namespace {

QString text(std::string_view utf8)
{
    return RecordText::fromUtf8(utf8);
}

// Length in UTF-16 code units of the code point that starts at `index`.
qsizetype codePointLength(QStringView text, qsizetype index)
{
    if (text[index].isHighSurrogate() && index + 1 < text.size() && text[index + 1].isLowSurrogate())
        return 2;
    return 1;
}

bool isAscii(QStringView text)
{
    for (const QChar c : text) {
        if (c.unicode() >= 0x80)
            return false;
    }
    return true;
}

// In ASCII text every user-perceived character is one code unit, except CR LF, which is one character.
QString asciiInitials(QStringView sender)
{
    QString result;
    bool inPiece = false;
    int taken = 0;
    for (qsizetype i = 0; i < sender.size() && taken < 2; ++i) {
        const char16_t c = sender[i].unicode();
        if (c == u' ' || c == u'_') {
            inPiece = false;
        } else if (!inPiece) {
            inPiece = true;
            ++taken;
            result += QChar(c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c);
            if (c == u'\r' && i + 1 < sender.size() && sender[i + 1] == u'\n')
                result += sender[++i];
        }
    }
    return result;
}

ConversationKind conversationKind(std::string_view kind)
{
    if (kind == "direct")
        return ConversationKind::direct;
    if (kind == "thread")
        return ConversationKind::thread;
    return ConversationKind::inbox;
}

std::optional<QString> optionalText(const std::optional<std::string_view> &utf8)
{
    if (!utf8)
        return std::nullopt;
    return text(*utf8);
}

} // namespace

QUuid LiveMessageConversion::localID(const LiveMessage &record)
{
    return RecordIdentity::localID(record.id);
}

std::string LiveMessageConversion::attachmentEnvelope(const LiveMessage &record)
{
    if (record.files.empty())
        return {};
    static constexpr std::string_view open = "\n\n```tandrel-files-v1\n";
    static constexpr std::string_view close = "\n```";
    const std::string json = VisualizationFile::encodeArray(record.files);
    std::string envelope;
    envelope.reserve(open.size() + json.size() + close.size());
    envelope += open;
    envelope += json;
    envelope += close;
    return envelope;
}

Message LiveMessageConversion::message(const LiveMessage &record)
{
    RecordTextPool pool;
    return message(record, pool);
}

Message LiveMessageConversion::message(const LiveMessage &record, RecordTextPool &pool)
{
    const QString sender = pool.text(record.sender);
    const QString subject = text(record.subject);
    Utf8Text body;
    if (record.files.empty()) {
        body = Utf8Text::fromUtf8(record.body);
    } else {
        const std::string envelope = attachmentEnvelope(record);
        std::string whole;
        whole.reserve(record.body.size() + envelope.size());
        whole += record.body;
        whole += envelope;
        body = Utf8Text::fromUtf8(whole);
    }
    const ConversationKind kind = conversationKind(record.kind);
    QString conversation;
    switch (kind) {
    case ConversationKind::direct: conversation = QStringLiteral("Direct message"); break;
    case ConversationKind::thread: conversation = subject; break;
    case ConversationKind::inbox: conversation = QStringLiteral("Shared inbox"); break;
    }

    return Message{
        .id = localID(record),
        .sender = sender,
        .initials = initials(sender),
        .subject = subject,
        .body = std::move(body),
        .category = record.categories.empty() ? QString() : pool.derived(record.categories.front(), categoryName),
        .color = MessageColor::service(),
        .scope = InboxScope{pool.text(record.scopeId)},
        .conversation = std::move(conversation),
        .conversationID = pool.text(record.conversationId),
        .senderAccountID = pool.text(record.senderId),
        .replies = {},
        .remoteID = text(record.id),
        .serverMessageID = text(record.messageId),
        .replyTo = optionalText(record.replyTo),
        .sentAt = record.createdAt,
        .kind = kind,
        .unread = record.unread,
        .released = true,
    };
}

bool LiveMessageConversion::convertsTo(const LiveMessage &record, const Message &message, RecordTextPool &pool)
{
    const auto same = &Utf8Text::same;
    const auto sameOptional = [&](const std::optional<QString> &text, const std::optional<std::string_view> &utf8) {
        return text.has_value() == utf8.has_value() && (!text || same(*text, *utf8));
    };
    // The initials, the conversation title and the local id follow from fields compared here.
    if (message.unread != record.unread || message.sentAt != record.createdAt ||
        message.kind != conversationKind(record.kind) || !message.released || !message.replies.isEmpty() ||
        !(message.color == MessageColor::service()) || !message.remoteID || !same(*message.remoteID, record.id) ||
        !same(message.sender, record.sender) || !same(message.subject, record.subject) ||
        !same(message.scope.rawValue, record.scopeId) || !same(message.conversationID, record.conversationId) ||
        !same(message.senderAccountID, record.senderId) || !message.serverMessageID ||
        !same(*message.serverMessageID, record.messageId) || !sameOptional(message.replyTo, record.replyTo))
        return false;
    if (record.categories.empty() ? !message.category.isEmpty()
                                  : message.category != pool.derived(record.categories.front(), categoryName))
        return false;
    const std::string_view body = message.body.view();
    if (record.files.empty())
        return body == record.body;
    return body.starts_with(record.body) && body.substr(record.body.size()) == attachmentEnvelope(record);
}

QString LiveMessageConversion::categoryName(std::string_view slug)
{
    static const std::array<std::pair<std::string_view, QString>, 4> known{{
        {"needs-response", QStringLiteral("Needs response")},
        {"updates-context", QStringLiteral("Updates & context")},
        {"feedback-ideas", QStringLiteral("Feedback & ideas")},
        {"introductions-opportunities", QStringLiteral("Introductions & opportunities")},
    }};
    for (const auto &[key, name] : known) {
        if (slug == key)
            return name;
    }

    QString words = text(slug);
    words.replace(u'-', u' ');
    QString result;
    result.reserve(words.size());
    qsizetype start = 0;
    while (start <= words.size()) {
        qsizetype end = words.indexOf(u' ', start);
        if (end < 0)
            end = words.size();
        if (end > start) {
            const qsizetype first = codePointLength(words, start);
            result += words.sliced(start, first).toUpper();
            result += words.sliced(start + first, end - start - first).toLower();
        }
        if (end < words.size())
            result += u' ';
        start = end + 1;
    }
    return result;
}

QString LiveMessageConversion::initials(const QString &sender)
{
    QString result;
    if (sender.isEmpty())
        return result;
    if (isAscii(sender))
        return asciiInitials(sender);
    // Separators are whole characters: a space that carries a combining mark is not a separator.
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, sender);
    const QStringView view(sender);
    qsizetype start = 0;
    bool inPiece = false;
    int taken = 0;
    while (taken < 2) {
        const qsizetype end = finder.toNextBoundary();
        if (end < 0)
            break;
        const QStringView character = view.sliced(start, end - start);
        if (character == u" " || character == u"_") {
            inPiece = false;
        } else if (!inPiece) {
            inPiece = true;
            result += character;
            ++taken;
        }
        start = end;
    }
    return result.toUpper();
}
