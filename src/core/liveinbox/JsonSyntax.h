#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Locates the first syntax error of a JSON text. Only used to explain a failed decode, so it favours
// clarity over speed.
class JsonSyntax
{
public:
    struct Error
    {
        std::size_t offset = 0; // byte offset of the first offending byte
        std::string reason;     // short lower-case phrase, e.g. "unexpected character"
    };

    // The first error, or an error with an empty reason when the text is one valid JSON document.
    static Error firstError(std::string_view text);
};
