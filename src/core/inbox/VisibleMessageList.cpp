#include "VisibleMessageList.h"


#include "Inbox.h"
#include "LabelColor.h"

#include <QSet>

VisibleMessageList::VisibleMessageList(Inbox &inbox) : KeyedListModel(&inbox), m_inbox(inbox)
{
    const auto changed = [this] { m_nextTurn.request(); };
    connect(&inbox, &Inbox::messagesChanged, this, changed);
    connect(&inbox, &Inbox::filterChanged, this, changed);
    connect(&inbox, &Inbox::scopeChanged, this, changed);
    connect(&inbox, &Inbox::queryChanged, this, changed);
    connect(&inbox, &Inbox::labelChanged, this, changed);
    connect(&inbox, &Inbox::kindChanged, this, changed);
    connect(&inbox, &Inbox::focusOrderChanged, this, changed);
    connect(&inbox, &Inbox::accountIDChanged, this, changed);
    connect(&inbox, &Inbox::labelColorsChanged, this, changed);
    m_nextTurn.request();
}

VisibleMessageList::Row VisibleMessageList::makeRow(const Message &message) const
{
    Row row;
    row.message = message;
    row.focused = m_inbox.cardIsFocused(message);
    row.preview = message.subject;
    const QList<Message> members = m_inbox.members(message);
    row.memberCount = int(members.size());
    row.hasUnread = std::any_of(members.cbegin(), members.cend(), [](const Message &m) { return m.unread; });
    if (message.kind == ConversationKind::direct && !members.isEmpty())
        row.preview = members.last().subject;
    const auto colors = m_inbox.labelColors().constFind(m_inbox.scope());
    row.labelColor = LabelColor::of(message.category, colors == m_inbox.labelColors().constEnd() ? nullptr : &*colors);
    row.meta = MessageRowText::meta(message, m_inbox.live(), row.memberCount);
    const Message target = m_inbox.cardFocusTarget(message);
    row.targetID = Message::canonical(target.id);
    row.targetFocused = m_inbox.focusedIDs().contains(target.id);
    row.targetReleased = target.released;
    row.targetSender = target.sender;
    row.targetSubject = target.subject;
    return row;
}

bool VisibleMessageList::Row::sameDisplay(const Row &other) const
{
    const Message &a = message;
    const Message &b = other.message;
    return a.sender == b.sender && a.initials == b.initials && a.subject == b.subject && a.category == b.category &&
           a.color == b.color && a.unread == b.unread && a.scope == b.scope && a.kind == b.kind &&
           a.conversation == b.conversation && a.released == b.released && a.replies.size() == b.replies.size() &&
           focused == other.focused && hasUnread == other.hasUnread && memberCount == other.memberCount &&
           preview == other.preview && labelColor == other.labelColor && meta == other.meta &&
           targetID == other.targetID && targetFocused == other.targetFocused &&
           targetReleased == other.targetReleased && targetSender == other.targetSender &&
           targetSubject == other.targetSubject;
}

void VisibleMessageList::update()
{
    m_nextTurn.done();
    const QList<Message> visible = m_inbox.visible();
    QList<Row> wanted;
    wanted.reserve(visible.size());
    for (const Message &message : visible)
        wanted.append(makeRow(message));

    if (showKeyed(
            m_rows, wanted, [](const Row &row) { return row.message.id; },
            [](const Row &a, const Row &b) { return a.sameDisplay(b); }))
        Q_EMIT countChanged();
}

int VisibleMessageList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

QVariant VisibleMessageList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= m_rows.size())
        return {};
    const Row &row = m_rows.at(index.row());
    const Message &m = row.message;
    switch (role) {
    case IdRole: return Message::canonical(m.id);
    case Qt::DisplayRole:
    case SenderRole: return m.sender;
    case InitialsRole: return m.initials;
    case SubjectRole: return m.subject;
    case CategoryRole: return m.category;
    case ColorRole: return MessageRowText::colorHex(m.color);
    case UnreadRole: return m.unread;
    case ScopeRole: return m.scope.rawValue;
    case KindRole: return ConversationKinds::rawValue(m.kind);
    case ConversationRole: return m.conversation;
    case ReleasedRole: return m.released;
    case FocusedRole: return row.focused;
    case HasUnreadRole: return row.hasUnread;
    case MemberCountRole: return row.memberCount;
    case ReplyCountRole: return int(m.replies.size());
    case PreviewRole: return row.preview;
    case LabelColorRole: return row.labelColor;
    case MetaChipRole: return row.meta.chipLabel;
    case MetaConversationRole: return row.meta.conversation;
    case MetaCountsRole: return row.meta.counts;
    case ReviewRole: return row.meta.review;
    case FocusTargetIdRole: return row.targetID;
    case FocusTargetFocusedRole: return row.targetFocused;
    case FocusTargetReleasedRole: return row.targetReleased;
    case FocusTooltipRole: return MessageRowText::focusTooltip(row.targetReleased, row.targetFocused);
    case FocusAccessibleNameRole:
        return MessageRowText::focusAccessibleName(row.targetFocused, row.targetSender, row.targetSubject);
    case FocusAccessibleValueRole: return MessageRowText::focusAccessibleValue(row.targetFocused);
    case TeamLabelAccessibleNameRole: return MessageRowText::teamLabelAccessibleName(m.subject, m.category);
    default: return {};
    }
}

QHash<int, QByteArray> VisibleMessageList::roleNames() const
{
    return {{IdRole, "messageId"},         {SenderRole, "sender"},       {InitialsRole, "initials"},
            {SubjectRole, "subject"},      {CategoryRole, "category"},   {ColorRole, "accentColor"},
            {UnreadRole, "unread"},        {ScopeRole, "scope"},         {KindRole, "kind"},
            {ConversationRole, "conversation"}, {ReleasedRole, "released"}, {FocusedRole, "focused"},
            {HasUnreadRole, "hasUnread"},  {MemberCountRole, "memberCount"}, {ReplyCountRole, "replyCount"},
            {PreviewRole, "preview"},      {LabelColorRole, "labelColor"}, {MetaChipRole, "metaChip"},
            {MetaConversationRole, "metaConversation"}, {MetaCountsRole, "metaCounts"}, {ReviewRole, "review"},
            {FocusTargetIdRole, "focusTargetId"}, {FocusTargetFocusedRole, "focusTargetFocused"},
            {FocusTargetReleasedRole, "focusTargetReleased"}, {FocusTooltipRole, "focusTooltip"},
            {FocusAccessibleNameRole, "focusAccessibleName"}, {FocusAccessibleValueRole, "focusAccessibleValue"},
            {TeamLabelAccessibleNameRole, "teamLabelAccessibleName"}};
}
