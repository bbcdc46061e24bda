#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

// Builds "snapshot" output for tests.
struct TestMessage
{
    QString id{};
    QString messageId{};
    QString scopeId = QStringLiteral("personal");
    QString conversationId = QStringLiteral("c1");
    QString senderId = QStringLiteral("other");
    QString sender = QStringLiteral("Nora Patel");
    QString subject = QStringLiteral("Subject");
    QString body = QStringLiteral("Body");
    QString category{};
    QString kind = QStringLiteral("inbox");
    double createdAt = 0;
    bool unread = false;
    bool focused = false;
    int focusIndex = 0;
    std::optional<QString> replyTo{};
};

struct TestScope
{
    QString id{};
    QString name;
    QList<QPair<QString, QString>> colors;
};

class SnapshotJson
{
public:
    SnapshotJson &account(const QString &id, const QString &origin = QStringLiteral("https://tandrel.example"),
                          const QString &provider = QStringLiteral("google"));
    SnapshotJson &scope(const TestScope &scope);
    SnapshotJson &message(const TestMessage &message);
    QByteArray bytes() const;
    // A JSON string literal of `text` (for the configuration files tests write).
    static QString quoted(const QString &text);

private:
    QString m_accountID = QStringLiteral("me");
    QString m_origin = QStringLiteral("https://tandrel.example");
    QString m_provider = QStringLiteral("google");
    QList<TestScope> m_scopes;
    QList<TestMessage> m_messages;
};
