#include "ConversationRowList.h"

#include "MessageRowText.h"

#include "records/Message.h"

void ConversationRowList::show(const QList<Row> &rows)
{
    if (showKeyed(
            m_rows, rows, [](const Row &row) { return row.id; }, [](const Row &a, const Row &b) { return a == b; }))
        Q_EMIT countChanged();
}

int ConversationRowList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant ConversationRowList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= count())
        return {};
    const Row &row = m_rows.at(index.row());
    switch (role) {
    case IdRole: return Message::canonical(row.id);
    case Qt::DisplayRole:
    case SenderRole: return row.sender;
    case BodyRole: return row.body;
    case StatusRole: return row.status;
    case MessageIdRole: return row.messageID;
    case PendingRole: return row.pending;
    case OutgoingRole: return row.outgoing;
    case FocusedRole: return row.focused;
    case ReleasedRole: return row.released;
    case FocusTooltipRole: return MessageRowText::focusTooltip(row.released, row.focused);
    case FocusAccessibleNameRole: return MessageRowText::focusAccessibleName(row.focused, row.sender, row.subject);
    case FocusAccessibleValueRole: return MessageRowText::focusAccessibleValue(row.focused);
    default: return {};
    }
}

QHash<int, QByteArray> ConversationRowList::roleNames() const
{
    return {{IdRole, "rowId"},
            {SenderRole, "sender"},
            {BodyRole, "body"},
            {StatusRole, "status"},
            {MessageIdRole, "messageId"},
            {PendingRole, "pending"},
            {OutgoingRole, "outgoing"},
            {FocusedRole, "focused"},
            {ReleasedRole, "released"},
            {FocusTooltipRole, "focusTooltip"},
            {FocusAccessibleNameRole, "focusAccessibleName"},
            {FocusAccessibleValueRole, "focusAccessibleValue"}};
}
