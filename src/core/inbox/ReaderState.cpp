#include "ReaderState.h"

#include "Inbox.h"
#include "MessageRowText.h"
#include "ReaderText.h"

#include "content/MessageBlockList.h"

namespace {

ReaderState::Body bodyOf(ReaderText::Body body)
{
    switch (body) {
    case ReaderText::Body::preview: return ReaderState::Preview;
    case ReaderText::Body::conversation: return ReaderState::Conversation;
    case ReaderText::Body::detail: break;
    }
    return ReaderState::Detail;
}

ReaderText::Body ruleOf(ReaderState::Body body)
{
    switch (body) {
    case ReaderState::Preview: return ReaderText::Body::preview;
    case ReaderState::Conversation: return ReaderText::Body::conversation;
    case ReaderState::Detail: break;
    }
    return ReaderText::Body::detail;
}

} // namespace

ReaderState::ReaderState(Inbox &inbox) : QObject(&inbox), m_inbox(inbox), m_rows(new ConversationRowList(this))
{
    const auto changed = [this] { m_nextTurn.request(); };
    for (const auto signal :
         {&Inbox::selectedIDChanged, &Inbox::selectedMessageChanged, &Inbox::messagesChanged,
          &Inbox::readerTuckedChanged, &Inbox::replyDraftsChanged, &Inbox::pendingRepliesChanged,
          &Inbox::focusOrderChanged, &Inbox::focusedIDsChanged, &Inbox::labelColorsChanged, &Inbox::scopeChanged,
          &Inbox::directDraftChanged})
        connect(&inbox, signal, this, changed);
    update();
}

void ReaderState::update()
{
    m_nextTurn.done();
    State state;
    const std::optional<Message> selected = m_inbox.selected();
    QString draft;
    if (selected) {
        const Message &message = *selected;
        state.hasMessage = true;
        state.messageID = Message::canonical(message.id);
        state.sender = message.sender;
        state.initials = message.initials;
        state.color = MessageRowText::colorHex(message.color);
        state.subject = message.subject;
        state.category = message.category;
        state.labelColor = m_inbox.controls()->labelColor(message.category);
        state.teamLabelAccessibleName = MessageRowText::teamLabelAccessibleName(message.subject, message.category);
        state.personal = message.scope.isPersonal();
        state.released = message.released;
        state.focused = m_inbox.focusedIDs().contains(message.id);
        state.tucked = m_inbox.readerTucked();
        state.body = bodyOf(ReaderText::body(message, state.tucked));
        if (state.body == Preview) {
            state.previewHtml = ReaderText::previewHtml(message.body, MessageBlockList::linkColour);
            state.previewFontSize = ReaderText::previewFontSize(message);
        }
        state.pendingCount = int(m_inbox.pendingReplies().size());
        state.replyCount = int(message.replies.size());
        state.canAddLocalReply = ReaderText::canSend(m_inbox.directDraft());
        draft = m_inbox.replyDrafts().value(m_inbox.threadKey(message));
        m_rows->show(rowsOf(message, state.body));
    } else {
        m_rows->show({});
    }
    if (draft != m_draft) {
        m_draft = draft;
        Q_EMIT draftChanged();
    }
    if (!(state == m_state)) {
        m_state = std::move(state);
        Q_EMIT changed();
    }
}

QList<ConversationRowList::Row> ReaderState::rowsOf(const Message &message, Body body)
{
    QList<ConversationRowList::Row> rows;
    if (body == Preview)
        return rows;
    if (!m_inbox.live()) {
        for (const DemoReply &reply : message.replies)
        {
            ConversationRowList::Row row;
            row.id = reply.id;
            row.sender = reply.sender;
            row.body = reply.body;
            row.outgoing = ReaderText::outgoing(reply.sender);
            rows.append(std::move(row));
        }
        return rows;
    }
    const QSet<QUuid> &focused = m_inbox.focusedIDs();
    for (const ConversationReply &reply : m_inbox.replyRows(message, body != Conversation)) {
        ConversationRowList::Row row;
        row.id = reply.id;
        row.sender = reply.sender;
        row.body = reply.body;
        row.status = reply.status;
        row.pending = !reply.message.has_value();
        if (reply.message) {
            row.messageID = Message::canonical(reply.message->id);
            row.focused = focused.contains(reply.message->id);
            row.released = reply.message->released;
            row.subject = reply.message->subject;
        }
        rows.append(std::move(row));
    }
    return rows;
}

QString ReaderState::focusTitle() const
{
    return MessageRowText::focusTitle(m_state.focused);
}

QString ReaderState::focusTooltip() const
{
    return MessageRowText::focusTooltip(m_state.released, m_state.focused);
}

QString ReaderState::focusAccessibleName() const
{
    return MessageRowText::focusAccessibleName(m_state.focused, m_state.sender, m_state.subject);
}

QString ReaderState::focusAccessibleValue() const
{
    return MessageRowText::focusAccessibleValue(m_state.focused);
}

QString ReaderState::resizeSymbol() const
{
    return ReaderText::resizeSymbol(m_state.tucked);
}

QString ReaderState::resizeHelp() const
{
    return ReaderText::resizeHelp(m_state.tucked);
}

QString ReaderState::agentNotice() const
{
    return m_state.hasMessage ? ReaderText::agentNotice(m_state.released, ruleOf(m_state.body)) : QString();
}

QString ReaderState::approvalNotice() const
{
    return m_state.hasMessage ? ReaderText::approvalNotice(m_state.released, ruleOf(m_state.body)) : QString();
}

void ReaderState::setDraft(const QString &draft)
{
    const std::optional<Message> selected = m_inbox.selected();
    if (!selected || draft == m_draft)
        return;
    m_draft = draft;
    m_inbox.setReplyDraft(m_inbox.threadKey(*selected), draft);
    Q_EMIT draftChanged();
}

bool ReaderState::canSend() const
{
    return ReaderText::canSend(m_draft);
}

void ReaderState::send()
{
    if (const std::optional<Message> selected = m_inbox.selected(); selected && canSend())
        m_inbox.sendReply(*selected);
    update();
}

void ReaderState::addLocalReply()
{
    const std::optional<Message> selected = m_inbox.selected();
    if (!selected || !ReaderText::canSend(m_inbox.directDraft()))
        return;
    const qsizetype before = selected->replies.size();
    m_inbox.addDemoReply(selected->id, m_inbox.directDraft());
    // A reply the demo refused (an unreleased conversation) keeps its text in the field.
    const std::optional<Message> after = m_inbox.selected();
    if (after && after->replies.size() > before)
        m_inbox.setDirectDraft(QString());
    update();
}

void ReaderState::openInTandrel()
{
    m_inbox.openWorkspace(m_inbox.selected());
}

void ReaderState::toggleFocus(const QString &id)
{
    if (id.isEmpty()) {
        if (const std::optional<Message> selected = m_inbox.selected())
            m_inbox.toggleFocus(*selected);
        return;
    }
    m_inbox.toggleMessageFocus(id);
}
