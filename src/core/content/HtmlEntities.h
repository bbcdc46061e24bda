#pragma once

#include <QStringView>

// The HTML5 named character references, e.g. "amp" -> "&", "ngE" -> "≧̸".
class HtmlEntities
{
public:
    // The replacement text of a name given without "&" and ";", or a null view if the name is unknown.
    // Names are case-sensitive. The view points into static storage.
    static QStringView lookup(QStringView name);

    // The longest name in the table.
    static constexpr qsizetype maximumNameLength = 31;
};
