#include "MessageContent.h"

#include "AttachmentFence.h"
#include "MessageMarkdown.h"
#include "StrictBase64.h"

#include <QStringDecoder>

namespace {

// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF, no truncated sequences.
bool isValidUtf8(const QByteArray &bytes)
{
    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData());
    const auto *end = p + bytes.size();
    while (p < end) {
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        int length = 0;
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (c >= 0xC2 && c <= 0xDF) {
            length = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            length = 3;
            if (c == 0xE0)
                low = 0xA0;
            else if (c == 0xED)
                high = 0x9F;
        } else if (c >= 0xF0 && c <= 0xF4) {
            length = 4;
            if (c == 0xF0)
                low = 0x90;
            else if (c == 0xF4)
                high = 0x8F;
        } else {
            return false;
        }
        if (end - p < length)
            return false;
        if (p[1] < low || p[1] > high)
            return false;
        for (int i = 2; i < length; ++i) {
            if (p[i] < 0x80 || p[i] > 0xBF)
                return false;
        }
        p += length;
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
