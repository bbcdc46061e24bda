#pragma once

#include "StyledText.h"
#include "liveinbox/VisualizationFile.h"

#include <QString>

#include <optional>
#include <string_view>
#include <vector>

// A parsed message body: its blocks (inline styling on demand), and its usable HTML attachments.
// Immutable once built; share it as std::shared_ptr<const MessageContent>.
class MessageContent
{
public:
    struct Block
    {
        enum class Kind { paragraph, heading, item, quote, code };

        Kind kind = Kind::paragraph;
        QString marker; // item only, plain
        QString source; // paragraph, heading, item and quote: the block's inline Markdown
        QString code;   // code only, never inline-parsed

        // The inline styling of `source`, worked out on each call: a long body parses its inline text only
        // for the blocks somebody reads.
        StyledText text() const;

        friend bool operator==(const Block &, const Block &) = default;
    };

    struct Attachment
    {
        VisualizationFile file; // as it came
        QString html;           // the file's bytes as UTF-8 text

        friend bool operator==(const Attachment &, const Attachment &) = default;
    };

    static constexpr std::string_view htmlType = "text/html";
    static constexpr qsizetype maximumAttachmentSize = 5'242'880;

    explicit MessageContent(const QString &body);

    const std::vector<Block> &blocks() const { return m_blocks; }
    const std::vector<Attachment> &attachments() const { return m_attachments; }
    // 4 × the body's UTF-8 size (fence included) + 2 × the UTF-8 size of all attachments' html.
    qint64 cost() const { return m_cost; }

    // The HTML text of a file when it is usable as an attachment: type exactly "text/html", data strict
    // Base64 of at most 5 MiB that is valid UTF-8.
    static std::optional<QString> usableHtml(const VisualizationFile &file);

private:
    std::vector<Block> m_blocks;
    std::vector<Attachment> m_attachments;
    qint64 m_cost = 0;
};
