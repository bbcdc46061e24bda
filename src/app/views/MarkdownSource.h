#pragma once

#include "content/MessageBlockList.h"
#include "inbox/Inbox.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqml.h>

// The blocks of one text parsed through the inbox's content cache, for the rows of a conversation.
class MarkdownSource : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    Q_PROPERTY(Inbox *inbox READ inbox WRITE setInbox NOTIFY inboxChanged)
    Q_PROPERTY(QString text READ text WRITE setText NOTIFY textChanged)
    Q_PROPERTY(MessageBlockList *blocks READ blocks CONSTANT)
public:
    explicit MarkdownSource(QObject *parent = nullptr);

    Inbox *inbox() const { return m_inbox; }
    void setInbox(Inbox *inbox);
    QString text() const { return m_text; }
    void setText(const QString &text);
    MessageBlockList *blocks() const { return m_blocks; }

Q_SIGNALS:
    void inboxChanged();
    void textChanged();

private:
    void parse();

    QPointer<Inbox> m_inbox;
    QString m_text;
    MessageBlockList *m_blocks;
};
