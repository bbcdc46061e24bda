#pragma once

#include "ConversationRowList.h"
#include "NextTurn.h"

#include <QObject>
#include <QString>

class Inbox;
struct Message;

// The selected message as the reader shows it: its header, which body shows, the notices, the composer's
// draft and the conversation's rows. Values follow the inbox, recomputed once per event-loop turn after a
// change and notified only when one of them changed; the draft follows typing at once. The reader's actions
// go back through here into the inbox's operations.
class ReaderState final : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool hasMessage READ hasMessage NOTIFY changed)
    Q_PROPERTY(QString messageId READ messageId NOTIFY changed)
    Q_PROPERTY(QString sender READ sender NOTIFY changed)
    Q_PROPERTY(QString initials READ initials NOTIFY changed)
    Q_PROPERTY(QString color READ color NOTIFY changed)
    Q_PROPERTY(QString subject READ subject NOTIFY changed)
    Q_PROPERTY(QString category READ category NOTIFY changed)
    Q_PROPERTY(QString labelColor READ labelColor NOTIFY changed)
    Q_PROPERTY(QString teamLabelAccessibleName READ teamLabelAccessibleName NOTIFY changed)
    Q_PROPERTY(bool personal READ personal NOTIFY changed)
    Q_PROPERTY(bool released READ released NOTIFY changed)
    Q_PROPERTY(bool focused READ focused NOTIFY changed)
    Q_PROPERTY(QString focusTitle READ focusTitle NOTIFY changed)
    Q_PROPERTY(QString focusTooltip READ focusTooltip NOTIFY changed)
    Q_PROPERTY(QString focusAccessibleName READ focusAccessibleName NOTIFY changed)
    Q_PROPERTY(QString focusAccessibleValue READ focusAccessibleValue NOTIFY changed)
    Q_PROPERTY(Body body READ body NOTIFY changed)
    Q_PROPERTY(QString resizeSymbol READ resizeSymbol NOTIFY changed)
    Q_PROPERTY(QString resizeHelp READ resizeHelp NOTIFY changed)
    Q_PROPERTY(QString previewHtml READ previewHtml NOTIFY changed)
    Q_PROPERTY(int previewFontSize READ previewFontSize NOTIFY changed)
    Q_PROPERTY(QString agentNotice READ agentNotice NOTIFY changed)
    Q_PROPERTY(QString approvalNotice READ approvalNotice NOTIFY changed)
    Q_PROPERTY(int pendingCount READ pendingCount NOTIFY changed)
    Q_PROPERTY(int replyCount READ replyCount NOTIFY changed)
    // The live composer's draft: the conversation's entry in the inbox's reply drafts.
    Q_PROPERTY(QString draft READ draft WRITE setDraft NOTIFY draftChanged)
    Q_PROPERTY(bool canSend READ canSend NOTIFY draftChanged)
    // The demo's local reply field (the inbox's direct draft).
    Q_PROPERTY(bool canAddLocalReply READ canAddLocalReply NOTIFY changed)
    Q_PROPERTY(ConversationRowList *rows READ rows CONSTANT)

public:
    // What the body shows: the short form, the chat view or the threaded reader.
    enum Body { Preview, Conversation, Detail };
    Q_ENUM(Body)

    explicit ReaderState(Inbox &inbox);

    bool hasMessage() const { return m_state.hasMessage; }
    QString messageId() const { return m_state.messageID; }
    QString sender() const { return m_state.sender; }
    QString initials() const { return m_state.initials; }
    QString color() const { return m_state.color; }
    QString subject() const { return m_state.subject; }
    QString category() const { return m_state.category; }
    QString labelColor() const { return m_state.labelColor; }
    QString teamLabelAccessibleName() const { return m_state.teamLabelAccessibleName; }
    bool personal() const { return m_state.personal; }
    bool released() const { return m_state.released; }
    bool focused() const { return m_state.focused; }
    QString focusTitle() const;
    QString focusTooltip() const;
    QString focusAccessibleName() const;
    QString focusAccessibleValue() const;
    Body body() const { return m_state.body; }
    QString resizeSymbol() const;
    QString resizeHelp() const;
    QString previewHtml() const { return m_state.previewHtml; }
    int previewFontSize() const { return m_state.previewFontSize; }
    QString agentNotice() const;
    QString approvalNotice() const;
    int pendingCount() const { return m_state.pendingCount; }
    int replyCount() const { return m_state.replyCount; }
    QString draft() const { return m_draft; }
    void setDraft(const QString &draft);
    bool canSend() const;
    bool canAddLocalReply() const { return m_state.canAddLocalReply; }
    ConversationRowList *rows() const { return m_rows; }

    // Sends the conversation's draft (live).
    Q_INVOKABLE void send();
    // Adds the direct draft as a local reply (demo); the draft empties only when the reply was added.
    Q_INVOKABLE void addLocalReply();
    // Opens the message in the web workspace.
    Q_INVOKABLE void openInTandrel();
    // Focuses or unfocuses the selected message itself, or a message of its conversation by id.
    Q_INVOKABLE void toggleFocus(const QString &id = {});

    // Recomputes now instead of on the next turn.
    void update();

Q_SIGNALS:
    void changed();
    void draftChanged();

private:
    struct State
    {
        bool hasMessage = false;
        QString messageID;
        QString sender;
        QString initials;
        QString color;
        QString subject;
        QString category;
        QString labelColor;
        QString teamLabelAccessibleName;
        bool personal = true;
        bool released = true;
        bool focused = false;
        bool tucked = false;
        Body body = Detail;
        QString previewHtml;
        int previewFontSize = 13;
        int pendingCount = 0;
        int replyCount = 0;
        bool canAddLocalReply = false;

        friend bool operator==(const State &, const State &) = default;
    };

    QList<ConversationRowList::Row> rowsOf(const Message &message, Body body);

    Inbox &m_inbox;
    State m_state;
    QString m_draft;
    ConversationRowList *m_rows;
    NextTurn m_nextTurn{this, [this] { update(); }};
};
