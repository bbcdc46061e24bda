#pragma once

#include "records/Utf8Text.h"

#include <QString>

#include <string>
#include <string_view>

// Case-insensitive containment under the user's locale; diacritics and width stay significant.
class QueryMatcher
{
public:
    explicit QueryMatcher(const QString &query);
    bool matches(const QString &text) const;
    // The same rule as for the text's QString, read from its UTF-8 without decoding it into one.
    bool matches(const Utf8Text &text) const;

private:
    // Whether the folded query occurs in the well-formed UTF-8 `text`; false in `decided` when an
    // ill-formed sequence was met before an occurrence was found.
    bool containsFolded(std::string_view text, bool &decided) const;

    QString m_query;
    bool m_localeLowering = false;
    // The query's code points, case-folded; empty when the query holds a lone surrogate (which can match
    // half of a pair in UTF-16, and so is matched on the decoded text).
    std::u32string m_folded;
};
