#include "content/InlineParser.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <gtest/gtest.h>

#include <iostream>

// Runs the examples of CommonMark's inline sections through the inline parser, renders the result the
// way the CommonMark reference renderer writes HTML and compares with white space normalised.
//
// Our parser keeps all white space and treats every line end as a line break, so soft and hard breaks
// are the same thing; the comparison therefore drops "<br />" and collapses white space runs. Examples
// whose result depends on block structure, link reference definitions or raw HTML do not apply to an
// inline-only parser and are skipped.

namespace {

struct Example
{
    int number = 0;
    QString section;
    QString markdown;
    QString html;
};

std::vector<Example> readExamples()
{
    QFile file(QStringLiteral(TANDREL_COMMONMARK_FILE));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    const QString fence = QString(32, u'`');
    std::vector<Example> examples;
    QString section;
    int number = 0;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines[i];
        if (line.startsWith(u"## "))
            section = line.mid(3);
        if (line != fence + QStringLiteral(" example"))
            continue;
        Example example;
        example.number = ++number;
        example.section = section;
        QStringList markdown;
        QStringList html;
        ++i;
        for (; i < lines.size() && lines[i] != u"."; ++i)
            markdown.append(lines[i]);
        ++i;
        for (; i < lines.size() && lines[i] != fence; ++i)
            html.append(lines[i]);
        example.markdown = markdown.join(u'\n').replace(u'→', u'\t');
        example.html = html.join(u'\n').replace(u'→', u'\t');
        examples.push_back(example);
    }
    return examples;
}

QString escapeHtml(QStringView text)
{
    QString out;
    for (const QChar c : text) {
        switch (c.unicode()) {
        case u'&': out += QStringLiteral("&amp;"); break;
        case u'<': out += QStringLiteral("&lt;"); break;
        case u'>': out += QStringLiteral("&gt;"); break;
        case u'"': out += QStringLiteral("&quot;"); break;
        default: out += c;
        }
    }
    return out;
}

// Percent-encodes a URL as the reference renderer does, keeping existing %XX escapes.
QString normalizeUrl(const QString &url)
{
    static const QByteArray keep = ";/?:@&=+$,-_.!~*'()#";
    const QByteArray bytes = url.toUtf8();
    QString out;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(bytes[i]);
        const bool alphanumeric = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (alphanumeric || keep.contains(char(c))) {
            out += QChar(char16_t(c));
        } else if (c == '%' && i + 2 < bytes.size() && isxdigit(static_cast<unsigned char>(bytes[i + 1])) &&
                   isxdigit(static_cast<unsigned char>(bytes[i + 2]))) {
            out += QChar(char16_t(c));
        } else {
            out += QStringLiteral("%%1").arg(int(c), 2, 16, QChar(u'0')).toUpper();
        }
    }
    return escapeHtml(out);
}

QString renderCommonMarkHtml(const StyledText &styled)
{
    const QString &text = styled.text();
    const auto &spans = styled.spans();
    QString out;
    std::vector<std::size_t> open;
    qsizetype pos = 0;
    std::size_t skipUntilDepth = SIZE_MAX; // inside an image: only its description text counts
    auto emitTo = [&](qsizetype to) {
        if (to > pos) {
            if (skipUntilDepth == SIZE_MAX)
                out += escapeHtml(QStringView(text).sliced(pos, to - pos));
            pos = to;
        }
    };
    auto close = [&]() {
        const auto &span = spans[open.back()];
        emitTo(span.end);
        const bool inImage = skipUntilDepth != SIZE_MAX && skipUntilDepth < open.size() - 1;
        switch (inImage ? StyledText::Style::image : span.style) {
        case StyledText::Style::emphasis: out += QStringLiteral("</em>"); break;
        case StyledText::Style::strong: out += QStringLiteral("</strong>"); break;
        case StyledText::Style::code: out += QStringLiteral("</code>"); break;
        case StyledText::Style::strikethrough: out += QStringLiteral("</del>"); break;
        case StyledText::Style::link: out += QStringLiteral("</a>"); break;
        case StyledText::Style::image:
            if (skipUntilDepth == open.size() - 1)
                skipUntilDepth = SIZE_MAX;
            break;
        }
        open.pop_back();
    };
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const auto &span = spans[i];
        while (open.size() > std::size_t(span.depth))
            close();
        emitTo(span.start);
        if (skipUntilDepth == SIZE_MAX) {
            const QString title =
                span.title.isEmpty() ? QString() : QStringLiteral(" title=\"%1\"").arg(escapeHtml(span.title));
            switch (span.style) {
            case StyledText::Style::emphasis: out += QStringLiteral("<em>"); break;
            case StyledText::Style::strong: out += QStringLiteral("<strong>"); break;
            case StyledText::Style::code: out += QStringLiteral("<code>"); break;
            case StyledText::Style::strikethrough: out += QStringLiteral("<del>"); break;
            case StyledText::Style::link:
                out += QStringLiteral("<a href=\"%1\"%2>").arg(normalizeUrl(span.url), title);
                break;
            case StyledText::Style::image:
                out += QStringLiteral("<img src=\"%1\" alt=\"%2\"%3 />")
                           .arg(normalizeUrl(span.url), escapeHtml(QStringView(text).sliced(span.start, span.end - span.start)), title);
                skipUntilDepth = open.size();
                break;
            }
        }
        open.push_back(i);
    }
    while (!open.empty())
        close();
    emitTo(text.size());
    return QStringLiteral("<p>") + out + QStringLiteral("</p>");
}

