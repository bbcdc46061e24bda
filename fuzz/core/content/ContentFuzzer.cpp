#include "content/MessageContent.h"
#include "content/MessageMarkdown.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

// Parses arbitrary bytes as a message body (decoded as UTF-8, and also taken as raw UTF-16 so that
// unpaired surrogates reach the inline parser) and checks that the result is well formed.

namespace {

void require(bool condition)
{
    if (!condition)
        abort();
}

// Spans are in pre-order, inside the text, inside their parent, with depth counting their ancestors;
// runs cover the text exactly; rich text is produced; only kept links remain when `filtered`.
void check(const StyledText &styled, bool filtered)
{
    const qsizetype size = styled.text().size();
    std::vector<const StyledText::Span *> stack;
    qsizetype previousStart = 0;
    for (const StyledText::Span &span : styled.spans()) {
        require(span.start >= 0 && span.start <= span.end && span.end <= size);
        require(span.start >= previousStart);
        previousStart = span.start;
        require(span.depth >= 0 && std::size_t(span.depth) <= stack.size());
        stack.resize(std::size_t(span.depth));
        if (!stack.empty())
            require(span.start >= stack.back()->start && span.end <= stack.back()->end);
        stack.push_back(&span);
        if (filtered && span.style == StyledText::Style::link)
            require(MessageMarkdown::isKeptLink(span.url));
    }
    qsizetype covered = 0;
    for (const StyledText::Run &run : styled.runs()) {
        require(run.start == covered && run.length > 0);
        covered += run.length;
    }
    require(covered == size);
    require(!styled.toHtml().isEmpty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString body = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    const MessageContent content(body);
    require(content.cost() >= 0);
    for (const MessageContent::Block &block : content.blocks()) {
        if (block.kind == MessageContent::Block::Kind::code)
            require(block.text.text().isEmpty() && block.text.spans().empty());
        else
            check(block.text, true);
    }
    for (const MessageContent::Attachment &attachment : content.attachments()) {
        require(attachment.file.type == "text/html");
        require(attachment.html.size() <= MessageContent::maximumAttachmentSize);
    }

    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, std::size_t(utf16.size()) * 2);
    check(MessageMarkdown::inlineText(utf16), true);
    return 0;
}
