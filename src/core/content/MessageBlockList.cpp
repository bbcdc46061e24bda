#include "MessageBlockList.h"

#include "VisualizationDocument.h"

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
    const int attachmentsBefore = attachmentCount();
    beginResetModel();
    m_body = shown;
    m_content = std::move(content);
    m_styled.reset();
    endResetModel();
    if (count() != before || attachmentCount() != attachmentsBefore)
        Q_EMIT countChanged();
}

QString MessageBlockList::attachmentName(int index) const
{
    if (index < 0 || index >= attachmentCount())
        return {};
    return QString::fromStdString(m_content->attachments()[std::size_t(index)].file.name);
}

QString MessageBlockList::attachmentHtml(int index) const
{
    if (index < 0 || index >= attachmentCount())
        return {};
    return m_content->attachments()[std::size_t(index)].html;
}

QString MessageBlockList::saveAttachment(int index, const QString &path) const
{
    if (index < 0 || index >= attachmentCount())
        return VisualizationDocument::saveFailedText();
    return VisualizationDocument::save(m_content->attachments()[std::size_t(index)].file, path).value_or(QString());
}

void MessageBlockList::setFramed(bool framed)
{
    if (m_framed == framed)
        return;
    beginResetModel();
    m_framed = framed;
    endResetModel();
}

int MessageBlockList::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return count() + (m_framed && m_content ? 2 : 0);
}

QVariant MessageBlockList::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() < 0 || index.row() >= rowCount())
        return {};
    int row = index.row();
    if (m_framed) {
        if (row == 0 || row == count() + 1)
        {
            switch (role) {
            case KindRole: return row == 0 ? QStringLiteral("header") : QStringLiteral("footer");
            case HtmlRole:
            case TextRole:
            case MarkerRole: return QString();
            default: return {};
            }
        }
        --row;
    }
    const MessageContent::Block &block = m_content->blocks()[std::size_t(row)];
    const bool code = block.kind == MessageContent::Block::Kind::code;
    switch (role) {
    case KindRole: return kindName(block.kind);
    case HtmlRole: return code ? QString() : styled(std::size_t(row)).toHtml(linkColour);
    case Qt::DisplayRole:
    case TextRole: return code ? block.code : styled(std::size_t(row)).text();
    case MarkerRole: return block.marker;
    default: return {};
    }
}

const StyledText &MessageBlockList::styled(std::size_t block) const
{
    if (!m_styled || m_styled->first != block)
        m_styled.emplace(block, m_content->blocks()[block].text());
    return m_styled->second;
}

QHash<int, QByteArray> MessageBlockList::roleNames() const
{
    return {{KindRole, "kind"}, {HtmlRole, "html"}, {TextRole, "plainText"}, {MarkerRole, "marker"}};
}
