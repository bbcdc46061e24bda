#include "SnapshotJson.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

SnapshotJson &SnapshotJson::account(const QString &id, const QString &origin, const QString &provider)
{
    m_accountID = id;
    m_origin = origin;
    m_provider = provider;
    return *this;
}

SnapshotJson &SnapshotJson::scope(const TestScope &scope)
{
    m_scopes.append(scope);
    return *this;
}

SnapshotJson &SnapshotJson::message(const TestMessage &message)
{
    m_messages.append(message);
    return *this;
}

QByteArray SnapshotJson::bytes() const
{
    QJsonArray scopes;
    for (const TestScope &scope : m_scopes) {
        QJsonObject colors;
        for (const auto &[key, value] : scope.colors)
            colors.insert(key, value);
        scopes.append(QJsonObject{{QStringLiteral("id"), scope.id}, {QStringLiteral("name"), scope.name},
                                  {QStringLiteral("colors"), colors}});
    }
    QJsonArray messages;
    for (const TestMessage &m : m_messages) {
        QJsonObject object{
            {QStringLiteral("id"), m.id},
            {QStringLiteral("messageId"), m.messageId.isEmpty() ? QStringLiteral("msg-") + m.id : m.messageId},
            {QStringLiteral("scopeId"), m.scopeId},
            {QStringLiteral("conversationId"), m.conversationId},
            {QStringLiteral("senderId"), m.senderId},
            {QStringLiteral("sender"), m.sender},
            {QStringLiteral("subject"), m.subject},
            {QStringLiteral("body"), m.body},
            {QStringLiteral("categories"), m.category.isEmpty() ? QJsonArray() : QJsonArray{m.category}},
            {QStringLiteral("kind"), m.kind},
            {QStringLiteral("createdAt"), m.createdAt},
            {QStringLiteral("unread"), m.unread},
            {QStringLiteral("focused"), m.focused},
            {QStringLiteral("focusIndex"), m.focusIndex},
        };
        if (m.replyTo)
            object.insert(QStringLiteral("replyTo"), *m.replyTo);
        messages.append(object);
    }
    QJsonObject root{{QStringLiteral("version"), 1},
                     {QStringLiteral("account"), QJsonObject{{QStringLiteral("id"), m_accountID},
                                                             {QStringLiteral("provider"), m_provider},
                                                             {QStringLiteral("origin"), m_origin}}},
                     {QStringLiteral("scopes"), scopes},
                     {QStringLiteral("messages"), messages},
                     {QStringLiteral("fetchedAt"), 1.5}};
    return QJsonDocument(root).toJson(QJsonDocument::Compact);
}

QString SnapshotJson::quoted(const QString &text)
{
    QString out = QStringLiteral("\"");
    for (const QChar c : text) {
        if (c == u'"' || c == u'\\')
            out += u'\\';
        out += c;
    }
    return out + u'"';
}
