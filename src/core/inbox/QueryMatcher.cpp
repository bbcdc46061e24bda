#include "QueryMatcher.h"

#include <QLocale>

QueryMatcher::QueryMatcher(const QString &query)
{
    const QLocale locale;
    // Turkic languages map the dotted and dotless i differently from the default case folding.
    m_localeLowering = locale.language() == QLocale::Turkish || locale.language() == QLocale::Azerbaijani;
    m_query = m_localeLowering ? locale.toLower(query) : query;
}

bool QueryMatcher::matches(const QString &text) const
{
    if (m_localeLowering)
        return QLocale().toLower(text).contains(m_query);
    return text.contains(m_query, Qt::CaseInsensitive);
}
