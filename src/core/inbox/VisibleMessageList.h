#pragma once

#include "KeyedListModel.h"
#include "MessageRowText.h"
#include "NextTurn.h"

#include "records/Message.h"

#include <QList>

class Inbox;

// The message list the views show: the inbox's visible rows as a list model whose rows keep their identity
// by message id. A change of the inbox is turned into row insertions, removals, moves and data changes on
// the next event-loop turn, so a burst of changes costs one recomputation and delegates are never rebuilt
// for rows that stay.
class VisibleMessageList final : public KeyedListModel
{
    Q_OBJECT
    // The number of rows, for bindings.
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    enum Role {
        IdRole = Qt::UserRole + 1,
        SenderRole,
        InitialsRole,
        SubjectRole,
        CategoryRole,
        ColorRole, // "#rrggbb"
        UnreadRole,
        ScopeRole,
        KindRole, // the kind's raw value: "Shared inbox", "Thread" or "Direct"
        ConversationRole,
        ReleasedRole,
        FocusedRole,    // the card shows as focused
        HasUnreadRole,  // some member of the thread is unread
        MemberCountRole,
        ReplyCountRole, // demo replies
        PreviewRole,    // the subject the row previews
        LabelColorRole, // the category's label colour, "#rrggbb"
        MetaChipRole,   // the meta line: the label chip (personal inbox), or empty
        MetaConversationRole, // the meta line: the conversation's name (team inboxes), or empty
        MetaCountsRole, // the meta line: member and reply counts, as texts
        ReviewRole,     // the meta line ends with the review mark
        // The compact focus button stands for the card's focus target (a member of its thread).
        FocusTargetIdRole,
        FocusTargetFocusedRole,
        FocusTargetReleasedRole,
        FocusTooltipRole,
        FocusAccessibleNameRole,
        FocusAccessibleValueRole,
        TeamLabelAccessibleNameRole,
    };

    explicit VisibleMessageList(Inbox &inbox);

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

    // The row's message (for the operations that take one).
    const Message &messageAt(int row) const { return m_rows.at(row).message; }
    // Recomputes the rows now instead of on the next turn.
    void update();
    int count() const { return int(m_rows.size()); }

Q_SIGNALS:
    void countChanged();

private:
    struct Row
    {
        Message message;
        bool focused = false;
        bool hasUnread = false;
        int memberCount = 0;
        QString preview;
        QString labelColor;
        MessageRowText::Meta meta;
        QString targetID;
        bool targetFocused = false;
        bool targetReleased = true;
        QString targetSender;
        QString targetSubject;

        bool sameDisplay(const Row &other) const;
    };

    Row makeRow(const Message &message) const;

    Inbox &m_inbox;
    QList<Row> m_rows;
    NextTurn m_nextTurn{this, [this] { update(); }};
};
