#include "StyledText.h"

#include <array>

namespace {

bool isLineBreak(char16_t c)
{
    switch (c) {
    case u'\n': case u'\v': case u'\f': case u'\r': case 0x0085: case 0x2028: case 0x2029: return true;
    default: return false;
    }
}

// Appends text[from, to) escaped for HTML text content; line ends become <br> (a CR LF pair becomes one).
void appendEscaped(QString &out, const QString &text, qsizetype from, qsizetype to)
{
    const QChar *data = text.constData();
    qsizetype plainFrom = from;
    for (qsizetype i = from; i < to; ++i) {
        const char16_t c = data[i].unicode();
        QStringView replacement;
        switch (c) {
        case u'&': replacement = u"&amp;"; break;
        case u'<': replacement = u"&lt;"; break;
        case u'>': replacement = u"&gt;"; break;
        case u'"': replacement = u"&quot;"; break;
        case u'\'': replacement = u"&#39;"; break;
        case 0: replacement = u"\uFFFD"; break;
        default:
            if (isLineBreak(c))
                replacement = u"<br>";
        }
        if (replacement.isNull())
            continue;
        out.append(data + plainFrom, i - plainFrom);
        out.append(replacement);
        if (c == u'\r' && i + 1 < to && data[i + 1] == u'\n')
            ++i;
        plainFrom = i + 1;
    }
    out.append(data + plainFrom, to - plainFrom);
}

// Appends a value for a double-quoted attribute: markup characters and all control characters and line
// ends become character references.
void appendAttribute(QString &out, const QString &value)
{
    static constexpr char16_t hex[] = u"0123456789ABCDEF";
    for (const QChar ch : value) {
        const char16_t c = ch.unicode();
        switch (c) {
        case u'&': out.append(u"&amp;"); continue;
        case u'<': out.append(u"&lt;"); continue;
        case u'>': out.append(u"&gt;"); continue;
        case u'"': out.append(u"&quot;"); continue;
        case u'\'': out.append(u"&#39;"); continue;
        case 0: out.append(QChar(0xFFFD)); continue;
        default: break;
        }
        if (c < 0x20 || c == 0x7F || isLineBreak(c)) {
            out.append(u"&#x");
            for (int shift = 12; shift >= 0; shift -= 4)
                out.append(QChar(hex[(c >> shift) & 15]));
            out.append(u';');
        } else {
            out.append(ch);
        }
    }
}

const char *openTag(StyledText::Style style)
{
    switch (style) {
    case StyledText::Style::emphasis: return "<i>";
    case StyledText::Style::strong: return "<b>";
    case StyledText::Style::code: return "<code>";
    case StyledText::Style::strikethrough: return "<s>";
    case StyledText::Style::link: return nullptr; // written with its href
    case StyledText::Style::image: return "";
    }
    return "";
}

const char *closeTag(StyledText::Style style)
{
    switch (style) {
    case StyledText::Style::emphasis: return "</i>";
    case StyledText::Style::strong: return "</b>";
    case StyledText::Style::code: return "</code>";
    case StyledText::Style::strikethrough: return "</s>";
    case StyledText::Style::link: return "</a>";
    case StyledText::Style::image: return "";
    }
    return "";
}

// Walks the span tree in text order. `text(from, to)` receives the stretches between span borders,
// `open(index)` and `close(index)` the borders themselves.
template <class Text, class Open, class Close>
void walk(const QString &text, const std::vector<StyledText::Span> &spans, Text &&emit, Open &&open, Close &&close)
{
    std::vector<qsizetype> stack;
    qsizetype pos = 0;
    auto emitTo = [&](qsizetype to) {
        if (to > pos) {
            emit(pos, to);
            pos = to;
        }
    };
    for (qsizetype i = 0; i < qsizetype(spans.size()); ++i) {
        const StyledText::Span &span = spans[std::size_t(i)];
        while (qsizetype(stack.size()) > span.depth) {
            emitTo(spans[std::size_t(stack.back())].end);
            close(stack.back());
            stack.pop_back();
        }
        emitTo(span.start);
        open(i);
        stack.push_back(i);
    }
    while (!stack.empty()) {
        emitTo(spans[std::size_t(stack.back())].end);
        close(stack.back());
        stack.pop_back();
    }
    emitTo(text.size());
}

} // namespace

