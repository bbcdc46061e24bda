#pragma once

#include <QString>

#include <string_view>

// Texts of the service's records arrive as UTF-8; the views read QStrings.
class RecordText
{
public:
    // The UTF-8 text as a QString (invalid sequences become replacement characters).
    static QString fromUtf8(std::string_view utf8);
};
