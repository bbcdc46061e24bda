#pragma once

#include "ConversationReply.h"
#include "PendingReply.h"

#include "liveinbox/CommandRunner.h"
#include "liveinbox/Failure.h"
#include "records/Message.h"

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QUuid>

#include <functional>
#include <optional>

// The user's replies: drafts per conversation, replies on their way or sent but not yet shown back by a
// snapshot, and the local replies of the demo inbox. A reply that fails puts its text back into its draft.
// Main thread only.
class Replies : public QObject
{
    Q_OBJECT

public:
    struct Hooks
    {
        // The account and service origin the panel shows now (none before the first snapshot).
        std::function<std::optional<QString>()> accountID;
        std::function<std::optional<QString>()> origin;
        // A send failed with this line of text, or a send starts (none).
        std::function<void(std::optional<QString>)> actionError;
        // The service took a reply: the conversation is worth a refresh.
        std::function<void()> sent;
    };

    // Sends through `runner` (the reply lane; null for a demo inbox, which sends nothing).
    Replies(CommandRunner *runner, Hooks hooks);

    const QString &directDraft() const { return m_directDraft; }
    void setDirectDraft(const QString &draft);
    const QHash<QString, QString> &drafts() const { return m_drafts; }
    void setDraft(const QString &threadKey, const QString &text);
    const QList<PendingReply> &pending() const { return m_pending; }
    // Service message id of a sent reply -> the id of the row that showed it while it was pending.
    const QHash<QString, QUuid> &identities() const { return m_identities; }
    const std::optional<QString> &status() const { return m_status; }
    void setStatus(std::optional<QString> status);

    // Sends the draft of the thread `threadKey` as a reply to `message`, showing it as pending at once.
    // Nothing happens without a service record, a non-blank draft or an account.
    void send(const Message &message, const QString &threadKey);
    // The service took the pending reply `id` as the message `serverID` ("released" or "quarantined").
    void confirm(const QUuid &id, const QString &serverID, const QString &status);
    bool hasUnsentDrafts() const;
    bool hasSendingReplies() const;

    // The account changed: its drafts, pending replies and status go.
    void forgetAccount();
    // Drops the pending replies that the shown messages include (by service id, in the same thread).
    void dropShown(const QList<Message> &messages, const std::function<QString(const Message &)> &threadKey);
    // The rows of a conversation: its members (`excluded` left out), then its pending replies.
    QList<ConversationReply> rows(const QString &threadKey, const QList<Message> &members,
                                  const std::optional<QUuid> &excluded) const;

    // Appends a local reply to the released direct team conversation `id` of a demo list; false when the
    // list has no such message or the text is blank.
    static bool addLocalReply(QList<Message> &messages, const QUuid &id, const QString &body);

Q_SIGNALS:
    void directDraftChanged();
    void draftsChanged();
    void pendingChanged();
    void identitiesChanged();
    void statusChanged();

private:
    friend class InboxTestAccess;

    // A reply on its way: what a failure needs to put it back.
    struct Sent
    {
        QUuid pendingID;
        QString key;
        QString draft;
        QString accountID;
        std::optional<QString> origin;
    };
    void fail(const Sent &sent, const Failure &failure);
    void setPending(QList<PendingReply> replies);

    CommandRunner *m_runner;
    Hooks m_hooks;
    QString m_directDraft;
    QHash<QString, QString> m_drafts;
    QList<PendingReply> m_pending;
    QHash<QString, QUuid> m_identities;
    std::optional<QString> m_status;
};