StyledText::StyledText(QString text) : m_text(std::move(text)) {}

StyledText::StyledText(QString text, std::vector<Span> spans) : m_text(std::move(text)), m_spans(std::move(spans)) {}

std::vector<StyledText::Run> StyledText::runs() const
{
    std::vector<Run> result;
    std::array<int, 6> count{};
    std::vector<qsizetype> links; // indices of the enclosing link spans, innermost last
    qsizetype lastLink = -1;
    walk(
        m_text, m_spans,
        [&](qsizetype from, qsizetype to) {
            Run run;
            run.start = from;
            run.length = to - from;
            run.emphasis = count[std::size_t(Style::emphasis)] > 0;
            run.strong = count[std::size_t(Style::strong)] > 0;
            run.code = count[std::size_t(Style::code)] > 0;
            run.strikethrough = count[std::size_t(Style::strikethrough)] > 0;
            const qsizetype link = links.empty() ? -1 : links.back();
            if (link >= 0)
                run.link = m_spans[std::size_t(link)].url;
            if (!result.empty()) {
                Run &last = result.back();
                if (last.start + last.length == from && link == lastLink && last.emphasis == run.emphasis &&
                    last.strong == run.strong && last.code == run.code && last.strikethrough == run.strikethrough) {
                    last.length += run.length;
                    return;
                }
            }
            lastLink = link;
            result.push_back(std::move(run));
        },
        [&](qsizetype index) {
            const Span &span = m_spans[std::size_t(index)];
            ++count[std::size_t(span.style)];
            if (span.style == Style::link)
                links.push_back(index);
        },
        [&](qsizetype index) {
            const Span &span = m_spans[std::size_t(index)];
            --count[std::size_t(span.style)];
            if (span.style == Style::link)
                links.pop_back();
        });
    return result;
}

StyledText StyledText::keepingLinks(const std::function<bool(const QString &url)> &keep) const
{
    std::vector<Span> kept;
    kept.reserve(m_spans.size());
    // removedAbove[d]: how many of the spans enclosing depth d were dropped.
    std::vector<int> removedAbove{0};
    for (const Span &span : m_spans) {
        removedAbove.resize(std::size_t(span.depth) + 1);
        const bool drop = span.style == Style::link && !keep(span.url);
        const int removed = removedAbove.back();
        removedAbove.push_back(removed + (drop ? 1 : 0));
        if (drop)
            continue;
        Span copy = span;
        copy.depth = span.depth - removed;
        kept.push_back(std::move(copy));
    }
    return StyledText(m_text, std::move(kept));
}

QString StyledText::toHtml(const QString &linkColour) const
{
    QString out;
    out.reserve(m_text.size() + m_text.size() / 8 + qsizetype(m_spans.size()) * 8 + 48);
    out += QLatin1String("<span style=\"white-space:pre-wrap\">");
    walk(
        m_text, m_spans, [&](qsizetype from, qsizetype to) { appendEscaped(out, m_text, from, to); },
        [&](qsizetype index) {
            const Span &span = m_spans[std::size_t(index)];
            if (span.style == Style::link) {
                out += QLatin1String("<a href=\"");
                appendAttribute(out, span.url);
                if (!linkColour.isEmpty()) {
                    out += QLatin1String("\" style=\"color:");
                    appendAttribute(out, linkColour);
                }
                out += QLatin1String("\">");
            } else {
                out += QLatin1String(openTag(span.style));
            }
        },
        [&](qsizetype index) { out += QLatin1String(closeTag(m_spans[std::size_t(index)].style)); });
    out += QLatin1String("</span>");
    return out;
}
