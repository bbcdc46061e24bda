#include "FuzzChecks.h"
#include "RichTextCheck.h"

#include "content/MessageBlockList.h"
#include "content/MessageContent.h"
#include "content/MessageMarkdown.h"
#include "inbox/ReaderText.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

// Takes arbitrary bytes as a message body (decoded as UTF-8, and also taken as raw UTF-16 so that unpaired
// surrogates reach the parsers) on the road the reader takes: parsed, then read row by row from the block
// list as its delegates read it, and as the focused preview's text. Every piece of rich text a view is given
// must be well formed, carry only the styled text's own tags and attributes, keep every attribute value
// inside its quotes, link only to kept schemes and show exactly the block's text.

namespace {

bool keptScheme(const QString &scheme)
{
    return scheme == u"https" || scheme == u"http" || scheme == u"mailto";
}

// Spans are in pre-order, inside the text, inside their parent, with depth counting their ancestors; runs
// cover the text exactly.
void checkStructure(const StyledText &styled)
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
    }
    qsizetype covered = 0;
    for (const StyledText::Run &run : styled.runs()) {
        require(run.start == covered && run.length > 0);
        covered += run.length;
    }
    require(covered == size);
}

// The rich text of a link-filtered styled text: it reads back as that text with those links.
void checkRichText(const QString &html, const StyledText &styled, const QString &colour)
{
    const std::optional<RichText> read = readRichText(html, colour);
    if (!read)
        std::fprintf(stderr, "rich text not read: %s\n", html.toUtf8().constData());
    require(read.has_value());
    std::vector<qsizetype> borders;
    std::vector<QString> links;
    for (const StyledText::Span &span : styled.spans()) {
        borders.push_back(span.start);
        borders.push_back(span.end);
        if (span.style == StyledText::Style::link) {
            require(MessageMarkdown::isKeptLink(span.url));
            links.push_back(QString(span.url).replace(QChar(0), QChar(0xFFFD)));
        }
    }
    std::sort(borders.begin(), borders.end());
    require(showsText(read->text, styled.text(), borders));
    require(read->links == links);
    for (const QString &url : read->links)
        require(keptScheme(browserScheme(url)));
}

QString roleText(const MessageBlockList &list, int row, int role)
{
    return list.data(list.index(row), role).toString();
}

// Reads every row of a framed block list showing `body` the way the reader's delegates do: the kind, then the
// rich text, then the plain text and the marker.
void checkBlockList(const QString &body)
{
    const auto content = std::make_shared<const MessageContent>(body);
    require(content->cost() >= 0);
    for (const MessageContent::Attachment &attachment : content->attachments()) {
        require(attachment.file.type == MessageContent::htmlType);
        require(attachment.html.size() <= MessageContent::maximumAttachmentSize);
    }

    MessageBlockList list(nullptr);
    list.setFramed(true);
    list.show(body, content);
    const int blocks = int(content->blocks().size());
    require(list.count() == blocks && list.rowCount() == blocks + 2);
    require(list.attachmentCount() == int(content->attachments().size()));
    require(roleText(list, 0, MessageBlockList::KindRole) == u"header");
    require(roleText(list, blocks + 1, MessageBlockList::KindRole) == u"footer");
    for (int row = 1; row <= blocks; ++row) {
        const MessageContent::Block &block = content->blocks()[std::size_t(row - 1)];
        const QString kind = roleText(list, row, MessageBlockList::KindRole);
        const QString html = roleText(list, row, MessageBlockList::HtmlRole);
        const QString text = roleText(list, row, MessageBlockList::TextRole);
        const QString marker = roleText(list, row, MessageBlockList::MarkerRole);
        if (block.kind == MessageContent::Block::Kind::code) {
            require(kind == u"code" && html.isEmpty() && text == block.code && marker.isEmpty());
            continue;
        }
        require(kind == u"paragraph" || kind == u"heading" || kind == u"item" || kind == u"quote");
        require((kind == u"item") == !marker.isEmpty());
        const StyledText styled = block.text();
        checkStructure(styled);
        require(text == styled.text());
        checkRichText(html, styled, MessageBlockList::linkColour);
    }
    require(!list.data(list.index(blocks + 2), MessageBlockList::HtmlRole).isValid());
}

// The focused preview's text: rich text of the body's excerpt, with the same guarantees.
void checkPreview(const QString &body)
{
    const QString html = ReaderText::previewHtml(body, MessageBlockList::linkColour);
    const StyledText styled = MessageMarkdown::inlineText(ReaderText::previewExcerpt(body));
    checkStructure(styled);
    checkRichText(html, styled, MessageBlockList::linkColour);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    const QString body = QString::fromUtf8(reinterpret_cast<const char *>(data), qsizetype(size));
    checkBlockList(body);
    checkPreview(body);

    QString utf16(qsizetype(size / 2), Qt::Uninitialized);
    std::memcpy(utf16.data(), data, std::size_t(utf16.size()) * 2);
    checkBlockList(utf16);
    checkPreview(utf16);
    return 0;
}
