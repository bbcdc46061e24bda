#pragma once

#include <QString>

// Case-insensitive containment under the user's locale; diacritics and width stay significant.
class QueryMatcher
{
public:
    explicit QueryMatcher(const QString &query);
    bool matches(const QString &text) const;

private:
    QString m_query;
    bool m_localeLowering = false;
};
