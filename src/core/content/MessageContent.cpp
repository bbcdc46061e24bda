#include "MessageContent.h"

#include "AttachmentFence.h"
#include "MessageMarkdown.h"
#include "StrictBase64.h"

#include "records/Utf8Text.h"

#include <QStringDecoder>

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no truncated sequences.
bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    char32_t c = 0;
    while (p < end) {
        if (!Utf8Text::decode(p, end, c))
            return false;
    }
    return true;
}

} // namespace

std::optional<QString> MessageContent::usableHtml(const VisualizationFile &file)
{
    if (file.type != htmlType)
        return std::nullopt;
    const std::optional<QByteArray> bytes =
        StrictBase64::decode(QByteArrayView(file.data.data(), qsizetype(file.data.size())), maximumAttachmentSize);
    if (!bytes || !isValidUtf8(*bytes))
        return std::nullopt;
    // Decoded exactly, a leading byte order mark included.
    QStringDecoder decoder(QStringDecoder::Utf8, QStringDecoder::Flag::ConvertInitialBom);
    return QString(decoder(*bytes));
}

StyledText MessageContent::Block::text() const
{
    return kind == Kind::code ? StyledText() : MessageMarkdown::inlineText(source);
}

MessageContent::MessageContent(const QString &body)
{
    AttachmentFence::Split split = AttachmentFence::split(body);

    const std::vector<MessageMarkdown::Block> blocks = MessageMarkdown::blocks(split.text);
    m_blocks.reserve(blocks.size());
    for (const MessageMarkdown::Block &block : blocks) {
        Block styled;
        switch (block.kind) {
        case MessageMarkdown::Block::Kind::paragraph: styled.kind = Block::Kind::paragraph; break;
        case MessageMarkdown::Block::Kind::heading: styled.kind = Block::Kind::heading; break;
        case MessageMarkdown::Block::Kind::item: styled.kind = Block::Kind::item; break;
        case MessageMarkdown::Block::Kind::quote: styled.kind = Block::Kind::quote; break;
        case MessageMarkdown::Block::Kind::code: styled.kind = Block::Kind::code; break;
        }
        if (styled.kind == Block::Kind::code) {
            styled.code = block.text;
        } else {
            styled.marker = block.marker;
            styled.source = block.text;
        }
        m_blocks.push_back(std::move(styled));
    }

    qint64 htmlBytes = 0;
    for (VisualizationFile &file : split.files) {
        std::optional<QString> html = usableHtml(file);
        if (!html)
            continue;
        htmlBytes += AttachmentFence::utf8Size(*html);
        m_attachments.push_back(Attachment{std::move(file), std::move(*html)});
    }
    m_cost = 4 * qint64(AttachmentFence::utf8Size(body)) + 2 * htmlBytes;
}
