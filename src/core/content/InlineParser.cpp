#include "InlineParser.h"

#include "HtmlEntities.h"

#include <QChar>

#include <algorithm>
#include <array>
#include <unordered_map>

namespace {

// ---------------------------------------------------------------------------------------------------
// Character classes

bool isAsciiPunctuation(char16_t c)
{
    return (c >= u'!' && c <= u'/') || (c >= u':' && c <= u'@') || (c >= u'[' && c <= u'`') ||
           (c >= u'{' && c <= u'~');
}

bool isAsciiLetter(char16_t c) { return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'); }
bool isAsciiDigit(char16_t c) { return c >= u'0' && c <= u'9'; }
bool isAsciiAlphanumeric(char16_t c) { return isAsciiLetter(c) || isAsciiDigit(c); }
bool isHexDigit(char16_t c) { return isAsciiDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }
bool isLineEnd(char16_t c) { return c == u'\n' || c == u'\r'; }
bool isSpaceOrTab(char16_t c) { return c == u' ' || c == u'\t'; }
bool isAsciiControlOrSpace(char16_t c) { return c <= 0x20 || c == 0x7F; }

// Unicode white space as emphasis flanking sees it: tab, line feed, form feed, carriage return, Zs.
bool isUnicodeWhitespace(char32_t c)
{
    if (c == u'\t' || c == u'\n' || c == u'\f' || c == u'\r' || c == u' ')
        return true;
    return c > 0x7F && QChar::category(c) == QChar::Separator_Space;
}

// Unicode punctuation as emphasis flanking sees it: general categories P and S.
bool isUnicodePunctuation(char32_t c)
{
    if (c < 0x80)
        return isAsciiPunctuation(char16_t(c));
    return QChar::isPunct(c) || QChar::isSymbol(c);
}

// Characters at which the plain-text scan stops.
constexpr std::array<bool, 128> specialCharacters = [] {
    std::array<bool, 128> table{};
    for (const char c : {'\\', '`', '&', '<', '*', '_', '~', '[', '!', ']'})
        table[std::size_t(c)] = true;
    return table;
}();

bool isSpecial(char16_t c) { return c < 128 && specialCharacters[c]; }

// ---------------------------------------------------------------------------------------------------
// Character references

// Matches an entity or numeric character reference starting at text[at] == '&'. On success appends its
// replacement to `out` and returns the index just past the ';'; otherwise returns -1.
qsizetype matchReference(QStringView text, qsizetype at, QString &out)
{
    const qsizetype n = text.size();
    qsizetype i = at + 1;
    if (i < n && text[i] == u'#') {
        ++i;
        const bool hex = i < n && (text[i] == u'x' || text[i] == u'X');
        if (hex)
            ++i;
        const qsizetype digitsFrom = i;
        const qsizetype maximumDigits = hex ? 6 : 7;
        char32_t value = 0;
        while (i < n && i - digitsFrom < maximumDigits && (hex ? isHexDigit(text[i].unicode()) : isAsciiDigit(text[i].unicode()))) {
            const char16_t c = text[i].unicode();
            const char32_t digit = isAsciiDigit(c) ? c - u'0' : (c | 0x20) - u'a' + 10;
            value = value * (hex ? 16 : 10) + digit;
            ++i;
        }
        if (i == digitsFrom || i >= n || text[i] != u';')
            return -1;
        if (value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
            value = 0xFFFD;
        if (QChar::requiresSurrogates(value)) {
            out.append(QChar(QChar::highSurrogate(value)));
            out.append(QChar(QChar::lowSurrogate(value)));
        } else {
            out.append(QChar(char16_t(value)));
        }
        return i + 1;
    }
    const qsizetype nameFrom = i;
    while (i < n && i - nameFrom < HtmlEntities::maximumNameLength && isAsciiAlphanumeric(text[i].unicode()))
        ++i;
    if (i == nameFrom || i >= n || text[i] != u';')
        return -1;
    const QStringView replacement = HtmlEntities::lookup(text.sliced(nameFrom, i - nameFrom));
    if (replacement.isNull())
        return -1;
    out.append(replacement);
    return i + 1;
}

// Resolves backslash escapes and character references (link destinations and titles).
QString unescape(QStringView text)
{
    QString out;
    out.reserve(text.size());
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const char16_t c = text[i].unicode();
        if (c == u'\\' && i + 1 < n && isAsciiPunctuation(text[i + 1].unicode())) {
            out.append(text[i + 1]);
            i += 2;
        } else if (c == u'&') {
            const qsizetype end = matchReference(text, i, out);
            if (end < 0) {
                out.append(text[i]);
                ++i;
            } else {
                i = end;
            }
        } else {
            out.append(text[i]);
            ++i;
        }
    }
    return out;
}

// ---------------------------------------------------------------------------------------------------
// The parser

enum class Kind : quint8 { root, text, code, emphasis, strong, strikethrough, link, image };

// One inline node. Siblings form a doubly linked list; containers know their first and last child.
struct Node
{
    Kind kind = Kind::text;
    bool scratch = false;   // text lives in the scratch buffer rather than in the input
    bool mergeable = false; // plain text that following plain text may extend
    int offset = 0; // texts are limited to InlineParser::maximumLength
    int length = 0;
    int prev = -1;
    int next = -1;
    int first = -1;
    int last = -1;
    int target = -1; // links and images: index into the targets
};

// One entry of the delimiter stack (runs of *, _ and ~~). Entries are never reused, and later entries
// have larger indices, so indices also order the stack.
struct Delimiter
{
    int node = -1;
    char16_t character = 0;
    qsizetype length = 0; // the length of the whole run as written
    bool canOpen = false;
    bool canClose = false;
    int prev = -1;
    int next = -1;
};

struct Bracket
{
    int node = -1;
    bool image = false;
    int delimiterBottom = -1; // the top of the delimiter stack when the bracket was pushed
};

struct Target
{
    QString url;
    QString title;
};

// Positions of the backtick runs of one length, and how far the search has got.
struct TickRuns
{
    std::vector<qsizetype> starts;
    std::size_t cursor = 0;
};

class Parser
{
public:
    explicit Parser(QStringView input)
    {
        if (input.contains(QChar(0))) {
            m_cleaned = input.toString();
            m_cleaned.replace(QChar(0), QChar(0xFFFD));
            m_text = m_cleaned;
        } else {
            m_text = input;
        }
        m_nodes.reserve(std::size_t(std::min<qsizetype>(m_text.size() / 4 + 4, 1 << 16)));
        m_nodes.push_back(Node{Kind::root});
    }

    StyledText run()
    {
        const qsizetype n = m_text.size();
        while (m_pos < n) {
            const char16_t c = m_text[m_pos].unicode();
            switch (c) {
            case u'\\': backslash(); break;
            case u'`': backticks(); break;
            case u'&': reference(); break;
            case u'<': autolink(); break;
            case u'*':
            case u'_':
            case u'~': delimiterRun(c); break;
            case u'[': openBracket(false, 1); break;
            case u'!':
                if (m_pos + 1 < n && m_text[m_pos + 1] == u'[') {
                    openBracket(true, 2);
                } else {
                    appendText(m_pos, 1);
                    ++m_pos;
                }
                break;
            case u']': closeBracket(); break;
            default: {
                qsizetype end = m_pos + 1;
                while (end < n && !isSpecial(m_text[end].unicode()))
                    ++end;
                appendText(m_pos, end - m_pos);
                m_pos = end;
            }
            }
        }
        processEmphasis(-1);
        return build();
    }

private:
    char16_t at(qsizetype i) const { return i < m_text.size() ? m_text[i].unicode() : char16_t(0); }

    // The code point that ends just before `i`, or a line feed at the start.
    char32_t codePointBefore(qsizetype i) const
    {
        if (i <= 0)
            return u'\n';
        const char16_t c = m_text[i - 1].unicode();
        if (QChar::isLowSurrogate(c) && i >= 2 && QChar::isHighSurrogate(m_text[i - 2].unicode()))
            return QChar::surrogateToUcs4(m_text[i - 2].unicode(), c);
        return c;
    }

    // The code point that starts at `i`, or a line feed at the end.
    char32_t codePointAt(qsizetype i) const
    {
        if (i >= m_text.size())
            return u'\n';
        const char16_t c = m_text[i].unicode();
        if (QChar::isHighSurrogate(c) && i + 1 < m_text.size() && QChar::isLowSurrogate(m_text[i + 1].unicode()))
            return QChar::surrogateToUcs4(c, m_text[i + 1].unicode());
        return c;
    }

    // --- nodes

    Node &root() { return m_nodes[0]; }

    int newNode(Kind kind)
    {
        m_nodes.push_back(Node{kind});
        return int(m_nodes.size() - 1);
    }

    void appendChild(int node)
    {
        Node &parent = root();
        m_nodes[std::size_t(node)].prev = parent.last;
        m_nodes[std::size_t(node)].next = -1;
        if (parent.last >= 0)
            m_nodes[std::size_t(parent.last)].next = node;
        else
            parent.first = node;
        parent.last = node;
    }

    void unlinkFromRoot(int node)
    {
        Node &n = m_nodes[std::size_t(node)];
        if (n.prev >= 0)
            m_nodes[std::size_t(n.prev)].next = n.next;
        else
            root().first = n.next;
        if (n.next >= 0)
            m_nodes[std::size_t(n.next)].prev = n.prev;
        else
            root().last = n.prev;
        n.prev = n.next = -1;
    }

    // Plain text from the input; extends the previous text node when it ends where this begins.
    void appendText(qsizetype offset, qsizetype length)
    {
        const int last = root().last;
        if (last >= 0) {
            Node &n = m_nodes[std::size_t(last)];
            if (n.mergeable && !n.scratch && n.offset + n.length == offset) {
                n.length += int(length);
                return;
            }
        }
        const int node = newNode(Kind::text);
        Node &n = m_nodes[std::size_t(node)];
        n.offset = int(offset);
        n.length = int(length);
        n.mergeable = true;
        appendChild(node);
    }

    // Plain text already appended to the scratch buffer from `offset` on.
    void appendScratchText(qsizetype offset)
    {
        const qsizetype length = m_scratch.size() - offset;
        const int last = root().last;
        if (last >= 0) {
            Node &n = m_nodes[std::size_t(last)];
            if (n.mergeable && n.scratch && n.offset + n.length == offset) {
                n.length += int(length);
                return;
            }
        }
        const int node = newNode(Kind::text);
        Node &n = m_nodes[std::size_t(node)];
        n.scratch = true;
        n.offset = int(offset);
        n.length = int(length);
        n.mergeable = true;
        appendChild(node);
    }

    // Text that must stay a node of its own (delimiter runs and brackets).
    int appendFixedText(qsizetype offset, qsizetype length)
    {
        const int node = newNode(Kind::text);
        Node &n = m_nodes[std::size_t(node)];
        n.offset = int(offset);
        n.length = int(length);
        appendChild(node);
        return node;
    }

    int newTarget(QString url, QString title)
    {
        m_targets.push_back(Target{std::move(url), std::move(title)});
        return int(m_targets.size() - 1);
    }

    // --- inline constructs

    void backslash()
    {
        const char16_t next = at(m_pos + 1);
        if (m_pos + 1 < m_text.size() && isAsciiPunctuation(next)) {
            appendText(m_pos + 1, 1);
            m_pos += 2;
        } else if (isLineEnd(next)) {
            // A hard line break: the line end follows as text, the backslash goes.
            ++m_pos;
        } else {
            appendText(m_pos, 1);
            ++m_pos;
        }
    }

    // The start of the first run of exactly `length` backticks at or after `from`, or -1.
    qsizetype findTickRun(qsizetype length, qsizetype from)
    {
        if (!m_ticksScanned) {
            m_ticksScanned = true;
            const qsizetype n = m_text.size();
            for (qsizetype i = 0; i < n;) {
                if (m_text[i] != u'`') {
                    ++i;
                    continue;
                }
                qsizetype j = i;
                while (j < n && m_text[j] == u'`')
                    ++j;
                m_ticks[j - i].starts.push_back(i);
                i = j;
            }
        }
        const auto found = m_ticks.find(length);
        if (found == m_ticks.end())
            return -1;
        TickRuns &runs = found->second;
        // The parse position only moves forward, so the cursor does too.
        while (runs.cursor < runs.starts.size() && runs.starts[runs.cursor] < from)
            ++runs.cursor;
        return runs.cursor < runs.starts.size() ? runs.starts[runs.cursor] : -1;
    }

    void backticks()
    {
        const qsizetype start = m_pos;
        qsizetype end = start;
        while (end < m_text.size() && m_text[end] == u'`')
            ++end;
        const qsizetype length = end - start;
        const qsizetype closer = findTickRun(length, end);
        if (closer < 0) {
            appendText(start, length);
            m_pos = end;
            return;
        }
        qsizetype from = end;
        qsizetype to = closer;
        auto isCodeSpace = [](char16_t c) { return c == u' ' || isLineEnd(c); };
        if (to > from && isCodeSpace(m_text[from].unicode()) && isCodeSpace(m_text[to - 1].unicode())) {
            bool allSpace = true;
            for (qsizetype i = from; i < to && allSpace; ++i)
                allSpace = isCodeSpace(m_text[i].unicode());
            if (!allSpace) {
                from += (m_text[from] == u'\r' && m_text[from + 1] == u'\n') ? 2 : 1;
                to -= (m_text[to - 1] == u'\n' && m_text[to - 2] == u'\r') ? 2 : 1;
            }
        }
        const int node = newNode(Kind::code);
        m_nodes[std::size_t(node)].offset = int(from);
        m_nodes[std::size_t(node)].length = int(to - from);
        appendChild(node);
        m_pos = closer + length;
    }

    void reference()
    {
        const qsizetype scratchFrom = m_scratch.size();
        const qsizetype end = matchReference(m_text, m_pos, m_scratch);
        if (end < 0) {
            appendText(m_pos, 1);
            ++m_pos;
            return;
        }
        appendScratchText(scratchFrom);
        m_pos = end;
    }

    void autolink()
    {
        const qsizetype n = m_text.size();
        const qsizetype from = m_pos + 1;
        // <scheme:...>
        if (isAsciiLetter(at(from))) {
            qsizetype i = from + 1;
            while (i < n && i - from <= 32) {
                const char16_t c = m_text[i].unicode();
                if (!(isAsciiAlphanumeric(c) || c == u'+' || c == u'.' || c == u'-'))
                    break;
                ++i;
            }
            const qsizetype schemeLength = i - from;
            if (schemeLength >= 2 && schemeLength <= 32 && at(i) == u':') {
                ++i;
                while (i < n && !isAsciiControlOrSpace(m_text[i].unicode()) && m_text[i] != u'<' && m_text[i] != u'>')
                    ++i;
                if (at(i) == u'>' && i < n) {
                    makeAutolink(from, i, m_text.sliced(from, i - from).toString());
                    m_pos = i + 1;
                    return;
                }
            }
        }
        // <local@domain>
        qsizetype i = from;
        while (i < n && isEmailLocal(m_text[i].unicode()))
            ++i;
        if (i > from && at(i) == u'@') {
            ++i;
            while (true) {
                const qsizetype labelFrom = i;
                while (i < n && i - labelFrom <= 63 && (isAsciiAlphanumeric(m_text[i].unicode()) || m_text[i] == u'-'))
                    ++i;
                const qsizetype labelLength = i - labelFrom;
                if (labelLength < 1 || labelLength > 63 || m_text[labelFrom] == u'-' || m_text[i - 1] == u'-')
                    break;
                if (at(i) == u'.' && i < n) {
                    ++i;
                    continue;
                }
                if (at(i) == u'>' && i < n) {
                    makeAutolink(from, i, QStringLiteral("mailto:").append(m_text.sliced(from, i - from)));
                    m_pos = i + 1;
                    return;
                }
                break;
            }
        }
        appendText(m_pos, 1);
        ++m_pos;
    }

    static bool isEmailLocal(char16_t c)
    {
        if (isAsciiAlphanumeric(c))
            return true;
        switch (c) {
        case u'.': case u'!': case u'#': case u'$': case u'%': case u'&': case u'\'': case u'*': case u'+':
        case u'/': case u'=': case u'?': case u'^': case u'_': case u'`': case u'{': case u'|': case u'}':
        case u'~': case u'-': return true;
        default: return false;
        }
    }

    void makeAutolink(qsizetype from, qsizetype to, QString url)
    {
        const int link = newNode(Kind::link);
        m_nodes[std::size_t(link)].target = newTarget(std::move(url), QString());
        const int text = newNode(Kind::text);
        Node &t = m_nodes[std::size_t(text)];
        t.offset = int(from);
        t.length = int(to - from);
        Node &l = m_nodes[std::size_t(link)];
        l.first = l.last = text;
        appendChild(link);
        // Links do not nest, autolinks included: the brackets open around this one stay text.
        m_linkOpenersActiveFrom = m_brackets.size();
    }

    void delimiterRun(char16_t c)
    {
        const qsizetype start = m_pos;
        qsizetype end = start;
        while (end < m_text.size() && m_text[end] == c)
            ++end;
        m_pos = end;
        const int node = appendFixedText(start, end - start);
        if (c == u'~' && end - start != 2)
            return; // only a double tilde strikes through

        const char32_t before = codePointBefore(start);
        const char32_t after = codePointAt(end);
        const bool beforeSpace = isUnicodeWhitespace(before);
        const bool afterSpace = isUnicodeWhitespace(after);
        const bool beforePunct = isUnicodePunctuation(before);
        const bool afterPunct = isUnicodePunctuation(after);
        const bool leftFlanking = !afterSpace && (!afterPunct || beforeSpace || beforePunct);
        const bool rightFlanking = !beforeSpace && (!beforePunct || afterSpace || afterPunct);
        bool canOpen = leftFlanking;
        bool canClose = rightFlanking;
        if (c == u'_') {
            canOpen = leftFlanking && (!rightFlanking || beforePunct);
            canClose = rightFlanking && (!leftFlanking || afterPunct);
        }
        if (!canOpen && !canClose)
            return;
        Delimiter d;
        d.node = node;
        d.character = c;
        d.length = end - start;
        d.canOpen = canOpen;
        d.canClose = canClose;
        d.prev = m_lastDelimiter;
        m_delimiters.push_back(d);
        const int index = int(m_delimiters.size() - 1);
        if (m_lastDelimiter >= 0)
            m_delimiters[std::size_t(m_lastDelimiter)].next = index;
        m_lastDelimiter = index;
    }

    void removeDelimiter(int index)
    {
        Delimiter &d = m_delimiters[std::size_t(index)];
        if (d.prev >= 0)
            m_delimiters[std::size_t(d.prev)].next = d.next;
        if (d.next >= 0)
            m_delimiters[std::size_t(d.next)].prev = d.prev;
        else
            m_lastDelimiter = d.prev;
        d.prev = d.next = -1;
    }

    void openBracket(bool image, qsizetype length)
    {
        const int node = appendFixedText(m_pos, length);
        m_brackets.push_back(Bracket{node, image, m_lastDelimiter});
        m_pos += length;
    }

    void popBracket()
    {
        m_brackets.pop_back();
        m_linkOpenersActiveFrom = std::min(m_linkOpenersActiveFrom, m_brackets.size());
    }

    void closeBracket()
    {
        const qsizetype closeAt = m_pos;
        ++m_pos;
        if (m_brackets.empty()) {
            appendText(closeAt, 1);
            return;
        }
        const Bracket bracket = m_brackets.back();
        if (!bracket.image && m_brackets.size() - 1 < m_linkOpenersActiveFrom) {
            // A link opener inside a link that is already complete: links do not nest.
            popBracket();
            appendText(closeAt, 1);
            return;
        }
        QString url;
        QString title;
        const qsizetype end = inlineLinkTail(m_pos, url, title);
        if (end < 0) {
            popBracket();
            appendText(closeAt, 1);
            return;
        }
        processEmphasis(bracket.delimiterBottom);

        const int link = newNode(bracket.image ? Kind::image : Kind::link);
        m_nodes[std::size_t(link)].target = newTarget(std::move(url), std::move(title));
        // The link takes the place of the bracket's text and holds everything after it.
        const int opener = bracket.node;
        const int first = m_nodes[std::size_t(opener)].next;
        if (first >= 0) {
            Node &l = m_nodes[std::size_t(link)];
            l.first = first;
            l.last = root().last;
            m_nodes[std::size_t(first)].prev = -1;
            m_nodes[std::size_t(opener)].next = -1;
            root().last = opener;
        }
        unlinkFromRoot(opener);
        appendChild(link);

        popBracket();
        if (!bracket.image)
            m_linkOpenersActiveFrom = m_brackets.size();
        m_pos = end;
    }

    // Skips spaces and tabs with at most one line end among them.
    qsizetype skipSpacesAndOneLineEnd(qsizetype i) const
    {
        const qsizetype n = m_text.size();
        while (i < n && isSpaceOrTab(m_text[i].unicode()))
            ++i;
        if (i < n && isLineEnd(m_text[i].unicode())) {
            i += (m_text[i] == u'\r' && at(i + 1) == u'\n') ? 2 : 1;
            while (i < n && isSpaceOrTab(m_text[i].unicode()))
                ++i;
        }
        return i;
    }

    // Parses "(destination "title")" starting at text[i]; returns the index past ")" or -1.
    qsizetype inlineLinkTail(qsizetype i, QString &url, QString &title) const
    {
        const qsizetype n = m_text.size();
        if (at(i) != u'(' || i >= n)
            return -1;
        i = skipSpacesAndOneLineEnd(i + 1);
        const qsizetype destinationFrom = i;
        qsizetype destinationTo = i;
        if (at(i) == u'<' && i < n) {
            ++i;
            while (i < n) {
                const char16_t c = m_text[i].unicode();
                if (c == u'>' || c == u'<' || isLineEnd(c))
                    break;
                i += (c == u'\\' && i + 1 < n && isAsciiPunctuation(m_text[i + 1].unicode())) ? 2 : 1;
            }
            if (i >= n || m_text[i] != u'>')
                return -1;
            url = unescape(m_text.sliced(destinationFrom + 1, i - destinationFrom - 1));
            ++i;
            destinationTo = i;
        } else {
            int depth = 0;
            while (i < n) {
                const char16_t c = m_text[i].unicode();
                if (c == u'\\' && i + 1 < n && isAsciiPunctuation(m_text[i + 1].unicode())) {
                    i += 2;
                    continue;
                }
                if (c == u'(') {
                    if (++depth > 32)
                        return -1;
                } else if (c == u')') {
                    if (depth == 0)
                        break;
                    --depth;
                } else if (isAsciiControlOrSpace(c)) {
                    break;
                }
                ++i;
            }
            if (depth != 0)
                return -1;
            destinationTo = i;
            url = unescape(m_text.sliced(destinationFrom, destinationTo - destinationFrom));
        }
        const qsizetype titleFrom = skipSpacesAndOneLineEnd(destinationTo);
        i = titleFrom;
        const char16_t quote = at(i);
        if (titleFrom > destinationTo && i < n && (quote == u'"' || quote == u'\'' || quote == u'(')) {
            const char16_t close = quote == u'(' ? u')' : quote;
            qsizetype j = i + 1;
            bool closed = false;
            while (j < n) {
                const char16_t c = m_text[j].unicode();
                if (c == u'\\' && j + 1 < n && isAsciiPunctuation(m_text[j + 1].unicode())) {
                    j += 2;
                    continue;
                }
                if (c == close) {
                    closed = true;
                    break;
                }
                if (quote == u'(' && c == u'(')
                    break;
                if (isLineEnd(c)) {
                    // A title may span lines but not hold a blank line.
                    qsizetype k = j + ((c == u'\r' && at(j + 1) == u'\n') ? 2 : 1);
                    while (k < n && isSpaceOrTab(m_text[k].unicode()))
                        ++k;
                    if (k < n && isLineEnd(m_text[k].unicode()))
                        break;
                    j = k;
                    continue;
                }
                ++j;
            }
            if (closed) {
                title = unescape(m_text.sliced(i + 1, j - i - 1));
                i = skipSpacesAndOneLineEnd(j + 1);
            }
        }
        if (i >= n || m_text[i] != u')')
            return -1;
        return i + 1;
    }

    static int characterIndex(char16_t c) { return c == u'*' ? 0 : c == u'_' ? 1 : 2; }

    // Matches emphasis closers with openers above `bottom` (a delimiter index, or -1 for the whole
    // stack), then removes every delimiter above `bottom`.
    void processEmphasis(int bottom)
    {
        // openersBottom[character][closer can open][closer length % 3]: below this index no opener
        // can match such a closer, so later searches stop there.
        std::array<std::array<std::array<int, 3>, 2>, 3> openersBottom;
        for (auto &byCharacter : openersBottom)
            for (auto &byOpen : byCharacter)
                byOpen.fill(bottom);

        int current = -1;
        for (int d = m_lastDelimiter; d > bottom; d = m_delimiters[std::size_t(d)].prev)
            current = d;

        while (current >= 0) {
            const Delimiter &closer = m_delimiters[std::size_t(current)];
            if (!closer.canClose) {
                current = closer.next;
                continue;
            }
            int &openerBottom =
                openersBottom[std::size_t(characterIndex(closer.character))][closer.canOpen ? 1 : 0][std::size_t(closer.length % 3)];
            int opener = closer.prev;
            bool found = false;
            while (opener > bottom && opener > openerBottom) {
                const Delimiter &candidate = m_delimiters[std::size_t(opener)];
                if (candidate.character == closer.character && candidate.canOpen) {
                    const bool oddMatch = closer.character != u'~' && (candidate.canClose || closer.canOpen) &&
                                          closer.length % 3 != 0 && (candidate.length + closer.length) % 3 == 0;
                    if (!oddMatch) {
                        found = true;
                        break;
                    }
                }
                opener = candidate.prev;
            }
            if (found) {
                current = insertEmphasis(opener, current);
            } else {
                const int old = current;
                current = closer.next;
                openerBottom = closer.prev;
                if (!m_delimiters[std::size_t(old)].canOpen)
                    removeDelimiter(old);
            }
        }
        while (m_lastDelimiter > bottom)
            removeDelimiter(m_lastDelimiter);
    }

    // Wraps what lies between the opener's and the closer's text in an emphasis node; returns the
    // delimiter to continue with.
    int insertEmphasis(int opener, int closer)
    {
        const int openerNode = m_delimiters[std::size_t(opener)].node;
        const int closerNode = m_delimiters[std::size_t(closer)].node;
        const char16_t character = m_delimiters[std::size_t(closer)].character;
        int use = 2;
        if (character != u'~')
            use = (m_nodes[std::size_t(openerNode)].length >= 2 && m_nodes[std::size_t(closerNode)].length >= 2) ? 2 : 1;
        m_nodes[std::size_t(openerNode)].length -= use;
        m_nodes[std::size_t(closerNode)].offset += use;
        m_nodes[std::size_t(closerNode)].length -= use;

        const int emphasis = newNode(character == u'~' ? Kind::strikethrough : use == 2 ? Kind::strong : Kind::emphasis);
        const int first = m_nodes[std::size_t(openerNode)].next;
        Node &e = m_nodes[std::size_t(emphasis)];
        if (first != closerNode) {
            const int last = m_nodes[std::size_t(closerNode)].prev;
            e.first = first;
            e.last = last;
            m_nodes[std::size_t(first)].prev = -1;
            m_nodes[std::size_t(last)].next = -1;
        }
        e.prev = openerNode;
        e.next = closerNode;
        m_nodes[std::size_t(openerNode)].next = emphasis;
        m_nodes[std::size_t(closerNode)].prev = emphasis;

        for (int d = m_delimiters[std::size_t(closer)].prev; d != opener;) {
            const int prev = m_delimiters[std::size_t(d)].prev;
            removeDelimiter(d);
            d = prev;
        }
        if (m_nodes[std::size_t(openerNode)].length == 0) {
            unlinkFromRoot(openerNode);
            removeDelimiter(opener);
        }
        if (m_nodes[std::size_t(closerNode)].length == 0) {
            const int next = m_delimiters[std::size_t(closer)].next;
            unlinkFromRoot(closerNode);
            removeDelimiter(closer);
            return next;
        }
        return closer;
    }

    // --- output

    QStringView textOf(const Node &node) const
    {
        return node.scratch ? QStringView(m_scratch).sliced(node.offset, node.length)
                            : m_text.sliced(node.offset, node.length);
    }

    StyledText build()
    {
        QString text;
        text.reserve(m_text.size());
        std::vector<StyledText::Span> spans;
        struct Frame
        {
            int next;
            std::size_t span;
        };
        std::vector<Frame> stack;
        int current = root().first;
        while (true) {
            while (current < 0) {
                if (stack.empty())
                    return StyledText(std::move(text), std::move(spans));
                const Frame frame = stack.back();
                stack.pop_back();
                spans[frame.span].end = text.size();
                current = frame.next;
            }
            const Node &node = m_nodes[std::size_t(current)];
            if (node.kind == Kind::text) {
                text.append(textOf(node));
                current = node.next;
                continue;
            }
            StyledText::Span span;
            span.start = text.size();
            span.depth = int(stack.size());
            switch (node.kind) {
            case Kind::code: span.style = StyledText::Style::code; break;
            case Kind::emphasis: span.style = StyledText::Style::emphasis; break;
            case Kind::strong: span.style = StyledText::Style::strong; break;
            case Kind::strikethrough: span.style = StyledText::Style::strikethrough; break;
            case Kind::link: span.style = StyledText::Style::link; break;
            case Kind::image: span.style = StyledText::Style::image; break;
            case Kind::root:
            case Kind::text: break;
            }
            if (node.target >= 0) {
                span.url = m_targets[std::size_t(node.target)].url;
                span.title = m_targets[std::size_t(node.target)].title;
            }
            if (node.kind == Kind::code) {
                text.append(textOf(node));
                span.end = text.size();
                spans.push_back(std::move(span));
                current = node.next;
                continue;
            }
            spans.push_back(std::move(span));
            stack.push_back(Frame{node.next, spans.size() - 1});
            current = node.first;
        }
    }

    QStringView m_text;
    QString m_cleaned;
    QString m_scratch;
    qsizetype m_pos = 0;
    std::vector<Node> m_nodes;
    std::vector<Delimiter> m_delimiters;
    int m_lastDelimiter = -1;
    std::vector<Bracket> m_brackets;
    std::size_t m_linkOpenersActiveFrom = 0; // link openers below this bracket index are inactive
    std::vector<Target> m_targets;
    bool m_ticksScanned = false;
    std::unordered_map<qsizetype, TickRuns> m_ticks;
};

} // namespace

StyledText InlineParser::parse(QStringView text)
{
    if (text.size() > maximumLength)
        return StyledText(text.toString());
    return Parser(text).run();
}
