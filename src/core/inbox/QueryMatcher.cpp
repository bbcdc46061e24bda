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
    Utf8Text::skipByteOrderMark(p, end);
    const char32_t first = m_folded.front();
    while (p < end) {
        char32_t c = 0;
        if (!Utf8Text::decode(p, end, c)) {
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
            if (!Utf8Text::decode(q, end, next)) {
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