// The paragraphs of an example: its text split at blank lines.
QStringList paragraphs(const QString &markdown)
{
    static const QRegularExpression blankLine(QStringLiteral("\\n[ \\t]*\\n(?:[ \\t]*\\n)*"));
    return markdown.split(blankLine, Qt::SkipEmptyParts);
}

QString normalizeWhitespace(QString html)
{
    static const QRegularExpression space(QStringLiteral("[ \\t\\r\\n]+"));
    html.remove(QStringLiteral("<br />"));
    html.replace(space, QStringLiteral(" "));
    html.replace(QStringLiteral("<p> "), QStringLiteral("<p>"));
    html.replace(QStringLiteral(" </p>"), QStringLiteral("</p>"));
    return html.trimmed();
}

// Why an example does not apply to an inline-only parser, or an empty string if it does.
QString skipReason(const Example &example)
{
    static const QRegularExpression tagLike(QStringLiteral("<[A-Za-z/!?][^<>]*>"));
    for (auto match = tagLike.globalMatch(example.markdown); match.hasNext();) {
        if (example.html.contains(match.next().captured(0)))
            return QStringLiteral("raw HTML");
    }
    static const QRegularExpression definition(QStringLiteral("(^|\\n) {0,3}\\[(?:[^\\]\\\\]|\\\\.)+\\]:"));
    if (definition.match(example.markdown).hasMatch())
        return QStringLiteral("link reference definition");
    // Paragraphs separated by blank lines are the one block structure the test itself provides.
    const QString html = example.html.trimmed();
    static const QRegularExpression blockTag(QStringLiteral("<(pre|h[1-6]|ul|ol|li|blockquote|hr|table)[ />]"));
    if (!html.startsWith(u"<p>") || !html.endsWith(u"</p>") ||
        html.count(QStringLiteral("<p>")) != paragraphs(example.markdown).size() || blockTag.match(html).hasMatch())
        return QStringLiteral("block structure");
    return QString();
}

} // namespace

TEST(CommonMarkInline, PassesTheApplicableExamplesOfTheInlineSections)
{
    const QStringList sections{
        QStringLiteral("Backslash escapes"),
        QStringLiteral("Entity and numeric character references"),
        QStringLiteral("Code spans"),
        QStringLiteral("Emphasis and strong emphasis"),
        QStringLiteral("Links"),
        QStringLiteral("Autolinks"),
        QStringLiteral("Hard line breaks"),
        QStringLiteral("Soft line breaks"),
        QStringLiteral("Textual content"),
    };
    const std::vector<Example> examples = readExamples();
    ASSERT_GT(examples.size(), 600u) << "could not read " << TANDREL_COMMONMARK_FILE;

    int applicable = 0;
    int passed = 0;
    int skipped = 0;
    std::map<QString, int> skippedBy;
    QString skippedList;
    QString failures;
    for (const Example &example : examples) {
        if (!sections.contains(example.section))
            continue;
        const QString reason = skipReason(example);
        if (!reason.isEmpty()) {
            ++skipped;
            ++skippedBy[reason];
            skippedList += QStringLiteral(" %1 (%2)").arg(example.number).arg(reason);
            continue;
        }
        ++applicable;
        QStringList rendered;
        for (const QString &paragraph : paragraphs(example.markdown))
            rendered.append(renderCommonMarkHtml(InlineParser::parse(paragraph)));
        const QString got = normalizeWhitespace(rendered.join(u'\n'));
        const QString expected = normalizeWhitespace(example.html);
        if (got == expected) {
            ++passed;
        } else {
            failures += QStringLiteral("  example %1 (%2)\n    input:    %3\n    expected: %4\n    got:      %5\n")
                            .arg(example.number)
                            .arg(example.section, example.markdown.toHtmlEscaped().replace(u'\n', QStringLiteral("\\n")),
                                 expected, got);
        }
    }
    std::cout << "CommonMark inline: " << passed << " of " << applicable << " applicable examples pass; " << skipped
              << " skipped (";
    bool first = true;
    for (const auto &[reason, count] : skippedBy) {
        std::cout << (first ? "" : ", ") << count << " " << reason.toStdString();
        first = false;
    }
    std::cout << ")\n  skipped:" << skippedList.toStdString() << "\n";
    if (!failures.isEmpty())
        std::cout << "  failing:\n" << failures.toStdString();
    EXPECT_GE(passed * 100, applicable * 95);
}
