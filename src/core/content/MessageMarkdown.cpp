#include "MessageMarkdown.h"

#include "InlineParser.h"

namespace {

bool isLineSeparator(char16_t c)
{
    switch (c) {
    case u'\n': case u'\v': case u'\f': case u'\r': case 0x0085: case 0x2028: case 0x2029: return true;
    default: return false;
    }
}

// Tab and the Unicode space separators (general category Zs).
bool isBlank(QChar c)
{
    return c == u'\t' || c == u' ' || (c.unicode() > 0x7F && c.category() == QChar::Separator_Space);
}

QStringView trimmed(QStringView line)
{
    qsizetype from = 0;
    qsizetype to = line.size();
    while (from < to && isBlank(line[from]))
        ++from;
    while (to > from && isBlank(line[to - 1]))
        --to;
    return line.sliced(from, to - from);
}

bool isAsciiDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Length of the "^#{1,6} +" match, or 0.
qsizetype headingPrefix(QStringView line)
{
    qsizetype hashes = 0;
    while (hashes < line.size() && line[hashes] == u'#')
        ++hashes;
    if (hashes < 1 || hashes > 6 || hashes >= line.size() || line[hashes] != u' ')
        return 0;
    qsizetype end = hashes;
    while (end < line.size() && line[end] == u' ')
        ++end;
    return end;
}

// Length of the "^([-*+] |[0-9]+[.)] )" match, or 0.
qsizetype itemPrefix(QStringView line)
{
    if (line.size() >= 2 && (line[0] == u'-' || line[0] == u'*' || line[0] == u'+') && line[1] == u' ')
        return 2;
    qsizetype digits = 0;
    while (digits < line.size() && isAsciiDigit(line[digits]))
        ++digits;
    if (digits == 0 || digits + 1 >= line.size())
        return 0;
    if ((line[digits] == u'.' || line[digits] == u')') && line[digits + 1] == u' ')
        return digits + 2;
    return 0;
}

QString joinLines(const std::vector<QStringView> &lines)
{
    qsizetype size = qsizetype(lines.size());
    for (const QStringView line : lines)
        size += line.size();
    QString out;
    out.reserve(size);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i > 0)
            out += u'\n';
        out += lines[i];
    }
    return out;
}

class Splitter
{
public:
    std::vector<MessageMarkdown::Block> blocks;

    void line(QStringView line)
    {
        using Kind = MessageMarkdown::Block::Kind;
        const QStringView trimmedLine = trimmed(line);
        if (trimmedLine.startsWith(u"```")) {
            flush();
            if (m_inCode) {
                blocks.push_back({Kind::code, QString(), joinLines(m_code)});
                m_code.clear();
                m_inCode = false;
            } else {
                m_inCode = true;
            }
            return;
        }
        if (m_inCode) {
            m_code.push_back(line);
            return;
        }
        if (trimmedLine.isEmpty()) {
            flush();
            return;
        }
        if (const qsizetype prefix = headingPrefix(trimmedLine)) {
            flush();
            blocks.push_back({Kind::heading, QString(), trimmedLine.sliced(prefix).toString()});
            return;
        }
        if (const qsizetype prefix = itemPrefix(trimmedLine)) {
            flush();
            QString marker = trimmedLine.first(prefix - 1).toString();
            if (marker.size() == 1)
                marker = QStringLiteral("\u2022");
            blocks.push_back({Kind::item, std::move(marker), trimmedLine.sliced(prefix).toString()});
            return;
        }
        if (trimmedLine.startsWith(u"> ")) {
            flush();
            blocks.push_back({Kind::quote, QString(), trimmedLine.sliced(2).toString()});
            return;
        }
        m_paragraph.push_back(line);
    }

    void finish()
    {
        flush();
        if (m_inCode) {
            blocks.push_back({MessageMarkdown::Block::Kind::code, QString(), joinLines(m_code)});
            m_code.clear();
            m_inCode = false;
        }
    }

private:
    void flush()
    {
        if (m_paragraph.empty())
            return;
        blocks.push_back({MessageMarkdown::Block::Kind::paragraph, QString(), joinLines(m_paragraph)});
        m_paragraph.clear();
    }

    std::vector<QStringView> m_paragraph;
    std::vector<QStringView> m_code;
    bool m_inCode = false;
};

} // namespace

std::vector<MessageMarkdown::Block> MessageMarkdown::blocks(QStringView text)
{
    Splitter splitter;
    qsizetype lineStart = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (isLineSeparator(text[i].unicode())) {
            splitter.line(text.sliced(lineStart, i - lineStart));
            lineStart = i + 1;
        }
    }
    splitter.line(text.sliced(lineStart));
    splitter.finish();
    return std::move(splitter.blocks);
}

StyledText MessageMarkdown::inlineText(QStringView text)
{
    StyledText parsed = InlineParser::parse(text);
    for (const StyledText::Span &span : parsed.spans()) {
        if (span.style == StyledText::Style::link && !isKeptLink(span.url))
            return parsed.keepingLinks([](const QString &url) { return isKeptLink(url); });
    }
    return parsed;
}

QString MessageMarkdown::linkScheme(QStringView url)
{
    auto isLetter = [](QChar c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    if (url.isEmpty() || !isLetter(url[0]))
        return QString();
    qsizetype i = 1;
    while (i < url.size() && (isLetter(url[i]) || isAsciiDigit(url[i]) || url[i] == u'+' || url[i] == u'-' || url[i] == u'.'))
        ++i;
    if (i >= url.size() || url[i] != u':')
        return QString();
    return url.first(i).toString().toLower();
}

bool MessageMarkdown::isKeptLink(QStringView url)
{
    const QString scheme = linkScheme(url);
    return scheme == u"https" || scheme == u"http" || scheme == u"mailto";
}
