#include "Replies.h"

#include "liveinbox/LiveInboxConnection.h"
#include "liveinbox/WireDecoder.h"

#include <QCoreApplication>
#include <QSet>

#include <algorithm>
#include <utility>

Replies::Replies(CommandRunner *runner, Hooks hooks) : m_runner(runner), m_hooks(std::move(hooks)) {}

void Replies::setDirectDraft(const QString &draft)
{
    if (m_directDraft == draft)
        return;
    m_directDraft = draft;
    Q_EMIT directDraftChanged();
}

void Replies::setDraft(const QString &threadKey, const QString &text)
{
    const auto it = m_drafts.constFind(threadKey);
    if (it != m_drafts.constEnd() && *it == text)
        return;
    m_drafts.insert(threadKey, text);
    Q_EMIT draftsChanged();
}

void Replies::setStatus(std::optional<QString> status)
{
    if (m_status == status)
        return;
    m_status = std::move(status);
    Q_EMIT statusChanged();
}

void Replies::setPending(QList<PendingReply> replies)
{
    m_pending = std::move(replies);
    Q_EMIT pendingChanged();
}

void Replies::send(const Message &message, const QString &threadKey)
{
    const auto draftEntry = m_drafts.constFind(threadKey);
    const std::optional<QString> accountID = m_hooks.accountID();
    if (!message.remoteID || draftEntry == m_drafts.constEnd() || draftEntry->trimmed().isEmpty() || !accountID)
        return;
    const QString draft = *draftEntry;

    const PendingReply pending{QUuid::createUuid(), threadKey, draft, std::nullopt, QString()};
    QList<PendingReply> replies = m_pending;
    replies.append(pending);
    setPending(std::move(replies));
    setDraft(threadKey, QString());
    setStatus(std::nullopt);
    m_hooks.actionError(std::nullopt);

    const QStringList arguments =
        LiveInboxConnection::replyArguments(*accountID, message.scope.isPersonal(), message.senderAccountID,
                                            message.conversationID, message.serverMessageID);
    const QUuid pendingID = pending.id;
    const Sent sent{pendingID, threadKey, draft, *accountID, m_hooks.origin()};
    m_runner->run(QStringLiteral("reply"), message.remoteID, draft, arguments,
                  [this, sent, pendingID](Result<QByteArray> output) {
                      if (!output.ok()) {
                          fail(sent, output.failure());
                          return;
                      }
                      const Result<LiveSendResult> result = WireDecoder::sendResult(output.value());
                      if (!result.ok()) {
                          fail(sent, result.failure());
                          return;
                      }
                      const QString status = QString::fromStdString(result.value().status);
                      if (status != QLatin1String("released") && status != QLatin1String("quarantined")) {
                          fail(sent, Failure::tandrel(1, QCoreApplication::translate(
                                                             "Inbox", "The service rejected this reply.")));
                          return;
                      }
                      confirm(pendingID, QString::fromStdString(result.value().id), status);
                      if (m_hooks.sent)
                          m_hooks.sent();
                  });
}

void Replies::fail(const Sent &sent, const Failure &failure)
{
    QList<PendingReply> replies;
    for (const PendingReply &reply : std::as_const(m_pending)) {
        if (reply.id != sent.pendingID)
            replies.append(reply);
    }
    if (replies.size() != m_pending.size())
        setPending(std::move(replies));
    QString error =
        QCoreApplication::translate("Inbox", "Could not confirm sending. Check the conversation before trying again.") +
        QLatin1Char(' ') + failure.description;
    if (m_hooks.accountID() == sent.accountID && m_hooks.origin() == sent.origin) {
        // The returned text goes first; anything typed meanwhile follows after a blank line.
        const QString current = m_drafts.value(sent.key);
        setDraft(sent.key, current.isEmpty() ? sent.draft : sent.draft + QStringLiteral("\n\n") + current);
    } else {
        // The account changed meanwhile: its conversations are gone, so the text cannot go back. Name it.
        constexpr qsizetype shown = 60;
        QString start = sent.draft.simplified();
        if (start.size() > shown)
            start = start.first(shown).trimmed() + QStringLiteral("…");
        error += QLatin1Char(' ') +
                 QCoreApplication::translate("Inbox", "The reply was not restored because the account changed; it began: “%1”")
                     .arg(start);
    }
    m_hooks.actionError(error);
}

