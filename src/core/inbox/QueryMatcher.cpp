#include "QueryMatcher.h"

#include <QChar>
#include <QLocale>

namespace {

char32_t fold(char32_t c)
{
    if (c < 0x80)
        return c >= U'A' && c <= U'Z' ? c + (U'a' - U'A') : c;
    return QChar::toCaseFolded(c);
}

// Decodes the code point at `p`, advancing it; false for an ill-formed sequence (overlong forms,
// surrogates, values above U+10FFFF, truncated or stray continuation bytes).
bool decode(const unsigned char *&p, const unsigned char *end, char32_t &out)
{
    const unsigned char lead = *p;
    if (lead < 0x80) {
        out = lead;
        ++p;
        return true;
    }
    int length = 0;
    char32_t value = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        value = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        value = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        value = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return false;
    }
    if (end - p < length)
        return false;
    for (int i = 1; i < length; ++i) {
        const unsigned char c = p[i];
        if (c < (i == 1 ? low : 0x80) || c > (i == 1 ? high : 0xBF))
            return false;
        value = (value << 6) | (c & 0x3F);
    }
    p += length;
    out = value;
    return true;
}

} // namespace

QueryMatcher::QueryMatcher(const QString &query)
{
    const QLocale locale;
    // Turkic languages map the dotted and dotless i differently from the default case folding.
    m_localeLowering = locale.language() == QLocale::Turkish || locale.language() == QLocale::Azerbaijani;
    m_query = m_localeLowering ? locale.toLower(query) : query;

    for (qsizetype i = 0; i < m_query.size(); ++i) {
        const QChar c = m_query.at(i);
        if (c.isHighSurrogate() && i + 1 < m_query.size() && m_query.at(i + 1).isLowSurrogate()) {
            m_folded += fold(QChar::surrogateToUcs4(c, m_query.at(i + 1)));
            ++i;
        } else if (c.isSurrogate()) {
            m_folded.clear();
            return;
        } else {
            m_folded += fold(c.unicode());
        }
    }
}

bool QueryMatcher::matches(const QString &text) const
{
    if (m_localeLowering)
        return QLocale().toLower(text).contains(m_query);
    return text.contains(m_query, Qt::CaseInsensitive);
}

bool QueryMatcher::matches(const Utf8Text &text) const
{
    if (!m_localeLowering && !m_folded.empty()) {
        bool decided = true;
        const bool found = containsFolded(text.view(), decided);
        if (decided)
            return found;
    }
    return matches(text.toString());
}

bool QueryMatcher::containsFolded(std::string_view text, bool &decided) const
{
    const auto *p = reinterpret_cast<const unsigned char *>(text.data());
    const auto *end = p + text.size();
    const char32_t first = m_folded.front();
    while (p < end) {
        char32_t c = 0;
        if (!decode(p, end, c)) {
            decided = false;
            return false;
        }
        if (fold(c) != first)
            continue;
        // A candidate: the rest of the query must follow.
        const unsigned char *q = p;
        std::size_t matched = 1;
        while (matched < m_folded.size() && q < end) {
            char32_t next = 0;
            if (!decode(q, end, next)) {
                decided = false;
                return false;
            }
            if (fold(next) != m_folded[matched])
                break;
            ++matched;
        }
        if (matched == m_folded.size())
            return true;
    }
    return false;
}
