#pragma once

#include <QString>
#include <QStringView>

#include <algorithm>
#include <optional>
#include <vector>

// A strict reading of the rich text the views are given for styled text, written apart from the code that
// produces it so that the fuzz targets can hold that code to its promise. The text must be exactly
//   <span style="white-space:pre-wrap"> CONTENT </span>
// where CONTENT is character data and only these tags, properly nested: <br> (empty), <i>, <b>, <code>,
// <s>, and <a href="URL"> or <a href="URL" style="color:COLOUR"> (never one link inside another). Neither
// character data nor attribute values hold a markup character (< > " '), U+0000 or a line end as such, and
// attribute values no control character either; an ampersand only starts &amp; &lt; &gt; &quot; &#39; or,
// in attribute values only, &#xHHHH;.
struct RichText
{
    QString text;              // the character data, entities decoded, each <br> a line feed
    std::vector<QString> links; // each link's decoded URL, in the order the links open
};

namespace richtextcheck {

inline bool isLineEnd(char16_t c)
{
    return c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r' || c == 0x85 || c == 0x2028 || c == 0x2029;
}

inline bool isForbiddenRaw(char16_t c)
{
    return c == u'<' || c == u'>' || c == u'"' || c == u'\'' || c < 0x20 || c == 0x7F || isLineEnd(c);
}

// Reads one reference at text[i] (an '&'), appends what it stands for and moves i past it.
inline bool readReference(QStringView text, qsizetype &i, QString &out, bool numeric)
{
    static constexpr struct { const char16_t *name; char16_t value; } named[] = {
        {u"&amp;", u'&'}, {u"&lt;", u'<'}, {u"&gt;", u'>'}, {u"&quot;", u'"'}, {u"&#39;", u'\''}};
    const QStringView rest = text.mid(i);
    for (const auto &entry : named) {
        if (rest.startsWith(QStringView(entry.name))) {
            out.append(QChar(entry.value));
            i += QStringView(entry.name).size();
            return true;
        }
    }
    if (!numeric || !rest.startsWith(u"&#x") || rest.size() < 8 || rest[7] != u';')
        return false;
    char16_t value = 0;
    for (qsizetype k = 3; k < 7; ++k) {
        const char16_t c = rest[k].unicode();
        const int digit = c >= u'0' && c <= u'9' ? c - u'0' : c >= u'A' && c <= u'F' ? c - u'A' + 10 : -1;
        if (digit < 0)
            return false;
        value = char16_t(value * 16 + digit);
    }
    out.append(QChar(value));
    i += 8;
    return true;
}

// Reads a double-quoted attribute value at text[i] (just after the opening quote) up to its closing quote.
inline std::optional<QString> readValue(QStringView text, qsizetype &i)
{
    QString value;
    while (i < text.size() && text[i] != u'"') {
        const char16_t c = text[i].unicode();
        if (c == u'&') {
            if (!readReference(text, i, value, true))
                return std::nullopt;
            continue;
        }
        if (isForbiddenRaw(c))
            return std::nullopt;
        value.append(text[i]);
        ++i;
    }
    if (i >= text.size())
        return std::nullopt;
    ++i;
    return value;
}

} // namespace richtextcheck