void Replies::confirm(const QUuid &id, const QString &serverID, const QString &status)
{
    if (m_identities.value(serverID) != id || !m_identities.contains(serverID)) {
        m_identities.insert(serverID, id);
        Q_EMIT identitiesChanged();
    }
    for (qsizetype i = 0; i < m_pending.size(); ++i) {
        if (m_pending.at(i).id != id)
            continue;
        QList<PendingReply> replies = m_pending;
        replies[i].serverID = serverID;
        replies[i].status = status == QLatin1String("quarantined") ? QCoreApplication::translate("Inbox", "Sent · awaiting review") : QString();
        setPending(std::move(replies));
        return;
    }
}

bool Replies::hasUnsentDrafts() const
{
    if (!m_directDraft.trimmed().isEmpty())
        return true;
    return std::any_of(m_drafts.cbegin(), m_drafts.cend(), [](const QString &draft) { return !draft.trimmed().isEmpty(); });
}

bool Replies::hasSendingReplies() const
{
    return std::any_of(m_pending.cbegin(), m_pending.cend(), [](const PendingReply &reply) { return !reply.serverID; });
}

void Replies::forgetAccount()
{
    if (!m_drafts.isEmpty()) {
        m_drafts.clear();
        Q_EMIT draftsChanged();
    }
    m_pending.clear();
    Q_EMIT pendingChanged();
    if (!m_identities.isEmpty()) {
        m_identities.clear();
        Q_EMIT identitiesChanged();
    }
    setStatus(std::nullopt);
}

void Replies::dropShown(const QList<Message> &messages, const std::function<QString(const Message &)> &threadKey)
{
    if (m_pending.isEmpty())
        return;
    QHash<QString, QSet<QString>> shownByServerID;
    for (const Message &message : messages) {
        if (message.serverMessageID)
            shownByServerID[*message.serverMessageID].insert(threadKey(message));
    }
    QList<PendingReply> remaining;
    for (const PendingReply &reply : std::as_const(m_pending)) {
        const bool shown = reply.serverID && shownByServerID.value(*reply.serverID).contains(reply.thread);
        if (!shown)
            remaining.append(reply);
    }
    if (remaining.size() != m_pending.size())
        setPending(std::move(remaining));
}

QList<ConversationReply> Replies::rows(const QString &threadKey, const QList<Message> &members,
                                       const std::optional<QUuid> &excluded) const
{
    const std::optional<QString> accountID = m_hooks.accountID();
    QList<ConversationReply> rows;
    QSet<QString> serverIDs;
    for (const Message &member : members) {
        if (excluded && member.id == *excluded)
            continue;
        QUuid id = member.id;
        if (member.serverMessageID) {
            serverIDs.insert(*member.serverMessageID);
            const auto identity = m_identities.constFind(*member.serverMessageID);
            if (identity != m_identities.constEnd())
                id = *identity;
        }
        const bool mine = accountID && *accountID == member.senderAccountID;
        rows.append({id, mine ? QStringLiteral("You") : member.sender, member.body, member, QString()});
    }
    for (const PendingReply &reply : m_pending) {
        if (reply.thread == threadKey && (!reply.serverID || !serverIDs.contains(*reply.serverID)))
            rows.append({reply.id, QStringLiteral("You"), reply.body, std::nullopt, reply.status});
    }
    return rows;
}

bool Replies::addLocalReply(QList<Message> &messages, const QUuid &id, const QString &body)
{
    const QString text = body.trimmed();
    if (text.isEmpty())
        return false;
    for (qsizetype i = 0; i < messages.size(); ++i) {
        const Message &message = messages.at(i);
        if (message.id != id || message.scope != InboxScope::demoTeamLaunch() || message.kind != ConversationKind::direct)
            continue;
        if (!message.released)
            return false;
        messages[i].replies.append({QUuid::createUuid(), QStringLiteral("You"), text});
        return true;
    }
    return false;
}
