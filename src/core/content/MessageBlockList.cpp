#include "MessageBlockList.h"

namespace {

QString kindName(MessageContent::Block::Kind kind)
{
    switch (kind) {
    case MessageContent::Block::Kind::paragraph: return QStringLiteral("paragraph");
    case MessageContent::Block::Kind::heading: return QStringLiteral("heading");
    case MessageContent::Block::Kind::item: return QStringLiteral("item");
    case MessageContent::Block::Kind::quote: return QStringLiteral("quote");
    case MessageContent::Block::Kind::code: return QStringLiteral("code");
    }
    return {};
}

} // namespace

void MessageBlockList::show(const QString &body, std::shared_ptr<const MessageContent> content)
{
    const std::optional<QString> shown = content ? std::optional<QString>(body) : std::nullopt;
    if (shown == m_body)
        return;
    const int before = count();
    beginResetModel();
    m_body = shown;
    m_blocks.clear();
    if (content) {
        m_blocks.reserve(content->blocks().size());
        for (const MessageContent::Block &block : content->blocks()) {
            const bool code = block.kind == MessageContent::Block::Kind::code;
            m_blocks.push_back({kindName(block.kind), code ? QString() : block.text.toHtml(linkColour),
                                code ? block.code : block.text.text(), block.marker});
        }
    }
    endResetModel();
    if (count() != before)
        Q_EMIT countChanged();
}

int MessageBlockList::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant MessageBlockList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= count())
        return {};
    const Row &row = m_blocks[std::size_t(index.row())];
    switch (role) {
    case KindRole: return row.kind;
    case HtmlRole: return row.html;
    case Qt::DisplayRole:
    case TextRole: return row.text;
    case MarkerRole: return row.marker;
    default: return {};
    }
}

QHash<int, QByteArray> MessageBlockList::roleNames() const
{
    return {{KindRole, "kind"}, {HtmlRole, "html"}, {TextRole, "plainText"}, {MarkerRole, "marker"}};
}