// The reading of `html`, or nothing when it breaks any rule above. `colour` is the only colour a link may
// carry.
inline std::optional<RichText> readRichText(QStringView html, QStringView colour)
{
    using namespace richtextcheck;
    static constexpr QStringView open = u"<span style=\"white-space:pre-wrap\">";
    static constexpr QStringView close = u"</span>";
    if (!html.startsWith(open) || !html.endsWith(close) || html.size() < open.size() + close.size())
        return std::nullopt;
    const QStringView content = html.sliced(open.size(), html.size() - open.size() - close.size());
    RichText result;
    std::vector<QStringView> stack;
    bool inLink = false;
    qsizetype i = 0;
    while (i < content.size()) {
        const char16_t c = content[i].unicode();
        if (c == u'&') {
            if (!readReference(content, i, result.text, false))
                return std::nullopt;
            continue;
        }
        if (c != u'<') {
            if (c == u'>' || c == u'"' || c == u'\'' || c == 0 || isLineEnd(c))
                return std::nullopt;
            result.text.append(content[i]);
            ++i;
            continue;
        }
        const QStringView rest = content.mid(i);
        bool matched = false;
        for (const QStringView name : {QStringView(u"i"), QStringView(u"b"), QStringView(u"code"), QStringView(u"s")}) {
            if (rest.startsWith(QString(u'<').append(name).append(u'>'))) {
                stack.push_back(name);
                i += name.size() + 2;
                matched = true;
                break;
            }
            if (rest.startsWith(QStringLiteral("</").append(name).append(u'>'))) {
                if (stack.empty() || stack.back() != name)
                    return std::nullopt;
                stack.pop_back();
                i += name.size() + 3;
                matched = true;
                break;
            }
        }
        if (matched)
            continue;
        if (rest.startsWith(u"<br>")) {
            result.text.append(u'\n');
            i += 4;
        } else if (rest.startsWith(u"</a>")) {
            if (stack.empty() || stack.back() != u"a")
                return std::nullopt;
            stack.pop_back();
            inLink = false;
            i += 4;
        } else if (rest.startsWith(u"<a href=\"")) {
            if (inLink)
                return std::nullopt;
            i += 9;
            std::optional<QString> url = readValue(content, i);
            if (!url)
                return std::nullopt;
            if (content.mid(i).startsWith(u" style=\"")) {
                i += 8;
                const std::optional<QString> style = readValue(content, i);
                if (!style || colour.isEmpty() || *style != QStringLiteral("color:").append(colour))
                    return std::nullopt;
            }
            if (i >= content.size() || content[i] != u'>')
                return std::nullopt;
            ++i;
            result.links.push_back(*std::move(url));
            stack.push_back(u"a");
            inLink = true;
        } else {
            return std::nullopt;
        }
    }
    if (!stack.empty())
        return std::nullopt;
    return result;
}

// The scheme a browser would read from `url`, in lower case: C0 controls and spaces at either end dropped,
// tabs and line feeds and carriage returns anywhere removed, then a letter and letters, digits, "+", "-" or
// "." up to a ":". Empty when there is none.
inline QString browserScheme(QStringView url)
{
    QString cleaned;
    qsizetype from = 0;
    qsizetype to = url.size();
    while (from < to && url[from].unicode() <= 0x20)
        ++from;
    while (to > from && url[to - 1].unicode() <= 0x20)
        --to;
    for (qsizetype i = from; i < to; ++i) {
        const char16_t c = url[i].unicode();
        if (c != u'\t' && c != u'\n' && c != u'\r')
            cleaned.append(url[i]);
    }
    auto letter = [](char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); };
    if (cleaned.isEmpty() || !letter(cleaned[0].unicode()))
        return {};
    for (qsizetype i = 1; i < cleaned.size(); ++i) {
        const char16_t c = cleaned[i].unicode();
        if (c == u':')
            return cleaned.first(i).toLower();
        if (!letter(c) && !(c >= u'0' && c <= u'9') && c != u'+' && c != u'-' && c != u'.')
            return {};
    }
    return {};
}

// Whether `shown` (the character data of the rich text) is `text` as the views should show it: every line
// end a line feed, a CR LF pair one line feed unless a style begins or ends between its two halves
// (`borders` holds those positions, sorted), U+0000 as U+FFFD, nothing else changed.
inline bool showsText(QStringView shown, QStringView text, const std::vector<qsizetype> &borders)
{
    qsizetype s = 0;
    for (qsizetype t = 0; t < text.size(); ++t) {
        const char16_t c = text[t].unicode();
        if (richtextcheck::isLineEnd(c)) {
            if (s >= shown.size() || shown[s] != u'\n')
                return false;
            ++s;
            if (c == u'\r' && t + 1 < text.size() && text[t + 1] == u'\n' &&
                !std::binary_search(borders.begin(), borders.end(), t + 1))
                ++t;
            continue;
        }
        const char16_t expected = c == 0 ? char16_t(0xFFFD) : c;
        if (s >= shown.size() || shown[s].unicode() != expected)
            return false;
        ++s;
    }
    return s == shown.size();
}
